-- The third location, an island under a smoking volcano: turquoise walls,
-- bamboo counters and a sunset sea in the windows. Runs after "posse.lua",
-- whose Customer makes a customer kind.
local Location = ReadFile("scripts/shop/floor.lua")

return Location("krakatoa",
{
    fisher = Customer("fisher", 90000, 110),
    scientist = Customer("scientist", 105000, 170),
})
