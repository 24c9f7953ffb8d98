-- The rewards screen: a medal for each achievement under a gift box lid,
-- which flies off once the screen is up. Medals not yet earned stay grey;
-- under the pointer a medal glows and a card with its title and
-- description fades in.
ReadFile("scripts/dialogparts.lua")

local kDir = "ui/rewards/"
-- Category, achievement and medal, in the order of the rows.
local kRewards =
{
    { "adventure", "first_sale", "default" }, { "adventure", "regulars", "default" },
    { "adventure", "famous_shop", "default" }, { "adventure", "master_chocolatier", "default" },
    { "adventure", "grytviken", "vandermoot_grytviken" }, { "adventure", "namche", "vandermoot_namche" },
    { "adventure", "krakatoa", "vandermoot_krakatoa" }, { "adventure", "kamchatka", "vandermoot_kamchatka" },
    { "adventure", "iquitos", "vandermoot_iquitos" }, { "adventure", "gaberoun", "vandermoot_gaberoun" },
    { "endless", "endless15", "vandermoot_endless15" }, { "endgame", "grand_master", "default" },
}
local kColumns = 4
local kBoxWidth = 270
local kBoxHeight = 104

local kHeaderStyle = { font = { "myriad_pro", 20, Color(92, 52, 28) }, margin = { 14, 10, 14, 0 }, flags = kHAlignLeft }
local kContentStyle = { font = { "myriad_pro", 17, Color(74, 40, 20) }, margin = { 14, 4, 14, 0 }, flags = kHAlignLeft }

-- The medal in its column and row, its card beside it within the screen:
-- below the medal, above it on the last row.
local function Reward(entry, column, row)
    local x = 130 + column * 180
    local y = 50 + row * 120
    local boxX = x - kBoxWidth / 2
    if boxX < 10 then
        boxX = 10
    elseif boxX > 790 - kBoxWidth then
        boxX = 790 - kBoxWidth
    end
    local boxY = y + 70
    if row == 2 then
        boxY = y - 40 - kBoxHeight
    end
    return {
        name = entry[2], category = entry[1], x = x, y = y, mouse = true,
        assets = { medal = { anim = false, { file = kDir .. "medal_" .. entry[3] .. ".png", regX = 32, regY = 32 } } },
        text =
        {
            caption =
            {
                x = -85, y = 34, w = 170, h = 26, label = "achievement_" .. entry[2] .. "_title",
                font = { "myriad_pro", 17, Color(240, 214, 180) }, flags = kHAlignCenter,
            },
        },
        boxX = boxX, boxY = boxY,
        box =
        {
            w = kBoxWidth, h = kBoxHeight, x1 = 24, x2 = 24, y1 = 24, y2 = 24, spriteLayer = 4,
            assets = { background = { anim = false, { file = "ui/backgrounds/split9_dialog_small.png" } } },
        },
        headerStyle = kHeaderStyle, contentStyle = kContentStyle,
    }
end

local rewards = {}
for row = 0, 2 do
    for column = 0, kColumns - 1 do
        local entry = kRewards[row * kColumns + column + 1]
        rewards["reward_" .. entry[2]] = Reward(entry, column, row)
    end
end

MakeDialog
{
    Backdrop
    {
        TitleText("title", "rewards_title", 24, 64, 48),
        VRewardsWindow
        {
            name = "reward_list", x = 0, y = 100, w = 800, h = 380, rewards = rewards,
            box_top =
            {
                x = 170, y = 30, spriteLayer = 6,
                assets = { lid = { anim = false, { file = kDir .. "top_box.png" } } },
            },
        },
        OvalButton("back", 290, 500, "button_back", function() CloseWindow() end, kPressedByEnterAndEscape),
    },
}
RewardWindowReady()
