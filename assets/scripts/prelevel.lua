-- The upgrade shop before a level: the level's scene at half size on the
-- right, the three categories over the list of upgrades on the left, and
-- Buy all and Done below. Done ends the previews, lets the level follow
-- what was bought, and closes the shop.
ReadFile("scripts/dialogparts.lua")

local kUpgrades = "ui/upgrades/"
local kCategoryImages = {
    kUpgrades .. "category_off.png",
    kUpgrades .. "category_on.png",
    kUpgrades .. "category_over.png",
    kUpgrades .. "category_disabled.png",
}

-- A category's radio button; the shop switches the list when it is pressed.
local function Category(name, x, label, first)
    return RDisableButton
    {
        name = name, x = x, y = 84, type = kRadio, graphics = kCategoryImages, beginGroup = first,
        Text
        {
            name = "label", x = 0, y = 0, w = 100, h = 36, label = label,
            font = { "myriad_pro", 20, Color(255, 236, 200) }, flags = kHAlignCenter + kVAlignCenter,
        },
    }
end

MakeDialog
{
    VPrelevelWindow
    {
        name = "prelevel", x = 0, y = 0, w = 800, h = 600, image = "ui/backgrounds/title_backdrop.png",
        TitleText("upgrades_title", "upgrades_title", 8, 64, 44),
        Category("toggle_upgrades_gameplay", 20, "upgrades_station", true),
        Category("toggle_upgrades_aesthetic", 125, "upgrades_aesthetic"),
        Category("toggle_upgrades_player", 230, "upgrades_gameplay"),
        VUpgradeList
        {
            name = "upgrade_list", x = 20, y = 128, w = 312, h = 388,
            Slider
            {
                name = "upgrade_slider", x = 294, y = 0, w = 18, h = 388, hslider = false,
                railtop = kUpgrades .. "rail_top.png", railmid = kUpgrades .. "rail_mid.png",
                railbot = kUpgrades .. "rail_bottom.png", sliderimage = kUpgrades .. "slider_thumb.png",
                sliderrollimage = kUpgrades .. "slider_thumb_over.png",
            },
        },
        Text
        {
            name = "upgrades_hint", x = 342, y = 404, w = 400, h = 60, label = "upgrades_hint",
            font = { "myriad_pro", 22, Color(255, 236, 200) }, flags = kHAlignCenter + kVAlignCenter,
        },
        OvalButton("btn_buy", 50, 528, "upgrades_buy_all"),
        OvalButton("done", 530, 528, "button_done", function()
            Close()
            CloseWindow()
        end, kPressedByEnterAndEscape),
    },
}
