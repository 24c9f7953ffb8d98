-- The story in the river town, returned as its plot table.
local parts = ReadFile("locations/plotparts.lua")
local Episode, Choice = parts.Episode, parts.Choice

return
{
    story_01_arrival = Episode({ { "pilot", "plot_iquitos_arrival_1" }, { "stallholder", "plot_iquitos_arrival_2" } },
        Choice("stallholder", "plot_iquitos_arrival_3",
            { { "truffles", "plot_iquitos_arrival_truffles", 2 }, { "try", "plot_iquitos_arrival_try", 1 } })),
}
