-- The quests of the story: each measures a named value against its
-- threshold while the levels from minlevel to maxlevel are played, and pays
-- its reward at the end of the first of them in which the goal holds.
-- "display" 0 shows the count against the goal, 1 the goal alone ("$" first
-- with format "currency"), 2 only whether the goal is reached.
-- A player's state of each quest is kept in the place of its key in byte
-- order: a new quest needs a key that sorts after the others.
quests =
{
    morning_rush =
    {
        name = "quest_morning_rush", units = "quest_units_customers",
        minlevel = 1, maxlevel = 3,
        compvalue = "served_this_level", compare = "greaterthan + equal", threshold = 6,
        display = 0,
        rewardtype = "money", reward = "150",
    },
    nest_egg =
    {
        name = "quest_nest_egg", units = "quest_units_banked",
        minlevel = 3, maxlevel = 6,
        compvalue = "current_worth", compare = ">=", threshold = 1000,
        display = 1, format = "currency",
        rewardtype = "reveal", rewardcategory = "gameplay", reward = "kComfySeats",
    },
    regulars =
    {
        name = "quest_regulars", units = "quest_units_served",
        minlevel = 3, maxlevel = 8,
        compvalue = "num_served", compare = ">=", threshold = 60,
        display = 0,
        rewardtype = "activate", rewardcategory = "station", reward = "kMixerQ1",
    },
    busy_day =
    {
        name = "quest_busy_day",
        minlevel = 5, maxlevel = 8,
        compvalue = "served_this_level", compare = "greaterthan", threshold = 10,
        display = 2,
        rewardtype = "money", reward = "300",
    },
    small_fortune =
    {
        name = "quest_small_fortune", units = "quest_units_banked",
        minlevel = 7, maxlevel = 10,
        compvalue = "current_worth", compare = "not + less than", threshold = 3000,
        display = 1, format = "currency",
        rewardtype = "money", reward = "500",
    },
}
