-- What Play shows while the shop is being built.
ReadFile("scripts/dialogparts.lua")

MakeDialog
{
    DialogPanel("shopsoon", "alert_shop_soon",
    {
        OvalButton("ok", 150, 150, "button_ok", function() CloseWindow() end, kPressedByEnterAndEscape),
    }, kDialogBelowWelcome),
}
