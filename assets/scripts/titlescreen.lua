-- The title screen: the shop's name above its counter, with Play and Quit.
ReadFile("scripts/dialogparts.lua")

MakeDialog
{
    Backdrop
    {
        TitleText("title", "app_title", 96, 110, 64),
        Text
        {
            name = "tagline", x = 0, y = 220, w = 800, h = 40, label = "menu_tagline",
            font = { "myriad_pro", 24, Color(240, 214, 180) }, flags = kHAlignCenter + kVAlignCenter,
        },
        OvalButton("play", 290, 300, "menu_play", function() DoModal("scripts/shopsoon.lua") end),
        OvalButton("quit", 290, 380, "menu_quit", function() ReadFile("scripts/quitverify.lua") end, kPressedByEscape),
        Text
        {
            name = "version", x = 590, y = 572, w = 200, h = 24, label = "app_version",
            font = { "myriad_pro", 16, Color(236, 206, 166) }, flags = kHAlignRight + kVAlignCenter,
        },
    },
}
