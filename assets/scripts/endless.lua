-- Endless mode's difficulty: Easy, Medium or Hard in a row, Medium in the
-- middle; the choice sets the mode and the difficulty and returns true,
-- Back returns nothing.
ReadFile("scripts/dialogparts.lua")

local function Choose(mode)
    return function()
        SetCurrentDifficulty(mode - 1)
        SetCurrentGameMode(mode)
        CloseWindow(true)
    end
end

MakeDialog
{
    Backdrop
    {
        TitleText("endless_title", "endless_title", 150, 80, 54),
        Text
        {
            name = "endless_text", x = 100, y = 250, w = 600, h = 100, label = "endless_text",
            font = { "myriad_pro", 26, Color(255, 236, 210) }, flags = kHAlignCenter + kVAlignCenter,
        },
        OvalButton("easy", 50, 390, "endless_easy", Choose(1)),
        OvalButton("medium", 290, 390, "endless_medium", Choose(2), kPressedByEnter),
        OvalButton("hard", 530, 390, "endless_hard", Choose(3)),
        OvalButton("back", 290, 480, "button_back", function() CloseWindow() end, kPressedByEscape),
    },
}
