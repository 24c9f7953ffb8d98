-- The main menu: the shop's name, the welcome line with the player's name
-- under it, and the buttons to play the story or endless mode, set
-- options, pick a player, read the help and the credits, see the rewards,
-- the scores and more games, and quit.
ReadFile("scripts/dialogparts.lua")

local kWelcomeFont = { "edwardian_medium", 40, Color(255, 224, 156) }
local kShadowFont = { "edwardian_medium", 40, Color(40, 20, 8) }

-- A line of welcome text with its shadow two pixels down and right.
local function ShadowedLine(name, y)
    return Group
    {
        Text
        {
            name = name .. "_shadow", x = 2, y = y + 2, w = 800, h = 48, font = kShadowFont,
            flags = kHAlignCenter + kVAlignCenter,
        },
        Text
        {
            name = name, x = 0, y = y, w = 800, h = 48, font = kWelcomeFont, flags = kHAlignCenter + kVAlignCenter,
        },
    }
end

-- The backdrop's chocolates: each waits for its delay, then slides in from
-- beyond the nearer side of the screen to its place, slowing down as it
-- arrives.
local kSlideTime = 450
local kSlowingDown = -2

local kBackdropObjects = {}

local function AddChocolate(name, kind, x, y, delay)
    table.insert(kBackdropObjects,
    {
        name = name, x = x < 400 and -40 or 840, y = y, mouse = false,
        assets = { chocolate = { anim = false, { file = "ui/chocolates/" .. kind .. ".png" } } },
        effects = { { type = "move", x = x, y = y, time = kSlideTime, accel = kSlowingDown, delay = delay } },
    })
end

-- On each side of the buttons an assortment of two columns by three rows,
-- the one the mirror of the other, coming in row by row, the inner column
-- first.
local kAssortment =
{
    { "round_dark", "heart_ruby" },
    { "square_white", "round_milk" },
    { "square_dark", "heart_dark" },
}
for row = 1, 3 do
    local y = 204 + row * 58
    for column = 1, 2 do
        local delay = (row - 1) * 140 + (2 - column) * 70
        local kind = kAssortment[row][column]
        AddChocolate("assortment_left_" .. row .. column, kind, -16 + column * 64, y, delay)
        AddChocolate("assortment_right_" .. row .. column, kind, 816 - column * 64, y, delay)
    end
end

-- Then two on the counter on each side, between the truffle piles and the
-- Quit button; centred this high, they stand on its top.
local kCounterY = 492
AddChocolate("counter_left_1", "round_dark", 250, kCounterY, 430)
AddChocolate("counter_right_1", "round_milk", 550, kCounterY, 430)
AddChocolate("counter_left_2", "heart_ruby", 185, kCounterY, 500)
AddChocolate("counter_right_2", "heart_ruby", 615, kCounterY, 500)

-- The story's map, and again each time a level's Next asks for it.
local function PlayStory()
    SetCurrentGameMode(0)
    repeat
        gBackToMap = false
        DoModal("scripts/worldmap.lua")
    until not gBackToMap
end

-- Endless mode once its difficulty is chosen: a pin starts its location.
local function PlayEndless()
    if DoModal("scripts/endless.lua") then
        DoModal("scripts/worldmap.lua")
    end
end

-- Players may have changed: the menu greets the current one.
local function ChoosePlayer()
    DoModal("scripts/chooseplayer.lua")
    SetWelcomeText()
end

MakeDialog
{
    TMainMenu
    {
        name = "mainmenu", x = 0, y = 0, w = 800, h = 600,
        Backdrop
        {
            VObjectWindow { name = "menu_backdrop", x = 0, y = 0, w = 800, h = 600, objects = kBackdropObjects },
            TitleText("title", "app_title", 20, 90, 60),
            Text
            {
                name = "tagline", x = 0, y = 116, w = 800, h = 32, label = "menu_tagline",
                font = { "myriad_pro", 22, Color(240, 214, 180) }, flags = kHAlignCenter + kVAlignCenter,
            },
            ShadowedLine("txt_welcome", 150),
            ShadowedLine("txt_user", 194),
            OvalButton("play", 160, 260, "menu_play", PlayStory),
            OvalButton("options", 420, 260, "menu_options", function() DoModal("scripts/options.lua") end),
            OvalButton("players", 160, 330, "menu_players", ChoosePlayer),
            OvalButton("help", 420, 330, "menu_help", function() DoModal("scripts/help.lua") end),
            OvalButton("credits", 160, 400, "menu_credits", function() DoModal("scripts/credits.lua") end),
            OvalButton("endless", 420, 400, "menu_endless", PlayEndless),
            OvalButton("moregames", 30, 540, "menu_moregames", function() DoModal("scripts/upsell.lua") end),
            OvalButton("rewards", 30, 480, "menu_rewards", function() DoModal("scripts/rewards.lua") end),
            OvalButton("quit", 290, 480, "menu_quit", function() ReadFile("scripts/quitverify.lua") end, kPressedByEscape),
            OvalButton("scores", 550, 480, "menu_scores", function() DoModal("scripts/hiscore.lua") end),
            Button
            {
                name = "mainmenu_debug_button", x = 0, y = 0, graphics = kOvalButtonImages, scale = 0.25,
                command = function() MainDebug() end,
            },
            Text
            {
                name = "version", x = 590, y = 572, w = 200, h = 24, label = "app_version",
                font = { "myriad_pro", 16, Color(236, 206, 166) }, flags = kHAlignRight + kVAlignCenter,
            },
        },
    },
}
