-- The level screen's debug console, opened with Ctrl+C: a line to type a
-- command into and the answer of the last cheat below it. Enter (or Send)
-- hands the line to DoCommand, or a line "cheat N [V]" to DoCheatGame with
-- the number N and the value V (empty when missing). The command
-- "closeconsole" closes it. The level screen moves "console_window" next to
-- itself.
ReadFile("scripts/dialogparts.lua")

local kConsoleFont = { "myriad_pro", 20, Color(255, 236, 210) }

local function Send()
    local line = GetLabel("console_edit")
    SetLabel("console_edit", "")
    local _, _, number, value = string.find(line, "^%s*[Cc][Hh][Ee][Aa][Tt]%s+(%-?%d+)%s*(.*)$")
    if number ~= nil then
        SetLabel("console_answer", DoCheatGame(tonumber(number), value or ""))
    else
        SetLabel("console_answer", "")
        DoCommand(line)
    end
end

MakeDialog
{
    KSplit9Image
    {
        name = "console_window", x = 20, y = 470, w = 760, h = 110, image = "ui/backgrounds/title_board.png",
        x1 = 24, x2 = 24, y1 = 24, y2 = 24,
        TextEdit
        {
            name = "console_edit", x = 20, y = 14, w = 490, h = 36, length = 80, font = kConsoleFont,
            flags = kHAlignLeft + kVAlignCenter,
        },
        Text
        {
            name = "console_answer", x = 20, y = 60, w = 490, h = 36, font = kConsoleFont,
            flags = kHAlignLeft + kVAlignCenter,
        },
        OvalButton("console_send", 524, 24, "console_send", Send, kPressedByEnter),
    },
}
SetFocus("console_edit")
