-- The story on the smoking island, returned as its plot table.
local parts = ReadFile("locations/plotparts.lua")
local Episode, Choice = parts.Episode, parts.Choice

return
{
    story_01_arrival = Episode({ { "ferrywoman", "plot_krakatoa_arrival_1" }, { "lookout", "plot_krakatoa_arrival_2" } },
        Choice("lookout", "plot_krakatoa_arrival_3",
            { { "noon", "plot_krakatoa_arrival_noon", 2 }, { "calm", "plot_krakatoa_arrival_calm", 1 } })),
}
