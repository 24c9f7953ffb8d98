-- What the game's screens and dialogs are built of: the shop's backdrop and
-- title lettering, the oval button with a centred label, and the cream panel
-- of a small dialog.

kOvalButtonImages = {
    "ui/buttons/oval_lt_blue_up.png",
    "ui/buttons/oval_lt_blue_down.png",
    "ui/buttons/oval_lt_blue_up.png",
}
kButtonFont = { "myriad_pro", 26, Color(20, 52, 96) }
kDialogFont = { "myriad_pro", 30, Color(74, 40, 20) }
kDialogX = 140
kDialogY = 220

-- The shop's backdrop over the whole screen, with the screen's windows on it.
-- Its size is the screen's, not the image's: an image that is small or does
-- not load must not clip the windows on it.
function Backdrop(windows)
    windows.name = "backdrop"
    windows.x = 0
    windows.y = 0
    windows.w = 800
    windows.h = 600
    windows.image = "ui/backgrounds/title_backdrop.png"
    return Bitmap(windows)
end

-- A line of the shop's gold title lettering across the screen.
function TitleText(name, label, y, height, size)
    return Text
    {
        name = name, x = 0, y = y, w = 800, h = height, label = label,
        font = { "edwardian_medium", size, Color(255, 224, 156) }, flags = kHAlignCenter + kVAlignCenter,
    }
end

-- A 220 by 60 oval button at (x, y) showing the label; the command runs
-- when it is pressed.
function OvalButton(name, x, y, label, command)
    return Button
    {
        name = name, x = x, y = y, graphics = kOvalButtonImages, command = command,
        Text
        {
            name = "label", x = 0, y = 0, w = 220, h = 60, label = label, font = kButtonFont,
            flags = kHAlignCenter + kVAlignCenter,
        },
    }
end

-- The 520 by 240 panel in the middle of the screen with a line of text at
-- its top and the given buttons.
function DialogPanel(name, label, buttons)
    local panel = {
        name = name, x = kDialogX, y = kDialogY, image = "ui/backgrounds/dialog_panel.png",
        Text
        {
            name = "message", x = 30, y = 36, w = 460, h = 90, label = label, font = kDialogFont,
            flags = kHAlignCenter + kVAlignCenter,
        },
    }
    table.foreachi(buttons, function(i, button) table.insert(panel, button) end)
    return Bitmap(panel)
end
