-- The shop floor of the first location: the player and the stations. Six
-- counters stand in a row at the top, each with its customer's place and
-- the spot where a paying customer's money shows; the island "station16"
-- stands mid-floor, and the machine places wait along the bottom, still
-- empty. Station points are those of zones/zones.xml.
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

player =
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

stations = {}

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
