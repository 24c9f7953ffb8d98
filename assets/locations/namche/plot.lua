-- The story at the mountain market, returned as its plot table.
local parts = ReadFile("locations/plotparts.lua")
local Episode, Choice, Goal = parts.Episode, parts.Choice, parts.Goal

return
{
    story_01_arrival = Episode({ { "guide", "plot_namche_arrival_1" }, { "innkeeper", "plot_namche_arrival_2" } },
        Choice("innkeeper", "plot_namche_arrival_3",
            { { "ready", "plot_namche_arrival_ready", 2 }, { "rest", "plot_namche_arrival_rest", 1 } })),
    -- New counter tops for a busy day: twelve customers served in the level.
    story_06_errand = Goal(Episode({ { "guide", "plot_namche_errand_1" } },
        Choice("innkeeper", "plot_namche_errand_2",
            { { "carve", "plot_namche_errand_carve", 2 }, { "steep", "plot_namche_errand_steep", 1 } })),
        { threshold = 12, compare = "greaterthan+equal", compValue = "served_this_level",
          rewardCategory = "aesthetic", reward = "kStation1", rewardType = "activate" }),
}
