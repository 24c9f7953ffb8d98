-- The second location, a village below snowy peaks: saffron walls and red
-- lacquered counters. Its fishers come from the river, its scientists from
-- the expeditions, both less patient after the long climb. Runs after
-- "posse.lua", whose Customer makes a customer kind.
local Location = ReadFile("scripts/shop/floor.lua")

return Location("namche",
{
    fisher = Customer("fisher", 95000, 100),
    scientist = Customer("scientist", 110000, 160),
})
