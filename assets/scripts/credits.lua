-- The credits: the team's roles and names scrolling up over the backdrop,
-- the program's version under them, and Back.
ReadFile("scripts/dialogparts.lua")

MakeDialog
{
    Backdrop
    {
        TitleText("title", "credits_title", 30, 70, 52),
        -- Before the credits: they fill it in once they are made.
        Text
        {
            name = "credits_version", x = 0, y = 456, w = 800, h = 24, font = { "myriad_pro", 18, Color(236, 206, 166) },
            flags = kHAlignCenter + kVAlignCenter,
        },
        TCredits
        {
            name = "credits", x = 80, y = 110, w = 640, h = 340, file = "credits.txt", font = "myriad_pro",
            fontsize = 24, columngap = 20, columnwidth = 290, time = 24000, intropause = 2000,
            fontcolor = Color(240, 214, 180), headercolor = Color(255, 224, 156),
        },
        OvalButton("back", 290, 500, "button_back", function() CloseWindow() end, kPressedByEnterAndEscape),
    },
}
