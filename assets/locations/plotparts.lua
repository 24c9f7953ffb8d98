-- The pieces every location's plot table is built of, returned as a table:
-- Episode, Choice and Goal. A page shows its speaker's portrait and words,
-- and its answers as buttons. "onward" leads to the next page; the last
-- page's answers end the episode, each with its value.
local kDir = "ui/plot/"
-- Self-contained: the shop floor's tests read it outside the window script.
local function Rgb(r, g, b)
    return { r / 255, g / 255, b / 255, 1 }
end
local kAlignLeft = 0
local kAlignCentre = 1
local kSpeechFont = { "myriad_pro", 22, Rgb(74, 40, 20) }
local kNameFont = { "myriad_pro", 18, Rgb(120, 70, 40) }
local kButtonFont = { "myriad_pro", 20, Rgb(74, 40, 20) }

-- A button's looks, each centred on the button's position.
local function Looks(file)
    return {
        anim = false,
        { file = kDir .. file .. ".png" },
        { state = "over", file = kDir .. file .. "_over.png" },
        { state = "on", file = kDir .. file .. "_down.png" },
    }
end

local function ContinueButton()
    return { x = 495, y = 258, w = 150, h = 44, mouse = true, label = "plot_continue", font = kButtonFont,
             assets = { button = Looks("continue") } }
end

local function AnswerButton(y, label)
    return { x = 390, y = y, w = 360, h = 44, mouse = true, label = label, font = kButtonFont,
             assets = { button = Looks("answer") } }
end

-- A page of the speaker saying the label's words, its answers given.
local function Page(speaker, words, responses)
    return {
        speaker = speaker, x = 100, y = 150,
        assets = { frame = { anim = false, { file = kDir .. "page_frame.png", regX = 0, regY = 0 } } },
        children =
        {
            portrait = { x = 30, y = 30, assets = { portrait = { anim = false, { file = kDir .. "portrait_" .. speaker .. ".png", regX = 0, regY = 0 } } } },
        },
        text =
        {
            name = { x = 30, y = 176, w = 120, h = 24, label = "plot_speaker_" .. speaker, font = kNameFont, flags = kAlignCentre },
            words = { x = 180, y = 30, w = 390, h = 150, label = words, font = kSpeechFont, flags = kAlignLeft },
        },
        responses = responses,
    }
end

local function Continue(nextPage)
    return { onward = { label = "plot_continue", button = ContinueButton(), nextStep = nextPage } }
end

local parts = {}

-- The last page of an episode: the speaker asks, and each answer (name,
-- label, value) is a button, one below the other where the continue button
-- would stand.
function parts.Choice(speaker, words, answers)
    local responses = {}
    for i, answer in ipairs(answers) do
        local name, label, value = answer[1], answer[2], answer[3]
        responses[name] = { label = label, value = value, button = AnswerButton(142 + 56 * i, label) }
    end
    local page = Page(speaker, words, responses)
    page.text.words.h = 130
    return page
end

-- An episode of pages (speaker, words) told one after the other, the last
-- one a choice.
function parts.Episode(pages, choice)
    local page = choice
    for i = table.getn(pages), 1, -1 do
        page = Page(pages[i][1], pages[i][2], Continue(page))
    end
    -- The pointer reaches the pages' buttons through the episode.
    return { mouse = true, nextStep = page }
end

-- The episode made a quest item: the managed value compValue measured
-- against the threshold, and the upgrade granted or revealed once it holds.
function parts.Goal(episode, goal)
    episode.type = "quest"
    for key, value in pairs(goal) do
        episode[key] = value
    end
    return episode
end

return parts
