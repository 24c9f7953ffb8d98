-- The main script. It returns the function that runs as the main coroutine:
-- the title screen, whose messages it waits for until the game quits.
return function()
    DoMainWindow("scripts/titlescreen.lua")
end
