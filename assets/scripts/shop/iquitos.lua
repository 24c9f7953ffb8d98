-- The fifth location, a river town in the rainforest: leaf-green walls and
-- dark mahogany counters. Runs after "posse.lua", whose Customer makes a
-- customer kind.
local Location = ReadFile("scripts/shop/floor.lua")

return Location("iquitos",
{
    fisher = Customer("fisher", 80000, 130),
    scientist = Customer("scientist", 95000, 190),
})
