-- The pop-up of achievements just earned, in the top right corner: a dark
-- board that slides in from the right, one item per achievement (its medal,
-- title and description), and slides out again. The achievement manager
-- fills it.
local kDir = "ui/rewards/"
local kMedalKeys =
{
    "vandermoot_grytviken", "vandermoot_namche", "vandermoot_krakatoa", "vandermoot_kamchatka",
    "vandermoot_iquitos", "vandermoot_gaberoun", "vandermoot_endless15",
}
local kWidth = 300

local function Medals()
    local asset = { anim = false, { file = kDir .. "medal_default.png", regX = 32, regY = 32 } }
    for _, key in ipairs(kMedalKeys) do
        table.insert(asset, { state = key, file = kDir .. "medal_" .. key .. ".png", regX = 32, regY = 32 })
    end
    return asset
end

MakeDialog
{
    VRewardNotify
    {
        name = "reward_notify", x = 800 - kWidth - 10, y = 10, w = kWidth, h = 80,
        transition = 300, duration = 5000, spacing = 0,
        background =
        {
            x = kWidth, y = 0, w = kWidth, h = 80, x1 = 24, x2 = 24, y1 = 24, y2 = 24,
            assets = { background = { anim = false, { file = "ui/backgrounds/title_board.png" } } },
        },
        item =
        {
            x = 0, y = 10, w = kWidth, h = 55,
            children = { icon = { x = 42, assets = { icon = Medals() } } },
            text =
            {
                header =
                {
                    x = 80, y = 4, w = kWidth - 96, h = 24, font = { "myriad_pro", 20, Color(255, 224, 156) },
                    flags = kHAlignLeft + kVAlignTop,
                },
                description =
                {
                    x = 80, y = 28, w = kWidth - 96, h = 40, margin = { 0, 0, 96, 6 },
                    font = { "myriad_pro", 16, Color(240, 214, 180) }, flags = kHAlignLeft + kVAlignTop,
                },
            },
        },
    },
}
