-- What the game's screens and dialogs are built of: the shop's backdrop and
-- title sign, the oval button with a centred label, and the cream panel
-- of a small dialog.

-- The oval button's looks: normal, pressed, hovered, and disabled for the
-- buttons that have a disabled look.
kOvalButtonImages = {
    "ui/buttons/oval_lt_blue_up.png",
    "ui/buttons/oval_lt_blue_down.png",
    "ui/buttons/oval_lt_blue_over.png",
    "ui/buttons/oval_lt_blue_disabled.png",
}
kButtonFont = { "myriad_pro", 26, Color(20, 52, 96) }
kDialogFont = { "myriad_pro", 30, Color(74, 40, 20) }
kDialogX = 140
kDialogY = 220
-- The top of a dialog over the main menu: below its welcome lines.
kDialogBelowWelcome = 256

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

-- A line of the shop's gold title lettering on a dark sign across the middle
-- of the screen: on the awning's cream stripes alone it could not be read.
local kTitleBoardX = 70
local kTitleBoardWidth = 660
-- The sign image's corners, which keep their size as the sign stretches.
local kTitleBoardCorner = 24

function TitleText(name, label, y, height, size)
    return KSplit9Image
    {
        name = name .. "_board", x = kTitleBoardX, y = y, w = kTitleBoardWidth, h = height,
        image = "ui/backgrounds/title_board.png",
        x1 = kTitleBoardCorner, x2 = kTitleBoardCorner, y1 = kTitleBoardCorner, y2 = kTitleBoardCorner,
        Text
        {
            name = name, x = 0, y = 0, w = kTitleBoardWidth, h = height, label = label,
            font = { "edwardian_medium", size, Color(255, 224, 156) }, flags = kHAlignCenter + kVAlignCenter,
        },
    }
end

-- The keys that press a dialog's button as a click would: Enter the default
-- button, Escape the cancel button.
kPressedByEnter = { default = true }
kPressedByEscape = { cancel = true }
kPressedByEnterAndEscape = { default = true, cancel = true }

-- A 220 by 60 oval button at (x, y) showing the label; the command runs
-- when it is pressed, also by the keys given (one of the kPressedBy tables).
function OvalButton(name, x, y, label, command, keys)
    keys = keys or {}
    return Button
    {
        name = name, x = x, y = y, graphics = kOvalButtonImages, command = command,
        default = keys.default, cancel = keys.cancel,
        Text
        {
            name = "label", x = 0, y = 0, w = 220, h = 60, label = label, font = kButtonFont,
            flags = kHAlignCenter + kVAlignCenter,
        },
    }
end

-- A dialog's panel: a window of the class, as the description says, with
-- the centred text in its box { x, y, w, h } at the top (smaller when it
-- would not fit), then the given windows.
local function Panel(class, description, label, box, windows)
    table.insert(description, RShrinkText
    {
        name = "message", x = box[1], y = box[2], w = box[3], h = box[4], label = label, font = kDialogFont,
        flags = kHAlignCenter + kVAlignCenter,
    })
    table.foreachi(windows, function(i, window) table.insert(description, window) end)
    return class(description)
end

-- The 520 by 240 panel in the middle of the screen, or with its top at the
-- given height, with a line of text at its top and the given buttons.
function DialogPanel(name, label, buttons, top)
    local panel = { name = name, x = kDialogX, y = top or kDialogY, image = "ui/backgrounds/dialog_panel.png" }
    return Panel(Bitmap, panel, label, { 30, 36, 460, 90 }, buttons)
end

-- A lower dialog panel, 520 by kLowPanelHeight, drawn from the nine-slice
-- panel at (kDialogX, y): for dialogs over a screen whose lines must stay in
-- view.
kLowPanelHeight = 190

function LowDialogPanel(name, label, y, windows)
    local panel = {
        name = name, x = kDialogX, y = y, w = 520, h = kLowPanelHeight,
        image = "ui/backgrounds/split9_dialog_small.png", x1 = 24, x2 = 24, y1 = 24, y2 = 24,
    }
    return Panel(KSplit9Image, panel, label, { 30, 14, 460, 44 }, windows)
end
