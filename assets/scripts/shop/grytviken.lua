-- The first location's shop floor. Runs after "posse.lua", whose Customer
-- makes a customer kind.
local kDir = "shop/customers/"

-- The thought bubble's cloud, in the colour of the customer's mood, with
-- the points its items sit on.
local function Clouds()
    local asset = { { file = kDir .. "bubble_happy.xml" } }
    for _, mood in ipairs({ "happy", "content", "neutral", "annoyed", "angry" }) do
        table.insert(asset, { state = mood, file = kDir .. "bubble_" .. mood .. ".xml" })
    end
    return asset
end

return
{
    -- The customers of this location only.
    customers =
    {
        fisher = Customer("fisher", 100000, 90),
        scientist = Customer("scientist", 120000, 150),
    },

    -- What every customer shows: its thought bubble (the bubble itself is
    -- clear; its clouds carry the items), the menu card (the open card is
    -- its second frame), the money on the counter (coins in "dollar") and
    -- the sauce and drink items.
    objects =
    {
        thought_bubble = { assets = { bubble_single = Clouds(), transparent = { { file = "anim/transparent.xml" } } } },
        anim_menu = { assets = { menu = { { file = kDir .. "menu_card.xml" } } } },
        anim_money =
        {
            assets =
            {
                money =
                {
                    anim = false,
                    { file = kDir .. "coin_pile.png", regX = 18, regY = 22 },
                    { state = "dollar", file = kDir .. "coin.png", regX = 11, regY = 12 },
                },
            },
        },
        orderables =
        {
            assets =
            {
                sauce = { anim = false, { file = kDir .. "sauce_bottle.png" } },
                drink = { anim = false, { file = kDir .. "drink_cup.png" } },
            },
        },
    },
}
