-- The customers who come to every shop: a student, a sailor, a baker and a
-- climber. Each is a bust behind the counter: a body and a face whose look
-- follows the customer's mood ("menu" while it reads the menu), and two
-- idle animations, a happy wave and an angry shake. "decay" is the number
-- of milliseconds in which a full patience drains; "tip" the tip at full
-- patience, in cents.
local kDir = "shop/customers/"
local kMoods = { "happy", "neutral", "annoyed", "angry", "menu" }

-- A still picture standing on the middle of its bottom edge.
local function Picture(file, state)
    return { state = state, file = kDir .. file .. ".png", regX = 32, regY = 96 }
end

local function Faces()
    local asset = { anim = false, Picture("face_happy") }
    for _, mood in ipairs(kMoods) do
        table.insert(asset, Picture("face_" .. mood, mood))
    end
    return asset
end

function Customer(kind, decay, tip)
    return {
        name = kind,
        decay = decay,
        tip = tip,
        orderDelay = 4000,
        -- Clear; it carries the point the thought bubble hangs from.
        assets = { base = { { file = kDir .. "customer_base.xml" } } },
        static_body = { assets = { body = { anim = false, Picture(kind .. "_body") } } },
        static_face = { assets = { face = Faces() } },
        idle_happy = { visible = false, assets = { idle = { { file = kDir .. kind .. "_idle_happy.xml" } } } },
        idle_angry = { visible = false, assets = { idle = { { file = kDir .. kind .. "_idle_angry.xml" } } } },
    }
end

posse =
{
    student = Customer("student", 90000, 60),
    sailor = Customer("sailor", 100000, 80),
    baker = Customer("baker", 110000, 100),
    climber = Customer("climber", 80000, 120),
}
