#include "widgets/text.h"

#include <cstring>

#include "core/scripting/luaobject.h"
#include "core/windows/buttonlink.h"
#include "core/windows/modalwindowlink.h"
#include "core/windows/platformlink.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "foundation/stringtable.h"
#include "graphics/render/renderer.h"
#include "graphics/text/fontmap.h"

namespace {

constexpr int kDefaultFontSize = 16;
// A font size of 0 stands for this one.
constexpr int kZeroFontSize = 12;
const TColor4f kDefaultColour(0.0f, 1.0f, 0.0f, 1.0f);

// Bits of "rotationAlign".
enum : int {
    kOriginXCentre = 1,
    kOriginXFar = 2,
    kOriginYCentre = 4,
    kOriginYFar = 8,
};

bool IsNumber(const TString& label) {
    return std::strspn(label.c_str(), "0123456789.") == static_cast<size_t>(label.Length());
}

}  // namespace

TWindow* TText::Create() {
    return new TText();
}

TText::TText(bool cacheable) {
    if (cacheable) SetKindFlags(kCacheable);
}

TText::~TText() = default;

const char* TText::GetClassName() const {
    return "TText";
}

bool TText::IsA(TWindowClassId id) const {
    return id == ClassId() || TWindow::IsA(id);
}

TText* CastToTText(TWindow* window) {
    return window && window->IsA(TText::ClassId()) ? static_cast<TText*>(window) : nullptr;
}

TString TText::LocalizeLabel(const TString& label) {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (!manager || !manager->IsUtf8Mode()) return label;
    if (label.Length() > 0 && label.CharAt(0) == '#') return label.SubString(1);
    if (IsNumber(label)) return label;
    TPlatformLink* platform = GetPlatformLink();
    const TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    if (!strings) return label;
    return strings->GetString(label, TString(), TString(), TString(), TString(), TString());
}

void TText::Init(const TWindowStyle& style) {
    TWindow::Init(style);
    TString face = TFontMap::kDefaultFontName;
    int size = kDefaultFontSize;
    TColor4f colour = kDefaultColour;
    if (std::unique_ptr<TLuaTable> font{style.GetTable("font")}) {
        face = font->GetStringAt(1, face);
        size = static_cast<int>(font->GetNumberAt(2, size));
        colour = font->GetColorAt(3, colour);
    }
    if (size == 0) size = kZeroFontSize;
    TString label = LocalizeLabel(style.GetString("label", TString()));
    int flags = style.GetInt("flags", style.GetInt("defflags", 0));
    int padding = style.GetInt("padding", 0);
    if (GetWidth() == 0 || GetHeight() == 0) {
        DebugLog("ERROR: Attempting to create text window of size(0,0): named '%s', label '%s'", GetName().c_str(),
                 label.c_str());
        return;
    }
    CreateLayout(GetWidth(), GetHeight(), padding, face, size, colour, flags, label);
    ApplyRotation(style);
}

void TText::ApplyRotation(const TWindowStyle& style) {
    float degrees = static_cast<float>(style.GetNumber("rotation", 0));
    if (degrees == 0) return;
    int align = style.GetInt("rotationAlign", 0);
    int originX = style.GetInt("rotationOriginX", 0);
    int originY = style.GetInt("rotationOriginY", 0);
    int width = GetWidth();
    int height = GetHeight();
    ResolveCoordinate(originX, width, true, align & kOriginXCentre, align & kOriginXFar, false);
    ResolveCoordinate(originY, height, false, align & kOriginYCentre, align & kOriginYFar, false);
    SetRotation(degrees, static_cast<float>(originX), static_cast<float>(originY));
}

bool TText::CreateLayout(int width, int height, int padding, const TString& face, int size, const TColor4f& colour,
                         int flags, const TString& text) {
    if (width == 0 || height == 0) return false;
    mLayout = TTextLayout::Create(width, height, face, size, colour, flags, text);
    mPadding = padding;
    SetSize(width, height);
    return true;
}

void TText::Redraw() {
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->Invalidate();
}

void TText::SetText(const TString& text) {
    if (!mLayout) return;
    TString old = mLayout->GetText();
    if (text == old) return;
    if (old.Length() > 0) Redraw();
    mLayout->SetText(text);
}

TString TText::GetText() const {
    return mLayout ? mLayout->GetText() : TString();
}

void TText::SetRotation(float degrees, float originX, float originY) {
    if (mLayout) mLayout->SetRotation(degrees, originX, originY);
}

void TText::SetFontSize(int size) {
    if (!mLayout || size < 1 || size == mLayout->GetLineHeight()) return;
    mLayout->SetLineHeight(size);
    Redraw();
}

void TText::SetPadding(int padding) {
    if (padding == mPadding) return;
    mPadding = padding;
    Redraw();
}

TRect TText::GetTextExtents() const {
    return mLayout ? mLayout->GetExtents(1) : TRect();
}

void TText::Draw() {
    if (!mLayout) return;
    TBegin2dScope scope;
    mLayout->DrawInRect(GetGlobalRect(), mScale, mPadding, mAlpha);
}

void TText::Scroll(float fraction) {
    if (!mLayout) return;
    int lastPage = mLayout->CountLinesFitting(mScale, mPadding);
    mLayout->SetFirstVisibleLine((static_cast<float>(lastPage) + mScrollMargin) * fraction);
    Redraw();
}

bool TText::OnMouseDown(const TPoint& point) {
    if (!mLayout) return false;
    mPressedLink = mLayout->GetLinkAt(point, mPadding);
    return mPressedLink.Length() > 0;
}

bool TText::OnMouseMove(const TPoint& point) {
    if (!mLayout || !mLayout->SetHoverPoint(point, mPadding)) return false;
    Redraw();
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->CaptureMouse(this);
    return true;
}

bool TText::OnMouseLeave(const TPoint&) {
    if (!mLayout) return false;
    mLayout->ClearHover();
    Redraw();
    if (TWindowManager* manager = TWindowManager::GetInstance()) manager->ReleaseMouse(this);
    return true;
}

bool TText::OnMouseUp(const TPoint& point) {
    if (!mLayout || mPressedLink.Length() == 0) return false;
    TString pressed = mPressedLink;
    mPressedLink = TString();
    if (!(mLayout->GetLinkAt(point, mPadding) == pressed)) return true;
    auto* modal = dynamic_cast<TWindow*>(GetParentModal());
    TWindow* window = modal ? modal->FindChildWindow(pressed, -1) : nullptr;
    if (!window) {
        DebugLog("ERROR: Command window %s not found", pressed.c_str());
    } else if (auto* button = dynamic_cast<TButtonLink*>(window)) {
        button->Activate();
    } else {
        DebugLog("ERROR: Command window %s not a derived class of TButton", pressed.c_str());
    }
    return true;
}
