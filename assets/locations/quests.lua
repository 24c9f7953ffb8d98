-- The quests of the story: each measures a named value against its
-- threshold while the levels from minlevel to maxlevel are played, and pays
-- its reward at the end of the first of them in which the goal holds.
-- "display" 0 shows the count against the goal, 1 the goal alone ("$" first
-- with format "currency"), 2 only whether the goal is reached.
-- A player's state of each quest is kept in the place of its key in byte
-- order: a new quest needs a key that sorts after the others. The quests of
-- the later locations begin "tour_" for that, and a quest's reward names an
-- upgrade of the catalogue of the location its levels lie in.
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
    tour_namche_supplies =
    {
        name = "quest_tour_namche_supplies", units = "quest_units_customers",
        minlevel = 11, maxlevel = 14,
        compvalue = "served_this_level", compare = ">=", threshold = 12,
        display = 0,
        rewardtype = "reveal", rewardcategory = "gameplay", reward = "kComfySeats",
    },
    tour_namche_trade =
    {
        name = "quest_tour_namche_trade", units = "quest_units_banked",
        minlevel = 15, maxlevel = 20,
        compvalue = "current_worth", compare = ">=", threshold = 5000,
        display = 1, format = "currency",
        rewardtype = "money", reward = "600",
    },
    tour_krakatoa_calm =
    {
        name = "quest_tour_krakatoa_calm",
        minlevel = 21, maxlevel = 25,
        compvalue = "angry_this_level", compare = "lessthan", threshold = 1,
        display = 2,
        rewardtype = "reveal", rewardcategory = "gameplay", reward = "kComfySeats",
    },
    tour_krakatoa_output =
    {
        name = "quest_tour_krakatoa_output", units = "quest_units_made",
        minlevel = 26, maxlevel = 30,
        compvalue = "chocolates_made_this_level", compare = ">=", threshold = 30,
        display = 0,
        rewardtype = "activate", rewardcategory = "aesthetic", reward = "kStation1",
    },
    tour_kamchatka_regulars =
    {
        name = "quest_tour_kamchatka_regulars", units = "quest_units_served",
        minlevel = 31, maxlevel = 35,
        compvalue = "num_served", compare = ">=", threshold = 500,
        display = 0,
        rewardtype = "reveal", rewardcategory = "gameplay", reward = "kComfySeats",
    },
    tour_kamchatka_furs =
    {
        name = "quest_tour_kamchatka_furs", units = "quest_units_banked",
        minlevel = 36, maxlevel = 40,
        compvalue = "current_worth", compare = "greaterthan + equal", threshold = 15000,
        display = 1, format = "currency",
        rewardtype = "money", reward = "900",
    },
    tour_iquitos_river =
    {
        name = "quest_tour_iquitos_river", units = "quest_units_customers",
        minlevel = 41, maxlevel = 45,
        compvalue = "served_this_level", compare = ">=", threshold = 20,
        display = 0,
        rewardtype = "reveal", rewardcategory = "gameplay", reward = "kComfySeats",
    },
    tour_iquitos_tidy =
    {
        name = "quest_tour_iquitos_tidy",
        minlevel = 46, maxlevel = 50,
        compvalue = "disposed_this_level", compare = "lessthan", threshold = 2,
        display = 2,
        rewardtype = "activate", rewardcategory = "aesthetic", reward = "kBackground1",
    },
    tour_gaberoun_oasis =
    {
        name = "quest_tour_gaberoun_oasis", units = "quest_units_customers",
        minlevel = 51, maxlevel = 55,
        compvalue = "served_this_level", compare = ">=", threshold = 24,
        display = 0,
        rewardtype = "reveal", rewardcategory = "gameplay", reward = "kComfySeats",
    },
    tour_gaberoun_caravan =
    {
        name = "quest_tour_gaberoun_caravan", units = "quest_units_banked",
        minlevel = 56, maxlevel = 60,
        compvalue = "current_worth", compare = "not + less than", threshold = 30000,
        display = 1, format = "currency",
        rewardtype = "money", reward = "1500",
    },
}
