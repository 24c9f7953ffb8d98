-- The options: full screen, sound off and tips as check boxes, the effects
-- and music volumes as sliders with bars that fill as they move. Done keeps
-- the volumes.
ReadFile("scripts/dialogparts.lua")

local kCheckBoxImages = {
    "ui/buttons/check_off.png",
    "ui/buttons/check_on.png",
    "ui/buttons/check_off_over.png",
    "ui/buttons/check_on_over.png",
}
local kLabelFont = { "myriad_pro", 26, Color(255, 236, 200) }

local function Label(name, x, y, label)
    return Text { name = name, x = x, y = y, w = 200, h = 40, label = label, font = kLabelFont, flags = kVAlignCenter }
end

-- A check box at (x, y) with its label to the right; the label is part of
-- the button, so a click on it toggles the box too.
local function CheckBox(name, x, y, label, command)
    return Button
    {
        name = name, x = x, y = y, type = kToggle, graphics = kCheckBoxImages, command = command, fit = true,
        Label("label", 50, 0, label),
    }
end

-- A volume slider: its fill bar lies in a groove and shows through the rail,
-- ending under the thumb's middle (the rail runs 12 pixels high through the
-- middle of the 36-pixel thumb).
local function Volume(slider, fill, y, label)
    return Group
    {
        Label(slider .. "_label", 150, y, label),
        Bitmap { name = slider .. "_groove", x = 350, y = y + 12, image = "ui/options/groove.png" },
        Bitmap { name = fill, x = 352, y = y + 12, image = "ui/options/fill_bar.png" },
        Slider
        {
            name = slider, x = 350, y = y, w = 220, h = 40, railtop = "ui/options/rail_left.png",
            railmid = "ui/options/rail_mid.png", railbot = "ui/options/rail_right.png",
            sliderimage = "ui/options/thumb.png", sliderrollimage = "ui/options/thumb_over.png",
        },
    }
end

MakeDialog
{
    TOptions
    {
        name = "options", x = 0, y = 0, w = 800, h = 600,
        Backdrop
        {
            TitleText("title", "options_title", 60, 70, 52),
            CheckBox("options_fullscreen_checkbox", 150, 170, "options_fullscreen", function() ToggleFullScreen() end),
            CheckBox("options_muteall_checkbox", 150, 230, "options_mute", function() ToggleSoundMute() end),
            CheckBox("options_tutorials_checkbox", 150, 290, "options_tutorials"),
            Volume("options_sfxlevel_slider", "sound_fill", 360, "options_effects"),
            Volume("options_musiclevel_slider", "music_fill", 420, "options_music"),
            OvalButton("done", 290, 500, "button_done", function()
                SaveVolumes()
                CloseWindow()
            end, kPressedByEnterAndEscape),
        },
    },
}
