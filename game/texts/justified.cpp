#include "game/texts/justified.h"

#include "game/utilities/draw2dscope.h"
#include "game/utilities/trimspaces.h"
#include "game/widgets/widgetclass.h"
#include "graphics/text/textlayout.h"

namespace {

const char* const kFont = "fonts/myriad_pro.mvec";
constexpr int kLineHeight = 15;

int ExtentWidth(TTextLayout& layout) {
    TRect extent = layout.GetExtents(1.0f);
    return extent.right - extent.left;
}

}  // namespace

const char* const RJustified::kSampleText =
    "Hello this is sample text that I'll be using to justify. This is only a test! "
    "Hello this is sample text that I'll be using to justify. This is only a test!";

TWindow* RJustified::Create() {
    return new RJustified();
}

const char* RJustified::GetClassName() const {
    return "RJustified";
}

bool RJustified::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), RWindow::ClassId(), TImage::ClassId(), TWindow::ClassId()});
}

RJustified::~RJustified() = default;

void RJustified::PostInit(const TWindowStyle& style) {
    RWindow::PostInit(style);
    mText = kSampleText;
    const TColor4f black(0, 0, 0, 1);
    mLeft = TTextLayout::Create(GetWidth(), GetHeight(), kFont, kLineHeight, black, 0, TString());
    mRight = TTextLayout::Create(GetWidth(), GetHeight(), kFont, kLineHeight, black, TTextLayout::kRight, TString());
    if (!mLeft || !mRight) return;
    std::vector<TString> lines = BreakLines(MeasureCharacters());
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const TString& line = lines[i];
        int space = line.FindChar(' ', 0, line.Length() / 2);
        if (space < 0) continue;
        AppendLine(*mLeft, line.SubString(0, space));
        AppendLine(*mRight, line.SubString(space + 1));
    }
    if (!lines.empty()) AppendLine(*mLeft, lines.back());
}

std::map<char, int> RJustified::MeasureCharacters() {
    std::map<char, int> widths;
    for (int i = 0; i < mText.Length(); ++i) {
        char c = mText.CharAt(i);
        if (widths.count(c)) continue;
        mLeft->SetText(TString::Format("%c", c));
        widths[c] = ExtentWidth(*mLeft);
    }
    mLeft->SetText(TString());
    return widths;
}

std::vector<TString> RJustified::BreakLines(const std::map<char, int>& widths) const {
    std::vector<TString> lines;
    TString line;
    int sum = 0;
    for (int i = 0; i < mText.Length(); ++i) {
        char c = mText.CharAt(i);
        line += c;
        sum += widths.at(c);
        // The character that overflows stays on the line it closes.
        if (sum > GetWidth() || i + 1 == mText.Length()) {
            lines.push_back(TrimSpaces(line));
            line = TString();
            sum = 0;
        }
    }
    return lines;
}

void RJustified::AppendLine(TTextLayout& layout, const TString& part) {
    layout.SetText(TString::Format("%s<br>%s", layout.GetText().c_str(), part.c_str()));
}

void RJustified::Draw() {
    RWindow::Draw();
    if (!mLeft || !mRight) return;
    TDraw2dScope scope;
    if (!scope.IsOpen()) return;
    mLeft->DrawInRect(GetClientRect(), 1.0f, 0, 1.0f);
    mRight->DrawInRect(GetClientRect(), 1.0f, 0, 1.0f);
}
