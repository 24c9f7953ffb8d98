-- The pause dialog of a level: Resume goes back to the play.
ReadFile("scripts/dialogparts.lua")

MakeDialog
{
    DialogPanel("pause", "pause_title",
    {
        OvalButton("resume", 150, 150, "button_resume", function()
            InsideGame(true)
            CloseWindow()
        end, kPressedByEnterAndEscape),
    }),
}
