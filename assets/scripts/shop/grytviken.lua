-- The shop floor of the first location: the player, the stations, the
-- customers of this location only, the art every customer shows, the
-- chocolates on offer and the music; returned as the location's table. Runs
-- after "posse.lua", whose Customer makes a customer kind. Six
-- counters stand in a row at the top, each with its customer's place and
-- the spot where a paying customer's money shows; the island "station16"
-- stands mid-floor, and the machine places wait along the bottom, the
-- mixer and the press on theirs. Station points are those of
-- zones/zones.xml. Also the back wall with its decorations, and the look of
-- the money register's digits.
local kPlayerDir = "shop/player/"

local function Walk(name)
    return { { file = kPlayerDir .. name .. ".xml", anim = true } }
end

-- An arm's walk in its two states: hanging, and held out to carry.
local function ArmWalk(arm, name)
    return {
        { file = kPlayerDir .. arm .. "_" .. name .. ".xml", anim = true },
        { state = "carry", file = kPlayerDir .. arm .. "_" .. name .. "_carry.xml", anim = true },
    }
end

local function Arm(arm)
    return {
        spriteLayer = 1,
        assets = { walkright = ArmWalk(arm, "walkright"), walkfront = ArmWalk(arm, "walkfront"),
                   walkback = ArmWalk(arm, "walkback") },
    }
end

local function Idle(name)
    return { assets = { idle = Walk(name) } }
end

local player =
{
    startZone = "avatar",
    startPoint = "start",
    -- A little larger at the front of the floor than by the counters.
    baseY = 330,
    rangeY = 170,
    scaleRange = 0.12,
    assets = { walkright = Walk("walkright"), walkfront = Walk("walkfront"), walkback = Walk("walkback") },
    children =
    {
        left_arm = Arm("left_arm"),
        right_arm = Arm("right_arm"),
        idle_wave = Idle("idle_wave"),
        idle_stretch = Idle("idle_stretch"),
    },
}

local stations = {}

-- The counter top in its plain look and in those of the station upgrades,
-- standing a little in front of the customer behind it.
local kStationDir = "shop/stations/"
local function Tabletop()
    local asset = { anim = false, { file = kStationDir .. "counter_top.png", regX = 52, regY = 14 } }
    for _, state in ipairs({ "upgrade1", "upgrade2" }) do
        table.insert(asset, { state = state, file = kStationDir .. "counter_top_" .. state .. ".png", regX = 52, regY = 14 })
    end
    return asset
end

-- Counters: the player faces away, towards the customer.
for n = 1, 6 do
    local x = 120 + 112 * (n - 1)
    stations[string.format("station_%02d", n)] =
    {
        name = string.format("station%02d", n),
        stationID = n,
        stationType = 1,
        x = x,
        y = 250,
        playerPoint = { string.format("counter%02d", n), 3 },
        custPoint = string.format("customer%02d", n),
        money = { x + 30, 232 },
        assets = { tabletop = Tabletop() },
    }
end

stations.station_16 =
{
    name = "station16",
    stationID = 16,
    x = 400,
    y = 420,
    playerPoint = "station16",
}

-- Machine places by kind: mixer, ingredient, press, topping, sauce,
-- infusion, drink and the delivery; the player faces the viewer there.
local kMachineKinds = { 2, 3, 4, 5, 6, 7, 8, 10 }
for place, kind in ipairs(kMachineKinds) do
    stations[string.format("station_%02d", 6 + place)] =
    {
        name = string.format("station%02d", 6 + place),
        stationID = 6 + place,
        stationType = kind,
        x = 100 + 86 * (place - 1),
        y = 560,
        playerPoint = { string.format("machine%02d", place), 2 },
    }
end

-- The machines on their places, each named after its key, which no other
-- machine of the floor shares: the mixer on the first place, the press on
-- the third, standing in front of the player who works them.
local function Machine(name)
    local body = { anim = false, { file = "shop/machines/" .. name .. "_base.png", regX = 36, regY = 34 } }
    return { [name] = { name = name, assets = { base = body } } }
end
stations.station_07.machines = Machine("mixer")
stations.station_09.machines = Machine("press")

local kCustomerDir = "shop/customers/"

-- The thought bubble's cloud, in the colour of the customer's mood, with
-- the points its items sit on.
local function Clouds()
    local asset = { { file = kCustomerDir .. "bubble_happy.xml" } }
    for _, mood in ipairs({ "happy", "content", "neutral", "annoyed", "angry" }) do
        table.insert(asset, { state = mood, file = kCustomerDir .. "bubble_" .. mood .. ".xml" })
    end
    return asset
end

-- The customers of this location only.
local customers =
{
    fisher = Customer("fisher", 100000, 90),
    scientist = Customer("scientist", 120000, 150),
}

-- What every customer shows: its thought bubble (the bubble itself is
-- clear; its clouds carry the items), the menu card (the open card is its
-- second frame), the money on the counter (coins in "dollar") and the
-- sauce and drink items.
local objects =
{
    thought_bubble = { assets = { bubble_single = Clouds(), transparent = { { file = "anim/transparent.xml" } } } },
    anim_menu = { assets = { menu = { { file = kCustomerDir .. "menu_card.xml" } } } },
    anim_money =
    {
        assets =
        {
            money =
            {
                anim = false,
                { file = kCustomerDir .. "coin_pile.png", regX = 18, regY = 22 },
                { state = "dollar", file = kCustomerDir .. "coin.png", regX = 11, regY = 12 },
            },
        },
    },
    orderables =
    {
        assets =
        {
            sauce = { anim = false, { file = kCustomerDir .. "sauce_bottle.png" } },
            drink = { anim = false, { file = kCustomerDir .. "drink_cup.png" } },
        },
    },
}

local kBackgroundDir = "shop/background/"

-- A still picture of a state (the first state when none is given), placed
-- by its top left corner or by the point given.
local function Still(name, state, regX, regY)
    return { state = state, file = kBackgroundDir .. name .. ".png", regX = regX or 0, regY = regY or 0 }
end

-- The back wall in its plain look and in the looks of the two decoration
-- upgrades; the lamp and the picture come with them, the clock and the
-- steaming pot by the counter are always there.
local background =
{
    spriteLayer = -1,
    assets =
    {
        background =
        {
            anim = false,
            Still("wall"),
            Still("wall_upgrade1", "upgrade1"),
            Still("wall_upgrade2", "upgrade2"),
        },
    },
    statics =
    {
        lamp = { upgrade = "kBackground1", category = "aesthetic", x = 300, y = 0,
                 assets = { lamp = { anim = false, Still("lamp", nil, 30, 0) } } },
        picture = { upgrade = "kBackground2", category = "aesthetic", x = 500, y = 22,
                    assets = { picture = { anim = false, Still("picture", nil, 48, 0) } } },
    },
    anims =
    {
        clock = { continuous = true, x = 400, y = 4, assets = { clock = { { file = kBackgroundDir .. "clock.xml" } } } },
        steam = { continuous = true, x = 26, y = 188, assets = { steam = { { file = kBackgroundDir .. "steam.xml" } } } },
    },
}

-- One digit of the money register: a gold figure in the shop's font,
-- centred in its box (flags 1 + 4).
local digit =
{
    w = 22,
    text =
    {
        figure = { w = 22, h = 32, font = { "myriad_pro", 28, { 1, 0.88, 0.61, 1 } }, flags = 5 },
    },
}

return
{
    player = player,
    stations = stations,
    customers = customers,
    objects = objects,
    background = background,
    digit = digit,
    chocolates = ReadFile("scripts/shop/chocolates.lua"),
    music_01 = "audio/music/grytviken.ogg",
}
