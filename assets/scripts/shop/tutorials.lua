-- The tutorials of the shop floor: each one a list of steps, every step a
-- cream panel with its text and the floor's objects it points out. The
-- level screen hands this table to the tutorial manager. No tutorial names
-- a window: clicks reach the floor, which takes them only on the objects
-- that the step opens.
local kPanel = { anim = false, { file = "ui/backgrounds/split9_dialog_small.png" } }
local kCorner = 24
local kFont = { "myriad_pro", 18, Color(74, 40, 20) }
local kButtonFont = { "myriad_pro", 18, Color(20, 52, 96) }

-- A small oval button centred on (x, y), its label on it.
local function Button(name, label, x, y)
    return
    {
        name = name, label = label, x = x, y = y, font = kButtonFont,
        assets =
        {
            button =
            {
                anim = false,
                { file = "ui/buttons/tutorial_default.png" },
                { state = "over", file = "ui/buttons/tutorial_over.png" },
            },
        },
    }
end

-- A step's panel at (x, y) with its text; the keys of step add the rest.
local function Step(label, x, y, w, h, step)
    step.label = label
    step.x = x
    step.y = y
    step.w = w
    step.h = h
    step.x1 = kCorner
    step.x2 = kCorner
    step.y1 = kCorner
    step.y2 = kCorner
    step.font = kFont
    step.margin = { 20, 14, 20, 14 }
    step.assets = { background = kPanel }
    return step
end

-- A step read at leisure: the player moves on with its button.
local function ReadingStep(label, x, y, step)
    step = Step(label, x, y, 380, 130, step or {})
    step.trigger_objects = step.trigger_objects or {}
    table.insert(step.trigger_objects, { "tutorial_next", 1 })
    step.button = Button("tutorial_next", "tutorial_next", 290, 100)
    return step
end

local kSkip = Button("tutorial_skip", "tutorial_skip", 700, 110)

return
{
    -- The first level: the first customer, the mixer and the press, serving
    -- at the counter and the money.
    tutorial_intro =
    {
        trigger_type = "customer_arrival", trigger_object = "first_customer",
        minlevel = 1, maxlevel = 1, modes = { 0 }, skip = kSkip,
        steps =
        {
            ReadingStep("tutorial_intro_1", 210, 300, { highlight_objects = { "first_customer", "station01" } }),
            Step("tutorial_intro_2", 210, 300, 380, 100, { trigger_objects = { { "mixer", 1 } } }),
            Step("tutorial_intro_3", 210, 300, 380, 100,
                 { trigger_objects = { { "station07", 2, action = false } }, pause = false }),
            Step("tutorial_intro_4", 210, 300, 380, 100, { trigger_objects = { { "press", 1 } } }),
            Step("tutorial_intro_5", 210, 300, 380, 100,
                 { trigger_objects = { { "station09", 2, action = false } }, pause = false }),
            Step("tutorial_intro_6", 210, 330, 380, 100,
                 { highlight_objects = { "first_customer" }, trigger_objects = { { "station01", 3 } } }),
            ReadingStep("tutorial_intro_7", 210, 300, { dim = false }),
        },
    },
    -- The second level's new machine, when a customer first orders.
    tutorial_machines =
    {
        trigger_type = "customer_order", minlevel = 2, maxlevel = 2, modes = { 0 }, skip = kSkip,
        steps =
        {
            Step("tutorial_machines_1", 210, 300, 380, 100, { trigger_objects = { { "station08", 3 } } }),
        },
    },
    -- The upgrade shop before the fourth level.
    tutorial_upgrades =
    {
        minlevel = 4, maxlevel = 4, modes = { 0 }, skip = kSkip,
        steps = { ReadingStep("tutorial_upgrades_1", 210, 420, { dim = false, pause = false }) },
    },
    -- The first airship at the delivery station.
    tutorial_zepplin =
    {
        modes = { 0 }, skip = kSkip,
        steps = { ReadingStep("tutorial_zepplin_1", 210, 300, { highlight_objects = { "station14" } }) },
    },
    -- The start of endless mode, in each of its difficulties.
    tutorial_endless_2 =
    {
        modes = { 1, 2, 3 }, skip = kSkip,
        steps = { ReadingStep("tutorial_endless_1", 210, 300) },
    },
}
