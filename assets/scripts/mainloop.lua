-- The main script. It returns the function that runs as the main coroutine:
-- what the game queued as it started (a notice about the player's saved
-- data), a first player's name when there is none yet, then the main menu,
-- whose messages it waits for until the game quits. The wait ends now and
-- then without a message, so that the commands the game queues (the pause
-- dialog) run even while nothing happens on the screen.
local kCommandPeriod = 100

return function()
    while table.getn(gCommandQueue) > 0 do
        table.remove(gCommandQueue, 1)()
    end
    if GetNumUsers() == 0 then
        DoModal("scripts/newplayer.lua")
    end
    PushModal("scripts/mainmenu.lua")
    ReadFile("scripts/mainmenu.lua")
    DoFitToChildren()
    while true do
        gLastMessage = WaitForMessage(kCommandPeriod)
    end
end
