-- The end of a level, over the shop floor: passed, failed or mastered (or
-- the end of an endless game with the time it lasted), the quests finished
-- or a few words, and the player's worth rolling up in the register. The
-- dialog's table (gDialogTable) holds level_pass, the label of the result,
-- level_status and, in the story, level_num or, in endless mode, time.
-- Next goes back to the world map (none once the last level is passed),
-- Replay plays the one just played, Menu goes back to the main menu.
ReadFile("scripts/dialogparts.lua")

local t = gDialogTable
local endless = GetCurrentGameMode() ~= 0
local location = ReadFile("scripts/shop/grytviken.lua")
-- The last level of the story: the current level stays on it once passed.
local kLastLevel = 60
local kPanelX = 40
local kPanelY = 110
local kPanelWidth = 720
local kTextFont = { "myriad_pro", 22, Color(74, 40, 20) }
local kDigits = 6
local kDigitWidth = location.digit.w

-- The same screen loads the level: this dialog goes first.
local function Play(level)
    return function()
        CloseWindow()
        SetCurrentLevel(level)
        LevelSetup()
        ReadyForPrelevel()
        InsideGame(true)
    end
end

-- A centred line whose text is set once the dialog stands.
local function Line(name, y, h)
    return Text
    {
        name = name, x = 30, y = y, w = kPanelWidth - 60, h = h, font = kTextFont,
        flags = kHAlignCenter + kVAlignCenter,
    }
end

local subtitle
if endless then
    subtitle = GetString("endlevel_time", t.time or "")
else
    subtitle = GetString("endlevel_level", tostring(t.level_num or GetCurrentLevel()))
end

local windows = {
    name = "endlevel", x = kPanelX, y = kPanelY, w = kPanelWidth, h = 380,
    image = "ui/backgrounds/split9_dialog_small.png", x1 = 24, x2 = 24, y1 = 24, y2 = 24,
    RShrinkText
    {
        name = "result", x = 30, y = 16, w = kPanelWidth - 60, h = 50, label = t.level_pass,
        font = { "myriad_pro", 34, Color(122, 52, 30) }, flags = kHAlignCenter + kVAlignCenter,
    },
    Line("subtitle", 66, 30),
    Line("blurb", 94, 70),
    -- What the level's episode asked of the player, met or missed.
    Line("plot", 164, 26),
    Text
    {
        name = "worth_label", x = 130, y = 196, w = 200, h = 36, label = "endlevel_worth", font = kTextFont,
        flags = kHAlignRight + kVAlignCenter,
    },
    -- The register's gold figures on a dark sign.
    KSplit9Image
    {
        name = "register_board", x = 350, y = 190, w = kDigits * kDigitWidth + 40, h = 48,
        image = "ui/backgrounds/title_board.png", x1 = 24, x2 = 24, y1 = 24, y2 = 24,
        VRegister
        {
            name = "register", x = 20, y = 8, w = kDigits * kDigitWidth, h = 32, numDigits = kDigits,
            context = "endlevel", digit = location.digit,
        },
    },
}

-- Buttons side by side along the bottom of the panel.
local buttons = {}
-- Next goes back to the map, which shows the next level.
local function BackToMap()
    gBackToMap = true
    PopModal("scripts/loading.lua")
end
if not endless and not (t.level_num == kLastLevel and (t.level_status or 0) > 0) then
    table.insert(buttons, { "next", "button_next", BackToMap, kPressedByEnter })
end
table.insert(buttons, { "replay", "button_replay", Play(t.level_num) })
-- The level screen's modal goes, and this dialog above it.
table.insert(buttons, { "menu", "button_menu", function() PopModal("scripts/loading.lua") end, kPressedByEscape })
local kButtonWidth = 220
local gap = (kPanelWidth - table.getn(buttons) * kButtonWidth) / (table.getn(buttons) + 1)
for i, b in ipairs(buttons) do
    table.insert(windows, OvalButton(b[1], gap + (i - 1) * (kButtonWidth + gap), 290, b[2], b[3], b[4]))
end

InsideGame(false)
MakeDialog { KSplit9Image(windows) }
SetLabel("subtitle", subtitle)
SetLabel("blurb", GetEndlevelText(t.level_status or 0))
if not endless then
    SetLabel("plot", GetPlotMessage())
end
-- What the level earned slides in over the dialog for four seconds.
ShowNewAchievements(4000)
