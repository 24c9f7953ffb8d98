-- The story of the first location, returned as its plot table: each
-- "story_" entry is an episode of pages. The keys carry the level number,
-- so their order is the story's.
local parts = ReadFile("locations/plotparts.lua")
local Episode, Choice, Goal = parts.Episode, parts.Choice, parts.Goal

return
{
    story_01_arrival = Episode({ { "harbourmaster", "plot_arrival_1" }, { "aunt", "plot_arrival_2" } },
        Choice("aunt", "plot_arrival_3",
            { { "gladly", "plot_arrival_gladly", 2 }, { "nervous", "plot_arrival_nervous", 1 } })),
    story_03_letter = Episode({ { "postmistress", "plot_letter_1" } },
        Choice("aunt", "plot_letter_2",
            { { "thrifty", "plot_letter_thrifty", 2 }, { "ask", "plot_letter_ask", 1 } })),
    story_05_skipper = Episode({ { "skipper", "plot_skipper_1" } },
        Choice("skipper", "plot_skipper_2",
            { { "promise", "plot_skipper_promise", 2 }, { "try", "plot_skipper_try", 1 } })),
    -- The fair's bunting for a busy day: seven customers served in the level.
    story_06_bunting = Goal(Episode({ { "aunt", "plot_bunting_1" } },
        Choice("aunt", "plot_bunting_2",
            { { "accept", "plot_bunting_accept", 2 }, { "doubt", "plot_bunting_doubt", 1 } })),
        { threshold = 7, compare = "greaterthan+equal", compValue = "served_this_level",
          rewardCategory = "aesthetic", reward = "kBackground1", rewardType = "activate" }),
    story_08_storm = Episode({ { "harbourmaster", "plot_storm_1" } },
        Choice("postmistress", "plot_storm_2",
            { { "late", "plot_storm_late", 2 }, { "usual", "plot_storm_usual", 1 } })),
    story_10_farewell = Episode({ { "aunt", "plot_farewell_1" }, { "skipper", "plot_farewell_2" } },
        Choice("aunt", "plot_farewell_3",
            { { "go", "plot_farewell_go", 2 }, { "miss", "plot_farewell_miss", 1 } })),
}
