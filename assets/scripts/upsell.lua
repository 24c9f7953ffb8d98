-- More games: two games to try, each opening its page in the browser.
ReadFile("scripts/dialogparts.lua")

MakeDialog
{
    VUpsellWindow
    {
        name = "upsell", x = 0, y = 0, image = "ui/backgrounds/title_backdrop.png",
        TitleText("title", "upsell_title", 60, 70, 52),
        OvalButton("game1", 290, 200, "upsell_game_1", function() LaunchGameLink(0) end),
        OvalButton("game2", 290, 290, "upsell_game_2", function() LaunchGameLink(1) end),
        OvalButton("back", 290, 480, "button_back", function() CloseWindow() end, kPressedByEnterAndEscape),
    },
}
SetupUpsell()
