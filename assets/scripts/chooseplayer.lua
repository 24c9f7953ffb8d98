-- The players: up to ten names as radio buttons, the chosen one's name in
-- the panel's name field, and buttons to select, add, rename and delete a
-- player. The screen hands the list over through UpdatePlayerChoices,
-- defined here before the windows that call it.
ReadFile("scripts/dialogparts.lua")

local kRadioImages = {
    "ui/buttons/radio_off.png",
    "ui/buttons/radio_on.png",
    "ui/buttons/radio_off_over.png",
    "ui/buttons/radio_on_over.png",
}
local kNameFont = { "myriad_pro", 22, Color(255, 236, 200) }
local kPanel = "players_panel"
local kListY = 130
local kRowHeight = 40
-- Rows are this far apart, five to a column.
local kRowStep = 48

function UpdatePlayerChoices(current, count, names)
    for i = 0, 9 do
        local button = "chooseplayer_button_" .. i
        local name = names[i + 1]
        EnableWindow(button, name ~= nil)
        SetLabel(button, name or "")
        SetButtonToggleState(button, i == current)
    end
    for _, button in { "select", "rename", "delete" } do
        EnableWindow(button, count > 0)
    end
    SetNameField(kPanel, GetSelectedUserName())
end

-- A radio button's command runs before the button turns on: it turns it on
-- itself, so the line shows the new choice.
local function ShowChoice()
    SetButtonToggleState(GetButtonName(), true)
    SetNameField(kPanel, GetSelectedUserName())
end

-- The top of a row inside the list.
local function RowY(i)
    if i >= 5 then
        i = i - 5
    end
    return 20 + kRowStep * i
end

-- One radio button a row, in two columns of five. A long name is drawn
-- smaller; its box is too low for two lines of any size at which one line
-- would not fit, so the name shrinks onto one line, never wraps.
local function Choice(i)
    local column = 0
    if i >= 5 then
        column = 1
    end
    return Button
    {
        name = "chooseplayer_button_" .. i, x = 30 + 250 * column, y = RowY(i), w = 244, h = kRowHeight,
        type = kRadio, graphics = kRadioImages, command = ShowChoice,
        RShrinkText { name = "label", x = 44, y = 8, w = 200, h = 24, font = kNameFont, flags = kVAlignCenter },
    }
end

-- Where the dialogs over the list stand: at the top of the screen, or,
-- when the selected row is too high for that, under it; either way clear of
-- the selected row and of the buttons under the list.
local function DialogY()
    local rowTop = kListY + RowY(GetSelectedUserIndex())
    local margin = 4
    if margin + kLowPanelHeight + margin <= rowTop then
        return margin
    end
    return rowTop + kRowHeight + margin
end

local function NameEntry(rename)
    gRenamingPlayer = rename
    gNameDialogY = DialogY()
    DoModal("scripts/newplayer.lua")
    gNameDialogY = nil
    SetPlayerChoices()
end

-- Asks before the selected player goes; true for Yes.
local function ConfirmDelete()
    local id = PushModal("deleteplayer")
    MakeDialog
    {
        LowDialogPanel("deleteplayer", "players_delete_question", DialogY(),
        {
            OvalButton("yes", 30, 110, "button_yes", function() CloseWindow(1) end, kPressedByEnter),
            OvalButton("no", 270, 110, "button_no", function() CloseWindow(0) end, kPressedByEscape),
        }),
    }
    SetLabel("message", GetString("players_delete_question", GetSelectedUserName()))
    DoFitToChildren()
    WaitForCloseMessage(id)
    local answer = gReturnValue
    gReturnValue = nil
    return answer == 1
end

local function Select()
    SetCurrentUser(GetSelectedUserIndex())
    CloseWindow()
end

local function Rename()
    SetCurrentUser(GetSelectedUserIndex())
    NameEntry(true)
end

local function Delete()
    if ConfirmDelete() then
        DeleteUser(GetSelectedUserIndex())
        SetPlayerChoices()
    end
end

local choices = { name = kPanel, x = 100, y = kListY, w = 600, h = 300, SelectLayer(0), SetBeginGroup }
for i = 0, 9 do
    table.insert(choices, Choice(i))
end
table.insert(choices, SelectLayer(kAllLayers))
table.insert(choices, Text
{
    name = "namefield", x = 0, y = 262, w = 600, h = 36, font = { "myriad_pro", 30, Color(255, 236, 200) }, flags = kHAlignCenter + kVAlignCenter,
})

MakeDialog
{
    TChoosePlayer
    {
        name = "chooseplayer", x = 0, y = 0, w = 800, h = 600,
        Backdrop
        {
            TitleText("title", "players_title", 40, 70, 48),
            BLayeredWindow(choices),
            OvalButton("select", 40, 450, "players_select", Select, kPressedByEnter),
            OvalButton("new", 290, 450, "players_new", function() NameEntry(false) end),
            OvalButton("rename", 540, 450, "players_rename", Rename),
            OvalButton("delete", 160, 520, "players_delete", Delete),
            OvalButton("cancel", 420, 520, "button_cancel", function() CloseWindow() end, kPressedByEscape),
        },
    },
}
