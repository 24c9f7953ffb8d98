-- The pre-level shop, where upgrades will be bought between levels: until
-- it has wares it closes at once and the level starts.
CloseWindow()
