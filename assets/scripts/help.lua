-- How to play: ten pages, one a layer of the help book, with the page's
-- title above, the page counter and Back and Next below, and Done.
ReadFile("scripts/dialogparts.lua")

local kPageFont = { "myriad_pro", 28, Color(255, 236, 200) }

-- Back and Next: oval buttons that the book disables at its first and last
-- page, when they turn grey.
local function PageButton(name, x, label)
    return RDisableButton
    {
        name = name, x = x, y = 270, graphics = kOvalButtonImages,
        Text
        {
            name = "label", x = 0, y = 0, w = 220, h = 60, label = label, font = kButtonFont,
            flags = kHAlignCenter + kVAlignCenter,
        },
    }
end

local book = { name = "help", x = 100, y = 130, w = 600, h = 340 }
for page = 0, 9 do
    table.insert(book, SelectLayer(page))
    table.insert(book, Bitmap
    {
        name = "help_picture_" .. page, x = 40, y = 0, image = "ui/help/page_" .. page .. ".png",
    })
    table.insert(book, Text
    {
        name = "help_text_" .. page, x = 40, y = 150, w = 520, h = 110, label = "help_page_" .. page,
        font = kPageFont, flags = kHAlignCenter + kVAlignCenter,
    })
end
table.insert(book, SelectLayer(kAllLayers))
table.insert(book, PageButton("btn_back", 0, "button_back"))
table.insert(book, Text
{
    name = "txt_page", x = 220, y = 270, w = 160, h = 60, font = kPageFont, flags = kHAlignCenter + kVAlignCenter,
})
table.insert(book, PageButton("btn_next", 380, "button_next"))

MakeDialog
{
    Backdrop
    {
        TitleText("txt_title", nil, 40, 70, 52),
        VHelpWindow(book),
        OvalButton("done", 290, 500, "button_done", function() CloseWindow() end, kPressedByEnterAndEscape),
    },
}
SetPage(0)
