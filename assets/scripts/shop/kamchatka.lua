-- The fourth location, a harbour among snow-capped volcanoes: slate walls
-- and pale birch counters. Runs after "posse.lua", whose Customer makes a
-- customer kind.
local Location = ReadFile("scripts/shop/floor.lua")

return Location("kamchatka",
{
    fisher = Customer("fisher", 85000, 120),
    scientist = Customer("scientist", 100000, 180),
})
