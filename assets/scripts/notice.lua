-- A message about the player's saved data, gNoticeText, which the game sets
-- when it queues this dialog; OK closes it.
ReadFile("scripts/dialogparts.lua")

local kNoticeFont = { "myriad_pro", 20, Color(74, 40, 20) }

local panel = Bitmap
{
    name = "notice", x = kDialogX, y = kDialogY, image = "ui/backgrounds/dialog_panel.png",
    Text
    {
        name = "message", x = 30, y = 20, w = 460, h = 140, font = kNoticeFont,
        flags = kHAlignCenter + kVAlignCenter,
    },
    OvalButton("ok", 150, 165, "button_ok", function() CloseWindow() end),
}
-- Straight over the root, before the first screen: the shop stands behind it.
if GetWindowDepth() <= 2 then
    MakeDialog { Backdrop { panel } }
else
    MakeDialog { panel }
end
SetLabel("message", gNoticeText)
