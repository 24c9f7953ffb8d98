-- The main script. It returns the function that runs as the main coroutine:
-- the title screen, whose messages it waits for until the game quits. The
-- wait ends now and then without a message, so that the commands the game
-- queues (the pause dialog) run even while nothing happens on the screen.
local kCommandPeriod = 100

return function()
    PushModal("scripts/titlescreen.lua")
    ReadFile("scripts/titlescreen.lua")
    DoFitToChildren()
    while true do
        gLastMessage = WaitForMessage(kCommandPeriod)
    end
end
