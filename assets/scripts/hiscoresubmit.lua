-- Submits the player's new score: under the player's name, or under an
-- account with its password (remembered when the box is ticked). The
-- screen below sets gNameEdit, gAccountEdit, gPassEdit, gRemember and
-- gEligibleScore first. While the score is on its way the dialog says so;
-- a failure shows its message with OK, which returns to the fields.
ReadFile("scripts/dialogparts.lua")

local kFieldFont = { "myriad_pro", 22, Color(74, 40, 20) }
local kLabelFont = { "myriad_pro", 22, Color(120, 60, 30) }
local kCheckBoxImages = {
    "ui/buttons/check_off.png",
    "ui/buttons/check_on.png",
    "ui/buttons/check_off_over.png",
    "ui/buttons/check_on_over.png",
}

-- What SwitchModes hides while the score is on its way.
gSubmitForm = { "nameedit", "accountedit", "passedit", "remember", "submittoserver", "cancel", "eligiblescore",
                "submit_score", "submit_hint", "name_box", "account_box", "pass_box", "name_label", "account_label",
                "pass_label" }

local function Field(name, label, y, password)
    local base = string.gsub(name, "edit$", "")
    return Group
    {
        Text
        {
            name = base .. "_label", x = 30, y = y, w = 140, h = 40, label = label, font = kLabelFont,
            flags = kHAlignRight + kVAlignCenter,
        },
        KSplit9Image
        {
            name = base .. "_box", x = 180, y = y - 4, w = 310, h = 48, image = "ui/backgrounds/split9_dialog_small.png",
            x1 = 24, x2 = 24, y1 = 24, y2 = 24,
        },
        TextEdit
        {
            name = name, x = 190, y = y, w = 290, h = 40, length = 60, font = kFieldFont, password = password,
            flags = kVAlignCenter,
        },
    }
end

local function Submit()
    SubmitToServer(GetLabel("nameedit"), GetLabel("accountedit"), GetLabel("passedit"),
                   GetButtonToggleState("remember"))
end

local windows =
{
    Text
    {
        name = "submit_score", x = 30, y = 58, w = 300, h = 36, label = "submit_score", font = kLabelFont,
        flags = kHAlignRight + kVAlignCenter,
    },
    Text { name = "eligiblescore", x = 340, y = 58, w = 150, h = 36, font = kFieldFont, flags = kVAlignCenter },
    Field("nameedit", "submit_name", 100, false),
    Field("accountedit", "submit_account", 152, false),
    Field("passedit", "submit_password", 204, true),
    Button
    {
        name = "remember", x = 180, y = 256, type = kToggle, graphics = kCheckBoxImages, fit = true,
        Text { name = "label", x = 50, y = 0, w = 260, h = 40, label = "submit_remember", font = kLabelFont,
               flags = kVAlignCenter },
    },
    Text
    {
        name = "submit_hint", x = 30, y = 300, w = 460, h = 30, label = "submit_hint",
        font = { "myriad_pro", 18, Color(120, 60, 30) }, flags = kHAlignCenter + kVAlignCenter,
    },
    Text
    {
        name = "submitconnect", x = 30, y = 140, w = 460, h = 60, label = "submit_connect", font = kFieldFont,
        flags = kHAlignCenter + kVAlignCenter,
    },
    Text
    {
        name = "submiterror", x = 30, y = 110, w = 460, h = 140, font = kFieldFont,
        flags = kHAlignCenter + kVAlignCenter,
    },
    OvalButton("submittoserver", 30, 340, "submit_send", Submit, kPressedByEnter),
    OvalButton("cancel", 270, 340, "button_cancel", function() CloseWindow() end, kPressedByEscape),
    OvalButton("submiterrorok", 150, 340, "button_ok", function() SwitchModes(false) end),
}

MakeDialog
{
    KSplit9Image
    {
        name = "hiscoresubmit", x = kDialogX, y = 110, w = 520, h = 420, image = "ui/backgrounds/split9_dialog_small.png",
        x1 = 24, x2 = 24, y1 = 24, y2 = 24,
        Text
        {
            name = "title", x = 30, y = 14, w = 460, h = 40, label = "submit_title", font = kDialogFont,
            flags = kHAlignCenter + kVAlignCenter,
        },
        Group(windows),
    },
}
SetLabel("nameedit", gNameEdit or "")
SetLabel("accountedit", gAccountEdit or "")
SetLabel("passedit", gPassEdit or "")
SetButtonToggleState("remember", gRemember and true or false)
InitUserScore()
SetFocus("nameedit")
