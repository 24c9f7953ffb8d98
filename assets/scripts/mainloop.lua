-- The first screen: the shop front laid out as plain windows (the title
-- band, the menu column and the counter) until the game's screens replace
-- it. The windows stay until the program ends.
MakeDialog
{
    Window
    {
        name = "frontscreen", x = 0, y = 0, w = 800, h = 600,
        Window { name = "titleband", x = 100, y = 40, w = 600, h = 120 },
        Window { name = "menucolumn", x = 275, y = 190, w = 250, h = 300 },
        Window { name = "counter", x = 0, y = 520, w = 800, h = 80 },
    },
}
