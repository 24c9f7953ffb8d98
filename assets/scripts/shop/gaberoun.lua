-- The last location, a town at the edge of the desert: terracotta walls,
-- ochre counters and dunes in the windows. Runs after "posse.lua", whose
-- Customer makes a customer kind.
local Location = ReadFile("scripts/shop/floor.lua")

return Location("gaberoun",
{
    fisher = Customer("fisher", 75000, 140),
    scientist = Customer("scientist", 90000, 200),
})
