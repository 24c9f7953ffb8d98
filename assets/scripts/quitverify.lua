-- Asks whether to quit: Yes quits the game, No goes back to it. Run by the
-- game on a close request and by the Quit button; it does not wait, since
-- it may run inside a file read, and the main coroutine hands the dialog
-- its messages. It stands where the main menu's welcome lines stay in view.
ReadFile("scripts/dialogparts.lua")

local function QuitNow()
    SetQuitting(true)
    PostMessage(CreateNamedMessage(kQuitNow, "quit"))
end

PushModal("quitverify")
MakeDialog
{
    DialogPanel("quitverify", "quit_question",
    {
        OvalButton("yes", 30, 150, "button_yes", QuitNow, kPressedByEnter),
        OvalButton("no", 270, 150, "button_no", function() CloseWindow() end, kPressedByEscape),
    }, kDialogBelowWelcome),
}
DoFitToChildren()
