-- More games: two games to try, each opening its page in the browser.
ReadFile("scripts/dialogparts.lua")

MakeDialog
{
    VUpsellWindow
    {
        name = "upsell", x = 0, y = 0, image = "ui/backgrounds/title_backdrop.png",
        Text
        {
            name = "title", x = 0, y = 60, w = 800, h = 70, label = "upsell_title",
            font = { "edwardian_medium", 52, Color(255, 224, 156) }, flags = kHAlignCenter + kVAlignCenter,
        },
        OvalButton("game1", 290, 200, "upsell_game_1", function() LaunchGameLink(0) end),
        OvalButton("game2", 290, 290, "upsell_game_2", function() LaunchGameLink(1) end),
        OvalButton("back", 290, 480, "button_back", function() CloseWindow() end),
    },
}
SetupUpsell()
