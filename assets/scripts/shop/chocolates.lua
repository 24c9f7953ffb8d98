-- The chocolates of the first location: one layer for every bar type, layer
-- type and option the machines and the order picker ask for. The bucket
-- (bar type -1) comes from the mixer; its icon shows the chocolate type
-- ("choc") and the ingredient marked on it ("overlay"). Bodies are the
-- chocolate layers by shape and chocolate type, ingredients lie in the
-- side of bars, truffles and novelties, toppings go on every shape, and the
-- infusion shape holds a filling. Every picture is 64 x 64 and they line up.
local kDir = "shop/chocolates/"
local kShapes = { [0] = "bar", "truffle", "novelty", "infusion" }

local function Still(file)
    return { anim = false, { file = kDir .. file .. ".png" } }
end

-- One state per option: option_0 to option_2.
local function ByOption(prefix)
    local asset = { anim = false }
    for option = 0, 2 do
        table.insert(asset, { state = "option_" .. option, file = kDir .. prefix .. option .. ".png" })
    end
    return asset
end

local chocolates =
{
    {
        barType = -1, layerType = 0, option = 0,
        assets = { bucket = Still("bowl") },
        children = { icon = { assets = { choc = ByOption("bowl_chocolate_"), overlay = ByOption("bowl_ingredient_") } } },
    },
}

local function Layer(barType, layerType, option, file)
    table.insert(chocolates,
                 { barType = barType, layerType = layerType, option = option, assets = { look = Still(file) } })
end

for shape = 0, 3 do
    local name = kShapes[shape]
    for option = 0, 2 do
        Layer(shape, 2, option, name .. "_body_" .. option)
        Layer(shape, 4, option, name .. "_topping_" .. option)
        if shape == 3 then
            Layer(shape, 3, option, "infusion_filling_" .. option)
        else
            Layer(shape, 1, option, name .. "_ingredient_" .. option)
        end
    end
end

return chocolates
