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
local kNameFont = { "myriad_pro", 24, Color(255, 236, 200) }
local kPanel = "players_panel"

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

local function ShowChoice()
    SetNameField(kPanel, GetSelectedUserName())
end

-- One radio button a row, in two columns of five.
local function Choice(i)
    local column = 0
    if i >= 5 then
        column = 1
    end
    return Button
    {
        name = "chooseplayer_button_" .. i, x = 30 + 250 * column, y = 20 + 48 * (i - 5 * column), w = 244, h = 40,
        type = kRadio, graphics = kRadioImages, command = ShowChoice,
        Text { name = "label", x = 44, y = 0, w = 200, h = 40, font = kNameFont, flags = kVAlignCenter },
    }
end

local function NameEntry(rename)
    gRenamingPlayer = rename
    DoModal("scripts/newplayer.lua")
    SetPlayerChoices()
end

-- Asks before a player goes; true for Yes.
local function ConfirmDelete()
    local id = PushModal("deleteplayer")
    MakeDialog
    {
        DialogPanel("deleteplayer", "players_delete_question",
        {
            OvalButton("yes", 30, 150, "button_yes", function() CloseWindow(1) end),
            OvalButton("no", 270, 150, "button_no", function() CloseWindow(0) end),
        }),
    }
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

local choices = { name = kPanel, x = 100, y = 130, w = 600, h = 300, SelectLayer(0), SetBeginGroup }
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
            OvalButton("select", 40, 450, "players_select", Select),
            OvalButton("new", 290, 450, "players_new", function() NameEntry(false) end),
            OvalButton("rename", 540, 450, "players_rename", Rename),
            OvalButton("delete", 160, 520, "players_delete", Delete),
            OvalButton("cancel", 420, 520, "button_cancel", function() CloseWindow() end),
        },
    },
}
