-- The world map: a pin on each location's island, which opens to show the
-- location's ten level globes (cleared, mastered, the one to play, or
-- locked) in a ring, with a panel of the hovered level's best score, goal
-- and mastery. A globe's press makes its level current and the map runs
-- CloseWorldMap, which opens the level screen. When a level opened a new
-- location, dots mark the way from the last one before its pin appears.
-- Menu (Escape) goes back to the main menu.
ReadFile("scripts/dialogparts.lua")

local kDir = "ui/map/"
-- In story order; the keys sort in the same order, which the map follows
-- when it looks for the location to play.
local kLocations =
{
    { key = "pin1_grytviken", x = 140, y = 420 },
    { key = "pin2_namche", x = 250, y = 190 },
    { key = "pin3_krakatoa", x = 410, y = 400 },
    { key = "pin4_kamchatka", x = 540, y = 150 },
    { key = "pin5_iquitos", x = 640, y = 410 },
    { key = "pin6_gaberoun", x = 700, y = 260 },
}
local kLevelsPerLocation = 10
local kGlobeRing = 80
-- The map places a globe this far up and left of where its description says.
local kGlobeShiftX = 67
local kGlobeShiftY = 125
local kBoxWidth = 190
local kBoxHeight = 128
local kDotSpacing = 22
-- Dots this close to a pin are left out; farther than kShore they are at sea.
local kPinClearance = 34
local kShore = 70

local kLabelFont = { "myriad_pro", 18, Color(74, 40, 20) }
local kFigureFont = { "myriad_pro", 18, Color(122, 52, 30) }

local function Image(file, regX, regY)
    return { anim = false, { file = kDir .. file, regX = regX, regY = regY } }
end

-- Ten globes in a ring round the pin, the first at the top, going
-- clockwise: the sine and cosine of each globe's angle (the scripts have no
-- maths library).
local kRing =
{
    { 0, 1 }, { 0.5878, 0.809 }, { 0.9511, 0.309 }, { 0.9511, -0.309 }, { 0.5878, -0.809 },
    { 0, -1 }, { -0.5878, -0.809 }, { -0.9511, -0.309 }, { -0.9511, 0.309 }, { -0.5878, 0.809 },
}

local function Globes()
    local looks = {}
    for _, look in ipairs({ "none", "current", "cleared", "mastered" }) do
        looks[look] = Image("globe_" .. look .. ".png", 19, 19)
    end
    local globes = {}
    for i = 0, kLevelsPerLocation - 1 do
        local ring = kRing[i + 1]
        globes["globe_" .. i] =
        {
            id = i, x = kGlobeShiftX + kGlobeRing * ring[1], y = kGlobeShiftY - kGlobeRing * ring[2],
            w = 38, h = 38, font = { "myriad_pro", 17, Color(40, 20, 8) }, assets = looks,
        }
    end
    return globes
end

-- A label and its figure on one line of the panel.
local function Line(texts, name, label, y)
    texts[name .. "_label"] =
    {
        x = 18, y = y, w = 80, h = 24, label = label, font = kLabelFont, flags = kHAlignLeft + kVAlignCenter,
    }
    texts[name] = { x = 96, y = y, w = 80, h = 24, font = kFigureFont, flags = kHAlignRight + kVAlignCenter }
end

-- The level panel beside the ring, on the side with room on the screen.
local function Box(location)
    local texts =
    {
        level = { x = 12, y = 12, w = kBoxWidth - 24, h = 26, font = { "myriad_pro", 20, Color(92, 52, 28) },
                  flags = kHAlignCenter + kVAlignCenter },
    }
    Line(texts, "best", "map_best", 42)
    Line(texts, "goal", "map_goal", 66)
    Line(texts, "mastery", "map_mastery", 90)
    local x = kGlobeRing + 30
    if location.x + x + kBoxWidth > 790 then
        x = -kGlobeRing - 30 - kBoxWidth
    end
    local top = location.y - kBoxHeight / 2
    if top < 10 then
        top = 10
    elseif top > 520 - kBoxHeight then
        top = 520 - kBoxHeight
    end
    local y = top - location.y
    return
    {
        x = x, y = y, w = kBoxWidth, h = kBoxHeight, x1 = 24, x2 = 24, y1 = 24, y2 = 24, mouse = false,
        spriteLayer = 5, text = texts,
        assets = { background = { anim = false, { file = "ui/backgrounds/split9_dialog_small.png" } } },
    }
end

local function Pin(index, location)
    return
    {
        baseLevel = (index - 1) * kLevelsPerLocation + 1, x = location.x, y = location.y, movex = 0, movey = -14,
        mouse = true,
        assets = { base = { anim = true, { state = "enabled", file = kDir .. "pin_badge.xml" } } },
        children =
        {
            head = { x = 0, y = 4, mouse = false, assets = { head = Image("pin_head.png", 12, 38) } },
        },
        globes = Globes(),
        box = Box(location),
    }
end

-- The square root by Newton's steps.
local function Root(v)
    local r = v
    for _ = 1, 20 do
        r = (r + v / r) / 2
    end
    return r
end

-- The way into each location from the one before, in dots along the line
-- between their pins.
local function Path(from, to)
    local dx = to.x - from.x
    local dy = to.y - from.y
    local length = Root(dx * dx + dy * dy)
    local points = {}
    for d = kPinClearance, length - kPinClearance, kDotSpacing do
        local state = "default"
        if d > kShore and d < length - kShore then
            state = "sea"
        end
        table.insert(points, { x = from.x + dx * d / length, y = from.y + dy * d / length, state = state })
    end
    return points
end

local pins = {}
local paths = {}
for i, location in ipairs(kLocations) do
    pins[location.key] = Pin(i, location)
    if i > 1 then
        paths[location.key] = Path(kLocations[i - 1], location)
    end
end

-- Opens the level made current by the map; the level's Next may ask for the
-- map again.
function CloseWorldMap()
    PopModal("scripts/worldmap.lua")
    gBackToMap = false
    DoModal("scripts/loading.lua")
end

-- The buttons come first: in endless mode the map moves Options as it is
-- made. The map stops above them, so they keep their clicks.
MakeDialog
{
    Bitmap
    {
        name = "map_backdrop", x = 0, y = 0, w = 800, h = 600, image = kDir .. "map.png",
        OvalButton("btn_menu", 30, 530, "button_menu", function() CloseWindow() end, kPressedByEscape),
        OvalButton("btn_options", 550, 530, "menu_options", function() DoModal("scripts/options.lua") end),
        VWorldMap
        {
            name = "world_map", x = 0, y = 0, w = 800, h = 520, pins = pins, paths = paths,
            dot = { mouse = false, spriteLayer = 2, assets = { dot =
            {
                anim = false, { file = kDir .. "dot.png", regX = 6, regY = 6 },
                { state = "sea", file = kDir .. "dot_sea.png", regX = 6, regY = 6 },
            } } },
        },
    },
}

ResetMap()
-- The way into a location just reached, once.
if GetManagedInt("do_map_transition", 0) == 1 then
    local level = GetCurrentLevel()
    for i, location in ipairs(kLocations) do
        local first = (i - 1) * kLevelsPerLocation + 1
        if level >= first and level < first + kLevelsPerLocation then
            PlayTransition(location.key)
        end
    end
    SetManagedValue("do_map_transition", 0, true)
end
