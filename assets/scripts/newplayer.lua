-- Asks for a player's name: a new player, or the current one's new name
-- when gRenamingPlayer is set (the field then starts with it). The panel
-- stands at gNameDialogY when the screen below sets it. Blanks around the
-- name are dropped; an empty name and one already in use are refused.
ReadFile("scripts/dialogparts.lua")

local kFieldFont = { "myriad_pro", 22, Color(74, 40, 20) }

local function Trimmed(text)
    local _, _, inner = string.find(text, "^ *(.-) *$")
    return inner
end

local function Close()
    gRenamingPlayer = nil
    CloseWindow()
end

local function Accept()
    local name = Trimmed(GetLabel("name_edit"))
    if name == "" then
        SetLabel("message", GetString("newplayer_name_empty"))
    elseif gRenamingPlayer and name == GetCurrentUserName() then
        -- The player keeps the name they have.
        Close()
    elseif IsNameInUse(name) then
        SetLabel("message", GetString("newplayer_name_taken"))
    else
        if gRenamingPlayer then
            ChangeCurrentUserName(name)
        else
            CreateNewUser(name)
        end
        Close()
    end
end

local windows = {
    -- The field's box, under the field.
    KSplit9Image
    {
        name = "name_box", x = 30, y = 60, w = 460, h = 52, image = "ui/backgrounds/split9_dialog_small.png",
        x1 = 24, x2 = 24, y1 = 24, y2 = 24,
    },
    TextEdit
    {
        name = "name_edit", x = 40, y = 64, w = 440, h = 44, length = 20, font = kFieldFont,
        flags = kHAlignCenter + kVAlignCenter,
    },
}
-- The very first player cannot be skipped: OK stands alone in the middle.
local canCancel = GetNumUsers() > 0
table.insert(windows, OvalButton("ok", canCancel and 30 or 150, 120, "button_ok", Accept, kPressedByEnter))
if canCancel then
    table.insert(windows, OvalButton("cancel", 270, 120, "button_cancel", Close, kPressedByEscape))
end

local panel = LowDialogPanel("newplayer", "newplayer_title", gNameDialogY or kDialogY, windows)
if canCancel then
    MakeDialog { panel }
else
    -- The game's very first screen: nothing lies below it yet.
    MakeDialog
    {
        Backdrop { panel },
    }
end
if gRenamingPlayer then
    SetLabel("name_edit", GetCurrentUserName())
end
SetFocus("name_edit")
