-- The story at the lake in the desert, returned as its plot table.
local parts = ReadFile("locations/plotparts.lua")
local Episode, Choice = parts.Episode, parts.Choice

return
{
    story_01_arrival = Episode({ { "cameleer", "plot_gaberoun_arrival_1" } },
        Choice("gardener", "plot_gaberoun_arrival_2",
            { { "shade", "plot_gaberoun_arrival_shade", 2 }, { "fast", "plot_gaberoun_arrival_fast", 1 } })),
}
