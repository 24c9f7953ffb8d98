-- What Play shows while the shop is being built.
ReadFile("scripts/dialogparts.lua")

-- Play is on the main menu: the note stays below its welcome lines.
local kBelowWelcome = 256

MakeDialog
{
    DialogPanel("shopsoon", "alert_shop_soon",
    {
        OvalButton("ok", 150, 150, "button_ok", function() CloseWindow() end, kPressedByEnterAndEscape),
    }, kBelowWelcome),
}
