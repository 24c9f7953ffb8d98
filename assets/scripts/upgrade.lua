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

-- A line of the tab's text, left-aligned.
local function TabText(name, x, y, w, h, size, colour)
    return Text
    {
        name = name, x = x, y = y, w = w, h = h, font = { "myriad_pro", size, colour }, flags = kHAlignLeft + kVAlignCenter,
    }
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
        TabText("txt_header", 84, 6, 198, 26, 21, Color(74, 40, 20)),
        TabText("txt_content", 84, 32, 198, 28, 15, Color(96, 60, 36)),
        -- The price over its shadow.
        TabText("txt_price_shadow", 86, 64, 100, 28, 24, Color(60, 30, 10)),
        TabText("txt_price", 84, 62, 100, 28, 24, Color(255, 224, 156)),
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
