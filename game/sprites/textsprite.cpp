#include "game/sprites/textsprite.h"

#include <algorithm>

#include "core/scripting/luaobject.h"
#include "core/windows/platformlink.h"
#include "foundation/stringtable.h"
#include "graphics/render/renderer.h"
#include "graphics/text/textlayout.h"
#include "lua/numbercast.h"

namespace {

const TColor4f kDefaultShadow(0, 0, 0, 0.5f);

int IntAt(const TLuaTable& table, int index, int def) {
    return script::truncateNumber<int>(table.GetNumberAt(index, def));
}

int IntOf(const TLuaTable& table, const char* name, int def) {
    return script::truncateNumber<int>(table.GetNumber(name, def));
}

float FloatAt(const TLuaTable& table, int index, float def) {
    return static_cast<float>(table.GetNumberAt(index, def));
}

// "#word" is the word itself; other labels are looked up in the string table.
TString LocalizeLabel(const TString& label) {
    if (label.Length() > 0 && label.CharAt(0) == '#') return label.SubString(1);
    TPlatformLink* platform = GetPlatformLink();
    const TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    return strings ? strings->GetString(label) : label;
}

// A colour channel as two hexadecimal digits.
int ChannelByte(float channel) {
    return static_cast<int>(std::clamp(channel, 0.0f, 1.0f) * 255);
}

}  // namespace

std::shared_ptr<VTextSprite> VTextSprite::Create() {
    auto sprite = std::make_shared<VTextSprite>();
    Adopt(sprite);
    return sprite;
}

VTextSprite::VTextSprite() : VSprite(TString(), 0) {
    SetMouseEnabled(false);
}

VTextSprite::~VTextSprite() = default;

int VTextSprite::LayoutWidth(int boxWidth) const {
    return std::max(0, boxWidth - mSettings.marginLeftRight);
}

int VTextSprite::LayoutHeight(int boxHeight) const {
    return std::max(0, boxHeight - mSettings.marginTopBottom);
}

TTextLayout* VTextSprite::GetLayout() {
    if (mLayout) return mLayout.get();
    const Settings& s = mSettings;
    mLayout = TTextLayout::Create(LayoutWidth(s.box.right - s.box.left), LayoutHeight(s.box.bottom - s.box.top), s.font,
                                  s.fontSize, s.colour, s.flags, TString());
    mLayout->SetRotation(s.rotation, static_cast<float>(static_cast<int>(s.rotationOrigin.x)),
                         static_cast<float>(static_cast<int>(s.rotationOrigin.y)));
    if (s.text.Length() > 0) SetText(s.text);
    return mLayout.get();
}

void VTextSprite::RebuildLayout() {
    mLayout.reset();
    GetLayout();
}

TRect VTextSprite::GetTextBounds() {
    if (!mLayout) return TRect();
    TRect extents = mLayout->GetExtents(mSettings.scale);
    int marginRight = mSettings.marginLeftRight - mSettings.marginLeft;
    int marginBottom = mSettings.marginTopBottom - mSettings.marginTop;
    return TRect(extents.left - mSettings.marginLeft, extents.top - mSettings.marginTop, extents.right + marginRight,
                 extents.bottom + marginBottom);
}

void VTextSprite::SetFont(const TString& name) {
    if (name == mSettings.font) return;
    mSettings.font = name;
    RebuildLayout();
}

void VTextSprite::SetFontSize(int size) {
    mSettings.fontSize = size;
    if (mLayout) mLayout->SetLineHeight(size);
}

void VTextSprite::SetFlags(int flags) {
    if (flags == mSettings.flags) return;
    mSettings.flags = flags;
    RebuildLayout();
}

void VTextSprite::SetBold(bool bold) {
    if (bold == mSettings.bold) return;
    mSettings.bold = bold;
    if (mSettings.text.Length() > 0) SetText(mSettings.text);
}

void VTextSprite::SetItalic(bool italic) {
    if (italic == mSettings.italic) return;
    mSettings.italic = italic;
    if (mSettings.text.Length() > 0) SetText(mSettings.text);
}

void VTextSprite::SetOutline(const TColor4f& colour, int size) {
    if (size == mSettings.outlineSize && colour == mSettings.outlineColour) return;
    mSettings.outlineSize = size;
    mSettings.outlineColour = colour;
    if (mSettings.text.Length() > 0) SetText(mSettings.text);
}

TString VTextSprite::GetMarkedUpText() const {
    const Settings& s = mSettings;
    TString text = s.text;
    if (s.bold) text = TString::Format("<b>%s</b>", text.c_str());
    if (s.italic) text = TString::Format("<i>%s</i>", text.c_str());
    if (s.outlineSize != 0) {
        text = TString::Format("<outline color='%.2x%.2x%.2x' size=%i>%s</outline>", ChannelByte(s.outlineColour.r),
                               ChannelByte(s.outlineColour.g), ChannelByte(s.outlineColour.b), s.outlineSize,
                               text.c_str());
    }
    return text;
}

void VTextSprite::SetText(const TString& text) {
    TString kept = text;  // the argument may be the stored text
    mSettings.text = TString();
    TTextLayout* layout = GetLayout();
    mSettings.text = kept;
    if (layout) layout->SetText(GetMarkedUpText());
}

void VTextSprite::SetColor(const TColor4f& colour) {
    mSettings.colour = colour;
    if (mLayout) mLayout->SetColor(colour);
}

void VTextSprite::SetBoxSize(int width, int height) {
    mSettings.box.right = width + mSettings.box.left;
    mSettings.box.bottom = height + mSettings.box.top;
    if (mLayout) mLayout->SetSize(LayoutWidth(width), LayoutHeight(height));
}

void VTextSprite::CopyTextTo(const std::shared_ptr<VTextSprite>& target) {
    if (!target || target.get() == this) return;
    CopyTo(target);
    target->mLayout.reset();
    target->mSettings = mSettings;
    if (mSettings.text.Length() > 0) target->GetLayout();
}

void VTextSprite::Draw(const TDrawState& parentState, int) {
    if (!mLayout || !IsVisible()) return;
    const Settings& s = mSettings;
    TDrawState composed = TDrawState::Compose(mDrawState, parentState);
    // The text is drawn in screen coordinates, the sprites in their window's.
    TRenderer* renderer = TRenderer::GetInstance();
    TRect view = renderer ? renderer->GetViewRect() : TRect();
    int x = static_cast<int>(composed.matrix.m[2][0] + 0.5f) + s.marginLeft + view.left;
    int y = static_cast<int>(composed.matrix.m[2][1] + 0.5f) + s.marginTop + view.top;
    TRect rect(x + s.box.left, y + s.box.top, x + s.box.right, y + s.box.bottom);
    if (s.shadowOffset.x != 0 || s.shadowOffset.y != 0) {
        int dx = static_cast<int>(s.shadowOffset.x + 0.5f);
        int dy = static_cast<int>(s.shadowOffset.y + 0.5f);
        mLayout->SetColor(s.shadowColour);
        mLayout->DrawInRect(TRect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy), s.scale, 0,
                            s.shadowColour.a * composed.alpha);
        mLayout->SetColor(s.colour);
    }
    mLayout->DrawInRect(rect, s.scale, 0, composed.alpha);
}

// Loading

void VTextSprite::Load(const TLuaTable& description) {
    Settings& s = mSettings;
    SetSpriteLayer(IntOf(description, "spriteLayer", GetSpriteLayer()));
    SetLayer(IntOf(description, "layer", GetLayer()));
    SetName(description.GetString("name", GetName()));
    TString label = description.GetString("label", TString());
    s.text = label.Length() > 0 ? LocalizeLabel(label) : TString();
    s.scale = static_cast<float>(description.GetNumber("scale", s.scale));
    s.box = TRect(0, 0, IntOf(description, "w", s.box.right), IntOf(description, "h", s.box.bottom));
    TVec2 position = GetPosition();
    SetPosition(TVec2(static_cast<float>(description.GetNumber("x", position.x)),
                      static_cast<float>(description.GetNumber("y", position.y))));
    s.bold = description.GetBool("bold", s.bold);
    s.italic = description.GetBool("italic", s.italic);
    if (std::unique_ptr<TLuaTable> margin{description.GetTable("margin")}) {
        s.marginLeft = IntAt(*margin, 1, 0);
        s.marginTop = IntAt(*margin, 2, 0);
        s.marginLeftRight = s.marginLeft + IntAt(*margin, 3, 0);
        s.marginTopBottom = s.marginTop + IntAt(*margin, 4, 0);
    }
    s.flags = IntOf(description, "flags", s.flags);
    LoadFont(description);
    LoadEffects(description);
    if (mLayout || s.text.Length() > 0) RebuildLayout();
}

void VTextSprite::LoadFont(const TLuaTable& description) {
    std::unique_ptr<TLuaTable> font(description.GetTable("font"));
    if (!font) return;
    mSettings.font = font->GetStringAt(1, mSettings.font);
    mSettings.fontSize = IntAt(*font, 2, mSettings.fontSize);
    mSettings.colour = font->GetColorAt(3, mSettings.colour);
}

void VTextSprite::LoadEffects(const TLuaTable& description) {
    Settings& s = mSettings;
    if (std::unique_ptr<TLuaTable> outline{description.GetTable("outline")}) {
        s.outlineColour = outline->GetColorAt(1, s.outlineColour);
        s.outlineSize = IntAt(*outline, 2, s.outlineSize);
    }
    if (std::unique_ptr<TLuaTable> rotation{description.GetTable("rotation")}) {
        s.rotationOrigin = TVec2(FloatAt(*rotation, 1, s.rotationOrigin.x), FloatAt(*rotation, 2, s.rotationOrigin.y));
        s.rotation = FloatAt(*rotation, 3, s.rotation);
    }
    if (std::unique_ptr<TLuaTable> shadow{description.GetTable("shadow")}) {
        s.shadowOffset = TVec2(FloatAt(*shadow, 1, s.shadowOffset.x), FloatAt(*shadow, 2, s.shadowOffset.y));
        s.shadowColour = shadow->GetColorAt(3, kDefaultShadow);
    }
}
