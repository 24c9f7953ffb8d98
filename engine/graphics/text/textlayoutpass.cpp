#include "graphics/text/textlayoutpass.h"

#include <algorithm>
#include <cmath>

#include "foundation/debuglog.h"
#include "graphics/text/fontmap.h"
#include "graphics/text/markup.h"
#include "graphics/text/vecfont.h"

namespace {

// Quarter pixels from the line's start to its first glyph's ink.
constexpr float kLineStartInset = 4;
// The outline a tag without a size draws.
constexpr int kDefaultOutlineSize = 2;

}  // namespace

TTextLayoutPass::TTextLayoutPass(const TString& text, int width, const TTextFont& base, int flags, TFontMap& fonts,
                                 bool legacyWrap)
    : mText(text),
      mWidth(width),
      mFlags(flags),
      mFonts(fonts),
      mDefaultFont(fonts.Get(TFontMap::kDefaultFontFile)),
      mLegacyWrap(legacyWrap) {
    mFormat.Reset(base);
}

TTextLayoutPass::TLines TTextLayoutPass::Run() {
    TLines lines;
    int position = 0;
    while (position < mText.Length()) {
        auto line = std::make_shared<TTextLine>();
        position = LayLine(position, *line);
        lines.push_back(std::move(line));
    }
    return lines;
}

int TTextLayoutPass::LayLine(int position, TTextLine& line) {
    TLineState state;
    OpenRun(line, state, position, false);
    const char* bytes = mText.c_str();
    int length = mText.Length();
    while (position < length) {
        if (bytes[position] == '<') {
            TMarkupTag tag;
            int end = 0;
            if (tag.Read(mText, position, end)) {
                position = end;
                if (ApplyTag(tag, line, state)) return FinishLine(line, state, position);
                OpenRun(line, state, position, false);
                continue;
            }
        }
        if (bytes[position] == '\n') return FinishLine(line, state, position + 1);
        int start = position;
        // A backslash makes the next character literal; a last one is dropped.
        if (bytes[position] == '\\' && ++position >= length) break;
        uint32_t code = 0;
        int next = DecodeUtf8(mText, position, code);
        switch (PlaceCharacter(line, state, code, start, next)) {
            case kBreakAtSpace:
                return FinishLine(line, state, state.spaceBreak.position);
            case kBreakAfter:
                return FinishLine(line, state, next);
            case kBreakBefore:
                return FinishLine(line, state, start);
            case kPlaced:
            case kSkipped:
                break;
        }
        position = next;
    }
    return FinishLine(line, state, length);
}

TVecFont* TTextLayoutPass::FontFor(const TString& face) {
    TVecFont* font = mFonts.Get(face.Length() > 0 ? face : TString(TFontMap::kDefaultFontName));
    if (!font && !mMissingFontLogged) {
        DebugLog("ERROR: FONT missing in text when attempting to render string %s.", mText.c_str());
        mMissingFontLogged = true;
    }
    return font;
}

void TTextLayoutPass::OpenRun(TTextLine& line, TLineState& state, int position, bool onFallback) {
    const TTextFont& entry = mFormat.GetFont();
    TTextRun run;
    run.font = FontFor(entry.face);
    run.fallbackFont = onFallback ? mDefaultFont : nullptr;
    run.size = entry.size;
    run.colour = entry.colour;
    run.linkColour = mFormat.colour;
    run.bold = mFormat.bold;
    run.italic = mFormat.italic;
    run.underline = mFormat.underline;
    run.outlineSize = mFormat.outlineSize;
    run.outlineColour = mFormat.outlineColour;
    run.linkId = mFormat.linkId;
    run.first = position;
    run.last = position - 1;
    run.tabPos = state.tabPos;
    state.tabPos = 0;
    if (const TVecFont* font = run.DrawingFont()) {
        float height = font->GetAscent() + font->GetDescent();
        if (height > 0) run.scale = TVecFont::GetContentFraction() * run.size * 4 / height;
        run.baseline = static_cast<int>((font->GetAscent() + font->GetLinePadding(true)) * run.scale);
        // Italic glyphs lean right: entering italic makes room below the
        // baseline, leaving it room above.
        if (!line.runs.empty() && line.runs.back().italic != run.italic) {
            state.pen += run.scale / 3 * (run.italic ? font->GetDescent() : font->GetAscent());
        }
    }
    run.startX = run.endX = state.pen / 4;
    line.runs.push_back(std::move(run));
}

bool TTextLayoutPass::ApplyTag(const TMarkupTag& tag, TTextLine& line, TLineState& state) {
    TColor4f colour;
    switch (tag.GetKind()) {
        case TMarkupTag::kBreak:
            state.pad += tag.GetIntAttribute("pad", 0);
            return true;
        case TMarkupTag::kEndParagraph:
            return true;
        case TMarkupTag::kLink:
            mFormat.linkId = tag.GetAttribute("id");
            if (ParseMarkupColor(tag.GetAttribute("color"), false, colour)) mFormat.colour = colour;
            break;
        case TMarkupTag::kEndLink:
            mFormat.linkId = TString();
            mFormat.colour = mFormat.GetFont().colour;
            break;
        case TMarkupTag::kBold:
        case TMarkupTag::kEndBold:
            mFormat.bold = tag.GetKind() == TMarkupTag::kBold;
            break;
        case TMarkupTag::kItalic:
        case TMarkupTag::kEndItalic:
            mFormat.italic = tag.GetKind() == TMarkupTag::kItalic;
            break;
        case TMarkupTag::kUnderline:
        case TMarkupTag::kEndUnderline:
            mFormat.underline = tag.GetKind() == TMarkupTag::kUnderline;
            break;
        case TMarkupTag::kCursor:
            line.runs.back().cursor = true;
            break;
        case TMarkupTag::kCenter:
        case TMarkupTag::kLeft:
        case TMarkupTag::kRight:
            mFormat.PushAlignment(tag.GetKind() == TMarkupTag::kCenter  ? TTextFormat::kAlignCentre
                                  : tag.GetKind() == TMarkupTag::kRight ? TTextFormat::kAlignRight
                                                                        : TTextFormat::kAlignLeft);
            state.heldAlignment = true;
            break;
        case TMarkupTag::kEndCenter:
        case TMarkupTag::kEndLeft:
        case TMarkupTag::kEndRight:
            mFormat.PopAlignment();
            state.heldAlignment = true;
            break;
        case TMarkupTag::kFont:
            PushFont(tag);
            break;
        case TMarkupTag::kEndFont:
            mFormat.PopFont();
            mFormat.colour = mFormat.GetFont().colour;
            break;
        case TMarkupTag::kOutline:
            mFormat.outlineSize = static_cast<float>(tag.GetIntAttribute("size", kDefaultOutlineSize));
            mFormat.outlineColour = TColor4f();
            ParseMarkupColor(tag.GetAttribute("color"), false, mFormat.outlineColour);
            break;
        case TMarkupTag::kEndOutline:
            mFormat.outlineSize = 0;
            mFormat.outlineColour = TColor4f();
            break;
        case TMarkupTag::kTab:
            state.tabPos = tag.GetIntAttribute("pos", 0);
            state.pen = static_cast<float>(state.tabPos) * 4;
            break;
        case TMarkupTag::kUnknown:
            break;
    }
    return false;
}

void TTextLayoutPass::PushFont(const TMarkupTag& tag) {
    TTextFont font = mFormat.GetFont();
    font.size = tag.GetIntAttribute("size", font.size);
    ParseMarkupColor(tag.GetAttribute("color"), true, font.colour);
    TString face = tag.GetAttribute("face");
    if (face.Length() > 0) font.face = face;
    mFormat.PushFont(font);
    mFormat.colour = mFormat.GetFont().colour;
}

void TTextLayoutPass::SwitchFontFor(TTextLine& line, TLineState& state, uint32_t code, int position) {
    const TTextRun& run = line.runs.back();
    bool inFace = run.font && run.font->FindGlyph(code) >= 0;
    if (run.fallbackFont) {
        if (inFace) OpenRun(line, state, position, false);
    } else if (!inFace && mDefaultFont && mDefaultFont != run.font && mDefaultFont->FindGlyph(code) >= 0) {
        OpenRun(line, state, position, true);
    }
}

TTextLayoutPass::TPlacement TTextLayoutPass::PlaceCharacter(TTextLine& line, TLineState& state, uint32_t code,
                                                            int position, int next) {
    if (code == kNoCharacter) return kSkipped;
    SwitchFontFor(line, state, code, position);
    TTextRun& run = line.runs.back();
    const TVecFont* font = run.DrawingFont();
    int glyph = font ? font->FindGlyph(code) : -1;
    if (glyph < 0) return kSkipped;

    TTextRun before = run;
    float advance = font->GetAdvance(glyph) * run.scale;
    float right = font->GetRightExtent(glyph) * run.scale;
    bool firstOfLine = !state.placedAny;
    if (firstOfLine) state.pen += kLineStartInset - font->GetLeftExtent(glyph) * run.scale;
    if (!run.HasCharacters()) {
        run.first = position;
        run.startX = state.pen / 4;
    }
    run.last = next - 1;
    state.pen += std::max(advance, right);
    run.endX = state.pen / 4;
    state.placedAny = true;
    if (code == ' ') {
        state.spaceBreak = {true, next, mFormat, line.runs.size(), run.last, run.endX, state.heldAlignment};
    }
    if (!firstOfLine && Overflows(line, run, state.pen)) {
        if (state.spaceBreak.valid) {
            BreakAtSpace(line, state);
            return kBreakAtSpace;
        }
        if (mLegacyWrap) return kBreakAfter;
        run = before;
        return kBreakBefore;
    }
    // The ink past the advance does not move the next glyph.
    if (right > advance) state.pen -= right - advance;
    return kPlaced;
}

bool TTextLayoutPass::Overflows(const TTextLine& line, const TTextRun& run, float pen) const {
    float outlines = line.runs.front().outlineSize + 1 + run.outlineSize;
    return std::lround(pen + outlines * 4) > static_cast<long>(mWidth) * 4;
}

void TTextLayoutPass::BreakAtSpace(TTextLine& line, TLineState& state) {
    TSpaceBreak& at = state.spaceBreak;
    line.runs.resize(at.runCount);
    line.runs.back().last = at.last;
    line.runs.back().endX = at.endX;
    mFormat = at.format;
    state.heldAlignment = at.heldAlignment;
}

int TTextLayoutPass::FinishLine(TTextLine& line, const TLineState& state, int next) {
    for (const TTextRun& run : line.runs) {
        line.height = std::max(line.height, run.size);
        line.baseline = std::max(line.baseline, run.baseline);
    }
    line.height += state.pad;
    std::erase_if(line.runs, [](const TTextRun& run) { return !run.HasCharacters() && !run.cursor; });

    float width = line.GetWidth();
    switch (LineAlignment(state)) {
        case TTextFormat::kAlignCentre:
            line.x = mWidth / 2;
            line.origin = -width / 2;
            break;
        case TTextFormat::kAlignRight:
            // The line's end on the box's last pixel.
            line.x = mWidth - 1;
            line.origin = -width;
            break;
        default:
            line.x = 0;
            line.origin = 0;
            break;
    }
    return next;
}

int TTextLayoutPass::LineAlignment(const TLineState& state) {
    if (state.heldAlignment) {
        mAlignmentSeen = true;
        mAlignment = mFormat.GetAlignment();
    }
    if (mAlignmentSeen) return mAlignment;
    if (mFlags & 1) return TTextFormat::kAlignCentre;
    if (mFlags & 2) return TTextFormat::kAlignRight;
    return TTextFormat::kAlignLeft;
}
