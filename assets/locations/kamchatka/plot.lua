-- The story in the valley of the hot springs, returned as its plot table.
local parts = ReadFile("locations/plotparts.lua")
local Episode, Choice, Goal = parts.Episode, parts.Choice, parts.Goal

return
{
    story_01_arrival = Episode({ { "ranger", "plot_kamchatka_arrival_1" } },
        Choice("trapper", "plot_kamchatka_arrival_2",
            { { "truffle", "plot_kamchatka_arrival_truffle", 2 }, { "bears", "plot_kamchatka_arrival_bears", 1 } })),
    -- Steam piped to the machines for a busy day: fourteen customers served
    -- in the level.
    story_06_errand = Goal(Episode({ { "ranger", "plot_kamchatka_errand_1" } },
        Choice("trapper", "plot_kamchatka_errand_2",
            { { "deal", "plot_kamchatka_errand_deal", 2 }, { "try", "plot_kamchatka_errand_try", 1 } })),
        { threshold = 14, compare = "greaterthan+equal", compValue = "served_this_level",
          rewardCategory = "gameplay", reward = "kSteam1", rewardType = "activate" }),
}
