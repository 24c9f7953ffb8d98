#include "game/menus/credits.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "runtime/platform.h"
#include "core/windows/platformlink.h"
#include "core/windows/windowmanagerlink.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "foundation/readfile.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "game/widgets/widgetclass.h"
#include "graphics/render/renderer.h"
#include "graphics/text/textlayout.h"
#include "widgets/text.h"

namespace {

// What a 1024-byte line reader takes at most, the line end included.
constexpr size_t kLineBytes = 1023;
constexpr int kDefaultLineHeight = 16;
constexpr uint32_t kFrameMilliseconds = 16;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// One piece of a line as a text line: trimmed, brackets as colour tags.
void AppendPiece(TString& text, std::string_view piece, const TString& headerColour) {
    for (char c : Trim(piece)) {
        if (c == '[') {
            text += TString::Format("<font color='%s'>", headerColour.c_str());
        } else if (c == ']') {
            text += "</font>";
        } else if (c != '\0') {
            text += c;
        }
    }
    text += '\n';
}

void AppendLine(TCreditsTexts& texts, std::string_view line, const TString& headerColour) {
    size_t bar = line.find('|');
    if (bar == std::string_view::npos) {
        texts.left += '\n';
        texts.right += '\n';
        AppendPiece(texts.full, line, headerColour);
        return;
    }
    AppendPiece(texts.left, line.substr(0, bar), headerColour);
    AppendPiece(texts.right, line.substr(bar + 1), headerColour);
    texts.full += '\n';
}

// The line's text without its end: LF, or CR LF.
std::string_view WithoutLineEnd(std::string_view line) {
    if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

TString HeaderColourText(const TColor4f& colour) {
    auto byte = [](float channel) { return static_cast<unsigned>(static_cast<int>(channel * 255.0f)) & 0xFFu; };
    return TString::Format("%02x%02x%02x%02x", byte(colour.r), byte(colour.g), byte(colour.b), byte(colour.a));
}

}  // namespace

TCreditsTexts MakeCreditsTexts(std::string_view file, const TString& headerColour) {
    TCreditsTexts texts;
    while (!file.empty()) {
        size_t end = file.find('\n');
        size_t length = end == std::string_view::npos ? file.size() : end + 1;
        length = std::min(length, kLineBytes);
        AppendLine(texts, WithoutLineEnd(file.substr(0, length)), headerColour);
        file.remove_prefix(length);
    }
    return texts;
}

float CreditsScrollOffset(uint32_t elapsed, int introPause, int period, int textHeight) {
    if (period <= 0 || textHeight <= 0) return 0.0f;
    uint32_t pause = introPause > 0 ? static_cast<uint32_t>(introPause) : 0;
    uint32_t scrolled = elapsed < pause ? 0 : elapsed - pause;
    // 64 bits: a long text's height times a period's milliseconds passes 2^32.
    uint64_t product = static_cast<uint64_t>(scrolled % static_cast<uint32_t>(period)) * static_cast<uint64_t>(textHeight);
    return static_cast<float>(static_cast<double>(product) / period);
}

float CreditsLineAlpha(float top, int lineHeight, int areaHeight) {
    if (lineHeight <= 0) return 0.0f;
    float height = static_cast<float>(lineHeight);
    float nearestEdge = std::min(top, static_cast<float>(areaHeight) - top - height);
    return std::clamp(nearestEdge / height, 0.0f, 1.0f);
}

TWindow* TCredits::Create() {
    return new TCredits();
}

TCredits::TCredits() : mTextColour(1, 1, 1, 1) {}

TCredits::~TCredits() = default;

const char* TCredits::GetClassName() const {
    return "TCredits";
}

bool TCredits::IsA(TWindowClassId id) const {
    return IsClassIdIn(id, {ClassId(), TWindow::ClassId()});
}

void TCredits::Init(const TWindowStyle& style) {
    TWindow::Init(style);
    ReadKeys(style);
    std::string file;
    if (mFileName.Length() > 0 && !ReadWholeFile(mFileName, file)) file.clear();
    CreateLayouts(MakeCreditsTexts(file, mHeaderColour));
    StartAnimation(static_cast<int32_t>(kFrameMilliseconds), true, true, false);
}

void TCredits::ReadKeys(const TWindowStyle& style) {
    mFontName = style.GetString("font", TString());
    mLineHeight = static_cast<int>(style.GetNumber("fontsize", kDefaultLineHeight));
    if (mLineHeight <= 0) {
        DebugLog("TCredits: fontsize %d is no height; %d instead", mLineHeight, kDefaultLineHeight);
        mLineHeight = kDefaultLineHeight;
    }
    mColumnGap = style.GetInt("columngap", 0);
    mTime = style.GetInt("time", 0);
    if (mTime <= 0) DebugLog("TCredits: time %d is no period; the credits stand still", mTime);
    mIntroPause = style.GetInt("intropause", 0);
    mColumnWidth = style.GetInt("columnwidth", 0);
    mTextColour = style.GetColor("fontcolor", TColor4f(1, 1, 1, 1));
    mHeaderColour = HeaderColourText(style.GetColor("headercolor", TColor4f(1, 1, 1, 1)));
    mFileName = style.GetString("file", TString());
}

void TCredits::CreateLayouts(TCreditsTexts texts) {
    int blankLines = GetHeight() / mLineHeight;
    for (TString* text : {&texts.left, &texts.right, &texts.full}) {
        for (int i = 0; i < blankLines; ++i) *text += '\n';
        *text += TString(*text);
    }
    const int height = GetHeight();
    mLeft = TTextLayout::Create(mColumnWidth, height, mFontName, mLineHeight, mTextColour, 1, texts.left);
    mRight = TTextLayout::Create(mColumnWidth, height, mFontName, mLineHeight, mTextColour, 1, texts.right);
    mFull = TTextLayout::Create(mColumnGap + 2 * mColumnWidth, height, mFontName, mLineHeight, mTextColour, 1,
                                texts.full);
    mHalfHeight = mLeft ? mLeft->GetExtents(1.0f).bottom / 2 : 0;
    mStarted = false;
}

void TCredits::PostInit(const TWindowStyle& style) {
    TWindow::PostInit(style);
    TWindow* parent = GetParent();
    auto* version = dynamic_cast<TText*>(parent ? parent->FindChildWindow("credits_version", 1) : nullptr);
    TPlatformLink* platform = GetPlatformLink();
    const TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    if (version && strings) version->SetText(strings->GetString("app_version", GetSetting("version", TString())));
}

void TCredits::Draw() {
    TPlatform* platform = TPlatform::GetInstance();
    if (!platform || !mLeft || !mRight || !mFull) return;
    uint32_t now = platform->Timer();
    if (!mStarted) {
        mStartTime = now;
        mStarted = true;
    }
    mScrollLine = CreditsScrollOffset(now - mStartTime, mIntroPause, mTime, mHalfHeight) / mLineHeight;
    const int middle = GetWidth() / 2;
    TBegin2dScope scope;
    // Whole lines inside the window only: the window's edges would cut the
    // others through their middle.
    for (int line = static_cast<int>(std::ceil(mScrollLine));; ++line) {
        float top = (static_cast<float>(line) - mScrollLine) * static_cast<float>(mLineHeight);
        if (top + static_cast<float>(mLineHeight) > static_cast<float>(GetHeight())) break;
        float alpha = CreditsLineAlpha(top, mLineHeight, GetHeight());
        if (alpha <= 0) continue;
        DrawLine(*mLeft, line, mColumnGap, top, alpha);
        DrawLine(*mRight, line, middle + mColumnGap / 2, top, alpha);
        DrawLine(*mFull, line, mColumnGap, top, alpha);
    }
}

void TCredits::DrawLine(TTextLayout& layout, int line, int left, float top, float alpha) const {
    // Layouts draw in screen coordinates.
    TPoint origin = LocalToGlobal(TPoint(0, 0));
    layout.SetFirstVisibleLine(static_cast<float>(line));
    // Half a pixel over the line's height: the layout's float sums must not
    // find the line too tall, and the next line is a whole height away.
    layout.Draw(TVec2(static_cast<float>(origin.x + left), static_cast<float>(origin.y) + top),
                static_cast<float>(mLineHeight) + 0.5f, 1.0f, 0, alpha);
}

bool TCredits::Animate() {
    if (TWindowManagerLink* manager = GetWindowManagerLink()) manager->Invalidate();
    return true;
}

TTextLayout* TCredits::GetLayout(int index) const {
    switch (index) {
        case 0: return mLeft.get();
        case 1: return mRight.get();
        case 2: return mFull.get();
        default: return nullptr;
    }
}
