-- The scores: the table of the game mode named on the sign, from this
-- computer or from the hiscore service, with arrows to change the mode, the
-- service's category and the part of the table shown, and the buttons to
-- view either table, submit the player's new score and read the privacy
-- page. The screen itself shows the texts of its state; UpdateButtons shows
-- the buttons that belong to it.
ReadFile("scripts/dialogparts.lua")

local kTextFont = { "myriad_pro", 22, Color(74, 40, 20) }
local kHeadingFont = { "myriad_pro", 26, Color(120, 60, 30) }
local kRowFont = { "myriad_pro", 22, Color(52, 26, 12) }
local kLabelFont = { "myriad_pro", 22, Color(20, 52, 96) }

local function ArrowImages(direction)
    local base = "ui/buttons/arrow_" .. direction
    return { base .. "_up.png", base .. "_down.png", base .. "_over.png" }
end

local function Arrow(name, direction, x, y)
    return Button { name = name, x = x, y = y, graphics = ArrowImages(direction) }
end

-- An oval button whose label may take two lines; the screen draws those
-- lines closer together.
local function TwoLineButton(name, x, y, label)
    return Button
    {
        name = name, x = x, y = y, graphics = kOvalButtonImages,
        Text
        {
            name = name .. "_text", x = 10, y = 0, w = 200, h = 60, label = label, font = kLabelFont,
            flags = kHAlignCenter + kVAlignCenter,
        },
    }
end

local function Line(name, x, y, w, h, label, font, flags)
    return Text
    {
        name = name, x = x, y = y, w = w, h = h, label = label or "", font = font or kTextFont,
        flags = flags or kHAlignCenter + kVAlignCenter,
    }
end

local function Panel(name, x, y, w, h, windows)
    windows.name = name
    windows.x = x
    windows.y = y
    windows.w = w
    windows.h = h
    windows.image = "ui/backgrounds/split9_dialog_small.png"
    windows.x1 = 24
    windows.x2 = 24
    windows.y1 = 24
    windows.y2 = 24
    return KSplit9Image(windows)
end

-- The table: ten rows of rank, name, score and the mark of a score that
-- was not yet sent, under the heading of the table shown.
local kFirstRowY = 52
local kRowHeight = 32
local tableWindows = {
    Line("local", 20, 10, 440, 34, "scores_local", kHeadingFont),
    Line("global", 20, 10, 440, 34, "scores_global", kHeadingFont),
    Line("topplayers", 20, 10, 440, 34, "scores_topplayers", kHeadingFont),
    Line("server", 30, 150, 420, 90, "scores_server"),
    Line("error", 30, 120, 420, 160, ""),
}
for row = 1, 10 do
    local y = kFirstRowY + (row - 1) * kRowHeight
    table.insert(tableWindows, Line(tostring(row), 12, y, 50, 30, "", kRowFont, kHAlignRight + kVAlignCenter))
    table.insert(tableWindows, Line("name" .. row, 72, y, 220, 30, "", kRowFont, kHAlignLeft + kVAlignCenter))
    table.insert(tableWindows, Line("score" .. row, 292, y, 110, 30, "", kRowFont, kHAlignRight + kVAlignCenter))
    table.insert(tableWindows, Line("p1_" .. row, 404, y, 16, 30, "#*", kRowFont))
end
table.insert(tableWindows, Arrow("scrollup", "up", 424, 52))
table.insert(tableWindows, Arrow("scrolldown", "down", 424, 340))

-- The buttons each state offers; after a failure the way back leads to
-- another try.
local kStateButtons =
{
    [0] = { gamemodeleft = true, gamemoderight = true, view = true, submit = true },
    [1] = { viewlocal = true },
    [2] = { viewlocal = true },
    [4] = { gamemodeleft = true, gamemoderight = true, categoryleft = true, categoryright = true, viewlocal = true,
            submit = true },
    [5] = { viewlocal = true },
}
local kButtons = { "gamemodeleft", "gamemoderight", "categoryleft", "categoryright", "view", "viewlocal", "submit" }

function UpdateButtons()
    local shown = kStateButtons[GetState()] or {}
    local localOnly = IsEnabled(kHiscoreLocalOnly)
    for i, name in ipairs(kButtons) do
        local show = shown[name]
        if name == "submit" then
            show = show and not localOnly and ScoreAvailable()
        elseif name == "view" or name == "viewlocal" then
            show = show and not localOnly
        end
        EnableWindow(name, show and true or false)
    end
end

-- The submit dialog's fields while the player fills them in, or its
-- message while the score is on its way.
-- The dialog lists its fields in gSubmitForm.
function SwitchModes(sending)
    for i, name in ipairs(gSubmitForm or {}) do
        EnableWindow(name, not sending)
    end
    if not sending and GetLabel("nameedit") == "" and GetLabel("accountedit") == "" then
        EnableWindow("submittoserver", false)
    end
    EnableWindow("submitconnect", sending)
    EnableWindow("submiterror", false)
    EnableWindow("submiterrorok", false)
end

MakeDialog
{
    HiscoreWindow
    {
        name = "hiscore", x = 0, y = 0, w = 800, h = 600,
        Backdrop
        {
            TitleText("gamemode", "", 14, 64, 44),
            Arrow("gamemodeleft", "left", 84, 24),
            Arrow("gamemoderight", "right", 672, 24),
            Panel("leftpanel", 30, 92, 480, 404, tableWindows),
            Panel("rightpanel", 530, 92, 240, 404,
            {
                Line("info", 14, 16, 212, 170, "scores_info"),
                Line("eligible", 14, 190, 200, 56, "scores_eligible"),
                Line("eligibleasterisk", 206, 190, 20, 56, "#*"),
            }),
            Panel("rightpanelsmall", 530, 92, 240, 404,
            {
                RShrinkText
                {
                    name = "category", x = 54, y = 16, w = 132, h = 44, font = kTextFont,
                    flags = kHAlignCenter + kVAlignCenter,
                },
                Line("congratulations", 14, 76, 212, 110, "scores_congratulations"),
                Line("dnq", 14, 76, 212, 110, "scores_dnq"),
                Line("yourrank", 14, 186, 212, 60, ""),
                Line("yourrankglobalinfo", 14, 186, 212, 60, "scores_yourrankglobalinfo"),
                Line("rankvalue", 14, 246, 212, 30, ""),
            }),
            Arrow("categoryleft", "left", 540, 108),
            Arrow("categoryright", "right", 716, 108),
            OvalButton("submit", 540, 350, "scores_submit"),
            TwoLineButton("view", 540, 420, "scores_view"),
            TwoLineButton("viewlocal", 540, 420, "scores_viewlocal"),
            OvalButton("back", 290, 512, "button_back", function() CloseWindow() end, kPressedByEnterAndEscape),
            Button
            {
                name = "privacy", x = 620, y = 560, w = 160, h = 32, command = function() LaunchPrivacyPolicy() end,
                Text
                {
                    name = "label", x = 0, y = 0, w = 160, h = 32, label = "scores_privacy",
                    font = { "myriad_pro", 20, Color(236, 206, 166) }, flags = kHAlignRight + kVAlignCenter,
                },
            },
        },
    },
}
