-- Asks for a player's name: a new player, or the current one's new name
-- when gRenamingPlayer is set. A name already in use is refused.
ReadFile("scripts/dialogparts.lua")

local function Accept()
    local name = GetLabel("name_edit")
    if name == "" then
        return
    end
    if IsNameInUse(name) then
        SetLabel("message", GetString("newplayer_name_taken"))
        return
    end
    if gRenamingPlayer then
        ChangeCurrentUserName(name)
    else
        CreateNewUser(name)
    end
    gRenamingPlayer = nil
    CloseWindow()
end

local buttons = {
    TextEdit
    {
        name = "name_edit", x = 60, y = 112, w = 400, h = 40, length = 20, font = kDialogFont,
        flags = kHAlignCenter + kVAlignCenter,
    },
}
-- The very first player cannot be skipped: OK stands alone in the middle.
local canCancel = GetNumUsers() > 0
table.insert(buttons, OvalButton("ok", canCancel and 30 or 150, 170, "button_ok", Accept))
if canCancel then
    table.insert(buttons, OvalButton("cancel", 270, 170, "button_cancel", function()
        gRenamingPlayer = nil
        CloseWindow()
    end))
end

local panel = DialogPanel("newplayer", "newplayer_title", buttons)
if canCancel then
    MakeDialog { panel }
else
    -- The game's very first screen: nothing lies below it yet.
    MakeDialog
    {
        Backdrop { panel },
    }
end
SetFocus("name_edit")
