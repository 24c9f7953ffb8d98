-- The shop floor every location shares: the player, the stations with
-- their machines, the art every customer shows, the back wall's
-- decorations and the look of the money register's digits. Six counters
-- stand in a row at the top, each with its customer's place and the spot
-- where a paying customer's money shows; the island "station16" stands
-- mid-floor, and the machine places wait along the bottom, the mixer and
-- the press on theirs. Station points are those of zones/zones.xml.
-- Returns the function that makes a location's table (see the end).
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
        local file = kStationDir .. "counter_top_" .. state .. ".png"
        table.insert(asset, { state = state, file = file, regX = 52, regY = 14 })
    end
    return asset
end

-- Counters: the player faces away, towards the customer. Behind its top
-- each shows its piece of the location's counter row (see CounterRow).
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
-- the third, standing in front of the player who works them. Each has a
-- row of option buttons over it and its moving parts ("anim_") beside the
-- still ones ("static_") that show while it rests.
local kMachineDir = "shop/machines/"

local function Still(file, regX, regY)
    return { anim = false, { file = kMachineDir .. file .. ".png", regX = regX, regY = regY } }
end

local function Sheet(file)
    return { { file = kMachineDir .. file .. ".xml", anim = true } }
end

-- A sheet per option, in the states "option_0" to "option_2".
local function SheetByOption(prefix)
    local asset = Sheet(prefix .. "0")
    for option = 0, 2 do
        table.insert(asset, { state = "option_" .. option, file = kMachineDir .. prefix .. option .. ".xml", anim = true })
    end
    return asset
end

local function Part(x, y, asset)
    return { x = x, y = y, assets = { look = asset } }
end

-- An option button: its five looks, and its icon in the state of each of
-- the machine's options.
local function Options(icons)
    local selections = {}
    for id = 0, 2 do
        local button = Still("button", 11, 11)
        for _, look in ipairs({ "over", "on", "on_over", "disabled" }) do
            table.insert(button, { state = look, file = kMachineDir .. "button_" .. look .. ".png", regX = 11, regY = 11 })
        end
        local icon = { anim = false }
        for _, name in ipairs(icons) do
            table.insert(icon, { state = name, file = kMachineDir .. "icon_" .. name .. ".png", regX = 7, regY = 7 })
        end
        selections["button" .. (id + 1)] =
            { id = id, icon = icons[id + 1], x = -24 + 24 * id, y = -52, assets = { button = button, icon = icon } }
    end
    return selections
end

local function Machine(name, body, selections, children)
    return { [name] = { name = name, assets = { base = body }, selections = selections, children = children } }
end

stations.station_07.machines = Machine("mixer", Still("mixer_base", 36, 34), Options({ "dark", "milk", "white" }),
{
    anim_arm = Part(26, -24, Sheet("mixer_arm")),
    anim_tube = Part(-6, -18, SheetByOption("mixer_tube_")),
    anim_spray = Part(-6, -2, SheetByOption("mixer_spray_")),
    tank1 = Part(-10, -26, Still("mixer_tank_0", 5, 8)),
    tank2 = Part(1, -26, Still("mixer_tank_1", 5, 8)),
    tank3 = Part(12, -26, Still("mixer_tank_2", 5, 8)),
})
stations.station_09.machines = Machine("press", Sheet("press_base"), Options({ "bar", "truffle", "novelty" }),
{
    static_door = Part(-14, 12, Still("press_door_still", 2, 3)),
    anim_door = Part(-14, 12, Sheet("press_door")),
    static_largeweight = Part(0, -22, Still("press_weight_still", 16, 0)),
    anim_largeweight = Part(0, -22, Sheet("press_weight")),
    static_wheel = Part(-26, -24, Still("press_wheel_still", 9, 9)),
    anim_wheel = Part(-26, -24, Sheet("press_wheel")),
    anim_fill = Part(0, -8, Sheet("press_fill")),
})

-- The machines that add a layer: the ingredient machine on the second
-- place, the topping machine (the "decorator") on the fourth, the infuser
-- on the sixth. Their names sort before their stations', so that an
-- upgrade that brings one in resets it before its station counts it. The
-- ingredient machine's dials take the look of its highest ingredient.
local function Dials(still)
    local suffix = still and "_still.png" or ".xml"
    local asset = { anim = not still }
    for _, look in ipairs({ "default", "upgrade1", "upgrade2", "upgrade3" }) do
        local file = kMachineDir .. "ingredient_top_" .. look .. suffix
        table.insert(asset, { state = look, file = file, regX = 6, regY = 6, anim = not still })
    end
    return asset
end

local function Dial(x, still)
    return { x = x, y = -18, assets = { anim = Dials(still) } }
end

stations.station_08.machines = Machine("ingredient", Still("ingredient_base", 36, 34),
    Options({ "ingredient_0", "ingredient_1", "ingredient_2" }),
{
    anim_intro = Part(-12, -10, Sheet("ingredient_lid")),
    anim_pump = Part(18, -14, Sheet("ingredient_pump")),
    anim_top1 = Dial(-20, false),
    anim_top2 = Dial(-6, false),
    static_top1 = Dial(-20, true),
    static_top2 = Dial(-6, true),
})
stations.station_10.machines = Machine("decorator", Still("topping_base", 36, 34),
    Options({ "topping_0", "topping_1", "topping_2" }),
{
    anim_funnel = Part(0, -24, Sheet("topping_funnel")),
    anim_particles = Part(0, -8, Sheet("topping_particles")),
})
stations.station_12.machines = Machine("infuser", Still("infuser_base", 36, 34),
    Options({ "infusion_0", "infusion_1", "infusion_2" }),
{
    static_base = Part(0, -6, Still("infuser_vessel_still", 12, 13)),
    anim_base = Part(0, -6, Sheet("infuser_vessel")),
    static_top = Part(0, -30, Still("infuser_head_still", 14, 0)),
    anim_top_working = Part(0, -30, Sheet("infuser_head")),
    anim_door = Part(-14, 12, Sheet("press_door")),
})

-- The drink and sauce machines fill their bottles by themselves; the hidden
-- "bottle" is the pattern of every bottle they make.
local function Bottler(name, prefix, steam)
    local machine = Machine(name, Sheet(prefix .. "_base"), nil,
    {
        static_fill = Part(24, -10, Sheet(prefix .. "_fill")),
        anim_fill = Part(24, -10, Sheet(prefix .. "_fill")),
        static_dispenser = Part(-20, -20, Sheet(prefix .. "_dispenser")),
        anim_dispenser = Part(-20, -20, Sheet(prefix .. "_dispenser")),
        static_top = Part(0, -30, Sheet(prefix .. "_top")),
        anim_top = Part(0, -30, Sheet(prefix .. "_top")),
        anim_spray = Part(0, -12, Sheet(prefix .. "_spray")),
        bottle = { visible = false, x = 0, y = 20, assets = { look = Sheet(prefix .. "_bottle") } },
    })
    if steam then
        machine[name].children.anim_fill_steam = Part(0, -14, Sheet(prefix .. "_steam"))
    end
    return machine
end
stations.station_11.machines = Bottler("sauce", "sauce", false)
stations.station_13.machines = Bottler("drink", "drink", true)

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

-- The delivery station boxes chocolates for the airship; its bubble over
-- it shows the airship's order.
stations.station_14.machines = Machine("delivery", Sheet("delivery_base"), nil,
{
    anim_boxing_back = Part(0, -4, Sheet("delivery_back")),
    anim_boxing_front = Part(0, 0, Sheet("delivery_front")),
})
stations.station_14.machines.delivery.bubble =
    { x = -50, y = -80, assets = { bubble_single = Clouds(), transparent = { { file = "anim/transparent.xml" } } } }

-- The special stations show their "base" art; the player faces the
-- viewer at the bin and the shelf, away at the belt.
local function Special(number, kind, x, y, point, base)
    return
    {
        name = string.format("station%02d", number),
        stationID = number,
        stationType = kind,
        x = x,
        y = y,
        playerPoint = point,
        assets = { base = { { file = kStationDir .. base .. ".xml", anim = true } } },
    }
end

-- The bin "station15" by the first counter, its lid swinging open over it.
stations.station_15 = Special(15, 9, 30, 330, { "bin", 2 }, "disposal_base")
stations.station_15.children =
    { active = { assets = { lid = { { file = kStationDir .. "disposal_lid.xml", anim = true } } } } }

-- The display shelf by the right aisle, its places for two chocolates.
stations.station_17 = Special(17, 11, 770, 500, { "shelf", 2 }, "display_base")

-- The belt runs right to left along the counters, on a circle of radius
-- 2040 around (400, 2300) below the floor, and ends over the bin; the
-- counters lie on it in turn.
local beltStations = {}
local kCounterOnBelt = { 279.3, 266.9, 260.8, 260.8, 266.9, 279.3 }
for n = 1, 6 do
    table.insert(beltStations, string.format("station%02d", n))
    table.insert(beltStations, { 120 + 112 * (n - 1), kCounterOnBelt[n] })
end
stations.station_18 = Special(18, 12, 0, 0, { "conveyor", 3 }, "conveyor_base")
stations.station_18.arcCenter = { 400, 2300 }
stations.station_18.arcStart = { 740, 288.5 }
stations.station_18.arcEnd = { 50, 290.2 }
stations.station_18.arcVelocity = 5
stations.station_18.stations = beltStations

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

-- The back wall from the location's folder, in its plain look and in the
-- looks of the two decoration upgrades; the lamp and the picture come with
-- them, the clock and the steaming pot by the counter are always there.
local function Background(dir)
    return
    {
        spriteLayer = -1,
        assets =
        {
            background =
            {
                anim = false,
                Still(dir .. "wall"),
                Still(dir .. "wall_upgrade1", "upgrade1"),
                Still(dir .. "wall_upgrade2", "upgrade2"),
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
end

-- One digit of the money register: a gold figure in the shop's font,
-- centred in its box (flags 1 + 4).
local kDigit =
{
    w = 22,
    text =
    {
        figure = { w = 22, h = 32, font = { "myriad_pro", 28, { 1, 0.88, 0.61, 1 } }, flags = 5 },
    },
}

-- Each counter's piece of the location's counter row, behind its top,
-- whose top edge stands 62 pixels above the station's point.
local function CounterRow(file)
    local asset = { counter = { anim = false, { file = file, regX = 56, regY = 62 } } }
    for n = 1, 6 do
        stations[string.format("station_%02d", n)].children = { counter = { layer = -1, assets = asset } }
    end
end

-- A location's table from its key, which names its folder of wall and
-- counter art ("shop/background/<key>/"), its plot and its music, and from
-- the customers of that location only (made with posse.lua's Customer).
return function(key, customers)
    local dir = key .. "/"
    CounterRow(kBackgroundDir .. dir .. "counter.png")
    return
    {
        player = player,
        stations = stations,
        customers = customers,
        objects = objects,
        background = Background(dir),
        digit = kDigit,
        chocolates = ReadFile("scripts/shop/chocolates.lua"),
        plot = ReadFile("locations/" .. key .. "/plot.lua"),
        music_01 = "audio/music/" .. key .. ".ogg",
    }
end
