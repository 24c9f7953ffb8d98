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
-- The story's levels, not endless mode.
local kStory = GetCurrentGameMode() == 0

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

-- The six locations in the order of their levels, ten levels each.
local kLocations = { "grytviken", "namche", "krakatoa", "kamchatka", "iquitos", "gaberoun" }
local locations = {}
for _, key in ipairs(kLocations) do
    locations[key] = ReadFile("scripts/shop/" .. key .. ".lua")
end

-- The location of the current level (the first before any is chosen); its
-- register digits are those of the level's location.
local function CurrentLocation()
    local index = 1
    while index < table.getn(kLocations) and GetCurrentLevel() > 10 * index do
        index = index + 1
    end
    return locations[kLocations[index]]
end
local location = CurrentLocation()

-- Endless mode counts the level's takings on a register under the clock.
local function EndlessRegister()
    if kStory then
        return function() end
    end
    return Board("register_board", 8, 40, 172, 36,
    {
        VRegister
        {
            name = "register", x = 20, y = 2, w = 6 * location.digit.w, h = 32, numDigits = 6,
            digit = location.digit,
        },
    })
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
        -- Room for the five figures of the last locations' scores. Endless
        -- mode has no goal, so its sign names none.
        HudText("goal_label", 78, 4, 36, 30, kHudSmallFont, kStory and "hud_goal" or nil),
        HudText("goal_score", 112, 4, 76, 30, kHudFont),
        HudText("mastery_label", 188, 4, 50, 30, kHudSmallFont, kStory and "hud_mastery" or nil),
        HudText("mastery_score", 238, 4, 74, 30, kHudFont),
    }),
    Board("extension", 652, 40, 140, 36,
    {
        HudText("anger_label", 14, 4, 60, 28, kHudSmallFont, "hud_angry"),
        HudText("anger_score", 76, 4, 56, 28, kHudFont),
    }),
    EndlessRegister(),
}

-- The active quests hang from the top edge between the two signs: their
-- names and progress over a panel that ends below the last line. A line is
-- cream while the goal is not reached, green once it holds, red when it
-- is past without holding.
local kQuestFont = { "myriad_pro", 16, Color(255, 240, 214) }
local kQuests = VQuestWindow
{
    name = "quest_window", x = 214, y = 0, w = 260, h = 80, marginY = 8,
    colors = { Color(255, 240, 214), Color(150, 230, 120), Color(255, 140, 120) },
    outlinecolor = Color(40, 20, 8), outlinesize = 1,
    Bitmap { name = "background", x = 0, y = 0, w = 260, h = 80, image = "shop/hud/quest_panel.png" },
    Text
    {
        name = "txt_quest_names", x = 12, y = 5, w = 136, h = 72, font = kQuestFont,
        flags = kHAlignLeft + kVAlignTop,
    },
    Text
    {
        name = "txt_quest_status", x = 148, y = 5, w = 100, h = 72, font = kQuestFont,
        flags = kHAlignRight + kVAlignTop,
    },
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
            location_grytviken = locations.grytviken,
            location_namche = locations.namche,
            location_krakatoa = locations.krakatoa,
            location_kamchatka = locations.kamchatka,
            location_iquitos = locations.iquitos,
            location_gaberoun = locations.gaberoun,
            posse = posse,
            tutorials = ReadFile("scripts/shop/tutorials.lua"),
            kHud,
            kQuests,
        },
    },
}

LevelSetup()
ReadyForPrelevel()
InsideGame(true)
