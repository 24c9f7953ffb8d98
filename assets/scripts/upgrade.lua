-- One upgrade's tab in the shop's list: its panel in the looks of an
-- offered, a hovered, a locked and a bought upgrade, and over every look
-- the thumbnail, the name, what it does, the price and the buy button.
local kUpgrades = "ui/upgrades/"
local kBuyImages = {
    kUpgrades .. "buy_up.png",
    kUpgrades .. "buy_down.png",
    kUpgrades .. "buy_over.png",
    kUpgrades .. "buy_disabled.png",
}

local function Look(layer, file)
    return Group { SelectLayer(layer), Bitmap { name = "tab_" .. file, x = 0, y = 0, image = kUpgrades .. "tab_" .. file .. ".png" } }
end

MakeDialog
{
    VUpgradeTab
    {
        name = "upgrade_tab", x = 0, y = 0, w = 290, h = 96,
        Look(0, "offered"),
        Look(1, "hover"),
        Look(3, "locked"),
        Look(4, "bought"),
        SelectLayer(kAllLayers),
        Bitmap { name = "img_thumbnail", x = 10, y = 16 },
        Text
        {
            name = "txt_header", x = 84, y = 6, w = 198, h = 26, font = { "myriad_pro", 21, Color(74, 40, 20) },
            flags = kHAlignLeft + kVAlignCenter,
        },
        Text
        {
            name = "txt_content", x = 84, y = 32, w = 198, h = 28, font = { "myriad_pro", 15, Color(96, 60, 36) },
            flags = kHAlignLeft + kVAlignCenter,
        },
        Text
        {
            name = "txt_price_shadow", x = 86, y = 64, w = 100, h = 28, font = { "myriad_pro", 24, Color(60, 30, 10) },
            flags = kHAlignLeft + kVAlignCenter,
        },
        Text
        {
            name = "txt_price", x = 84, y = 62, w = 100, h = 28, font = { "myriad_pro", 24, Color(255, 224, 156) },
            flags = kHAlignLeft + kVAlignCenter,
        },
        RDisableButton
        {
            name = "btn_buy_upgrade", x = 196, y = 62, graphics = kBuyImages,
            Text
            {
                name = "label", x = 0, y = 0, w = 84, h = 28, label = "upgrade_buy",
                font = { "myriad_pro", 18, Color(255, 250, 236) }, flags = kHAlignCenter + kVAlignCenter,
            },
        },
    },
}
