-- The story of the first location, returned as its plot table: each
-- "story_" entry is an episode of pages; a page shows its speaker's
-- portrait and words, and its answers as buttons. "onward" leads to the
-- next page; the last page's answers end the episode, each with its value.
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

local kAnswers = Page("aunt", "plot_arrival_3",
{
    gladly = { label = "plot_arrival_gladly", value = 2, button = AnswerButton(198, "plot_arrival_gladly") },
    nervous = { label = "plot_arrival_nervous", value = 1, button = AnswerButton(254, "plot_arrival_nervous") },
})
-- The answers stand where the continue button would.
kAnswers.text.words.h = 130

return
{
    story_01_arrival =
    {
        -- The pointer reaches the pages' buttons through the episode.
        mouse = true,
        nextStep = Page("harbourmaster", "plot_arrival_1",
            Continue(Page("aunt", "plot_arrival_2", Continue(kAnswers)))),
    },
}
