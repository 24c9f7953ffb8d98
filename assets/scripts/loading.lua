-- The level screen: the shop floor of the current level with its HUD, over
-- the floor picture, and the layer of floating texts in front of it. The
-- screen loads the level, asks for the pre-level shop, and the game counts
-- as played until the level closes.
ReadFile("scripts/dialogparts.lua")
-- The common customers first: the location's own kinds are made with them.
ReadFile("scripts/shop/posse.lua")

local kHudFont = { "myriad_pro", 22, Color(255, 224, 156) }
local kHudSmallFont = { "myriad_pro", 16, Color(236, 206, 166) }
local kHudBoard = "ui/backgrounds/title_board.png"
local kBoardCorner = 16

-- A dark sign of the HUD with its windows on it.
local function Board(name, x, y, w, h, windows)
    windows.name = name
    windows.x = x
    windows.y = y
    windows.w = w
    windows.h = h
    windows.image = kHudBoard
    windows.x1 = kBoardCorner
    windows.x2 = kBoardCorner
    windows.y1 = kBoardCorner
    windows.y2 = kBoardCorner
    return KSplit9Image(windows)
end

local function HudText(name, x, y, w, h, font, label, flags)
    return Text
    {
        name = name, x = x, y = y, w = w, h = h, font = font, label = label,
        flags = flags or kHAlignLeft + kVAlignCenter,
    }
end

local function GaugeIcon(file)
    return Bitmap { name = "gauge_" .. file, x = 0, y = 0, image = "shop/hud/gauge_" .. file .. ".png" }
end

-- Two low signs along the top edge, clear of the customers' thought
-- bubbles: on the left the sweep of the time left, the time and the level;
-- on the right the takings' dial and gauge and the goal and mastery scores;
-- below it the angry customers of endless mode.
local kHud = VShopHud
{
    name = "shop_hud", x = 0, y = 0, w = 800, h = 80,
    Board("clock_board", 8, 0, 200, 38,
    {
        KSweepDial
        {
            name = "timer_sweep", x = 8, y = 3, w = 32, h = 32, center_x = 16, center_y = 16,
            sweep = "shop/hud/clock_sweep.png", overlay = "shop/hud/clock_ring.png", startpos = 1,
        },
        RTimer
        {
            name = "game_timer", x = 46, y = 8, w = 64, h = 30, font = kHudFont,
            flags = kHAlignLeft + kVAlignCenter, isincrementing = false,
        },
        HudText("level_name", 110, 4, 84, 30, kHudSmallFont),
    }),
    Board("score_board", 480, 0, 312, 38,
    {
        Bitmap { name = "dial_face", x = 8, y = 3, image = "shop/hud/dial_face.png" },
        KDial
        {
            name = "dialPower", x = 8, y = 3, w = 32, h = 32, center_x = 16, center_y = 16,
            needle = "shop/hud/dial_needle.png", needle_regx = 2, needle_regy = 13, minrot = -1.5708, maxrot = 1.5708,
        },
        BLayeredWindow
        {
            name = "progress_gauge", x = 46, y = 5, w = 28, h = 28,
            SelectLayer(0), GaugeIcon("below"),
            SelectLayer(1), GaugeIcon("past"),
            SelectLayer(2), GaugeIcon("anger"),
        },
        HudText("goal_label", 80, 4, 40, 30, kHudSmallFont, "hud_goal"),
        HudText("goal_score", 118, 4, 70, 30, kHudFont),
        HudText("mastery_label", 190, 4, 56, 30, kHudSmallFont, "hud_mastery"),
        HudText("mastery_score", 244, 4, 66, 30, kHudFont),
    }),
    Board("extension", 652, 40, 140, 36,
    {
        HudText("anger_label", 14, 4, 60, 28, kHudSmallFont, "hud_angry"),
        HudText("anger_score", 76, 4, 56, 28, kHudFont),
    }),
}

MakeDialog
{
    Bitmap
    {
        name = "shop_floor", x = 0, y = 0, w = 800, h = 600, image = "shop/floor.png",
        -- Made first, the screen moves it in front of itself.
        RActiveTextLayer { name = "text_window", x = 0, y = 0, w = 800, h = 600 },
        ShopWindow
        {
            name = "shop", x = 0, y = 0, w = 800, h = 600,
            location_grytviken = ReadFile("scripts/shop/grytviken.lua"),
            posse = posse,
            tutorials = {},
            kHud,
        },
    },
}

LevelSetup()
ReadyForPrelevel()
InsideGame(true)
