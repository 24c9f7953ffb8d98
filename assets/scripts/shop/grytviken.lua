-- The first location, a harbour on a cold island: the shared floor with
-- its cream wall and wooden counters, and its own fishers and scientists.
-- Runs after "posse.lua", whose Customer makes a customer kind.
local Location = ReadFile("scripts/shop/floor.lua")

return Location("grytviken",
{
    fisher = Customer("fisher", 100000, 90),
    scientist = Customer("scientist", 120000, 150),
})
