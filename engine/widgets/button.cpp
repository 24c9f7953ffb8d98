#include "widgets/button.h"

#include <algorithm>

#include "core/app/message.h"
#include "core/scripting/luaobject.h"
#include "core/scripting/script.h"
#include "core/windows/modalwindowlink.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowscriptlink.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "graphics/render/drawstate.h"
#include "graphics/texture.h"
#include "widgets/image.h"
#include "widgets/radiobuttonspider.h"
#include "widgets/text.h"
#include "widgets/widgetnotify.h"
#include "lua/lua.h"
#include "sound/sound.h"

namespace {

enum : int { kClickSound = 1, kRolloverSound = 2 };
// Layers 0 to 2 show the looks of a push button; toggles and radio buttons
// that are on show 1, 0 and 3.
constexpr int kOnLayers[3] = {1, 0, 3};
constexpr int kOffLayers[3] = {0, 1, 2};
// A mask pixel with every colour channel at most this is outside.
constexpr uint32_t kMaskThreshold = 19;

int LayerFor(int type, bool on, int look) {
    if (look < 0 || look > 2) return -1;
    if (type == TButton::kPush) return look;
    if (type == TButton::kToggle || type == TButton::kRadio) return on ? kOnLayers[look] : kOffLayers[look];
    return -1;
}

bool IsFunction(const TLuaFunction& value) {
    LuaPopState guard(value.GetState());
    value.Push();
    return lua_isfunction(value.GetState(), -1);
}

int ReturnFirstUpvalue(lua_State* L) {
    lua_pushvalue(L, lua_upvalueindex(1));
    return 1;
}

// "GetButtonName" answers the name as a value, so no name becomes script text.
void DefineButtonName(lua_State* L, const TString& name) {
    LuaPopState guard(L);
    PushLuaString(L, name);
    lua_pushcclosure(L, ReturnFirstUpvalue, 1);
    LuaSetGlobalProtected(L, "GetButtonName");
}

}  // namespace

// --- Actions ---

TButton::LuaAction::LuaAction(std::unique_ptr<TLuaFunction> function) : mFunction(std::move(function)) {}

TButton::LuaAction::~LuaAction() = default;

void TButton::LuaAction::Run(TButton& button) {
    TWindowManager* manager = TWindowManager::GetInstance();
    TWindowScriptLink* script = manager ? manager->GetWindowScript() : nullptr;
    if (!script) return;
    DefineButtonName(script->GetScript()->GetState(), button.GetName());
    script->QueueMessage(new TMessage(TMessage::kCommandOnly, TString("LuaAction:") + button.GetName(), nullptr),
                         mFunction.get());
}

// --- Class ---

TWindow* TButton::Create() {
    return new TButton();
}

TButton::TButton() : TLayeredWindow(kLayerCount) {}

TButton::~TButton() {
    OnMouseLeave(TPoint());
}

const char* TButton::GetClassName() const {
    return "TButton";
}

bool TButton::IsA(TWindowClassId id) const {
    return id == ClassId() || TLayeredWindow::IsA(id);
}

TButton* CastToTButton(TWindow* window) {
    return window && window->IsA(TButton::ClassId()) ? static_cast<TButton*>(window) : nullptr;
}

// --- Building ---

void TButton::Init(const TWindowStyle& style) {
    TLayeredWindow::Init(style);
    LoadSound(kClickSound, style.GetString("sound", TString()));
    LoadSound(kRolloverSound, style.GetString("rolloversound", TString()));
    LoadMask(style.GetString("mask", TString()));
    mTypeAndLook = static_cast<uint8_t>(style.GetInt("type", 0) & 0x0F);
    SetOption(kSendToParent, style.GetBool("sendToParent", false));
    SetOption(kClose, style.GetBool("close", false));
    uint32_t kinds = GetFlags() & 0xFF;
    if (style.GetBool("beginGroup", false)) kinds |= kGroupStart;
    if (style.GetBool("default", false)) kinds |= kDefaultButton;
    if (style.GetBool("cancel", false)) kinds |= kCancelButton;
    SetKindFlags(kinds);
    AddGraphics(style);
    if (style.GetBool("on", false)) SetToggleState(true);
    ReadCommand(style);
    // Children added from here on, such as the label, belong to every layer.
    SetLayer(kAllLayers);
}

void TButton::AddGraphics(const TWindowStyle& style) {
    std::unique_ptr<TLuaTable> graphics{style.GetTable("graphics")};
    if (!graphics) return;
    if (!graphics->IsTable()) {
        DebugLog("TButton::Init: the graphics of '%s' are no table", GetName().c_str());
        return;
    }
    float scale = static_cast<float>(style.GetNumber("scale", 1.0));
    int flags = (style.GetBool("hflip", false) ? TDrawState::kMirrorHorizontal : 0) |
                (style.GetBool("vflip", false) ? TDrawState::kMirrorVertical : 0);
    bool rotate = style.GetBool("rotate", false);
    int count = GetLookImageCount();
    for (int i = 0; i < count; ++i) {
        TString name = graphics->GetStringAt(i + 1);
        if (name.Length() == 0) continue;
        auto* image = new TImage();
        image->SetName(TString::Format("image%d", i));
        image->SetDrawFlags(flags);
        image->SetRotate(rotate);
        image->SetImage(TTexture::GetWithOptions(name, 0), scale);
        SetLayer(i);
        AddChild(image, false);
    }
    FitToChildren();
}

int TButton::GetLookImageCount() const {
    return GetType() == kPush ? 3 : kLayerCount;
}

void TButton::ReadCommand(const TWindowStyle& style) {
    std::unique_ptr<TLuaFunction> command{style.GetFunction("command")};
    if (!command) return;
    if (!IsFunction(*command)) {
        DebugLog("TButton::Init: the command of '%s' is no function", GetName().c_str());
        return;
    }
    SetLuaAction(std::move(command));
}

void TButton::LoadSound(int slot, const TString& name) {
    if (name.Length() > 0) mSounds[static_cast<size_t>(slot)] = TSound::Get(name, 1, 0);
}

void TButton::PlaySound(int slot) const {
    if (slot < 0 || slot >= static_cast<int>(mSounds.size())) return;
    if (const std::shared_ptr<TSound>& sound = mSounds[static_cast<size_t>(slot)]) sound->Play(false);
}

void TButton::LoadMask(const TString& name) {
    if (name.Length() == 0) return;
    std::shared_ptr<TTexture> image = TTexture::Get(name);
    uint32_t* pixels = nullptr;
    int pitch = 0;
    if (!image || !image->GetTextureData()->Lock(pixels, pitch)) {
        DebugLog("TButton::Init: the mask %s of '%s' cannot be read; the whole rectangle is hit", name.c_str(),
                 GetName().c_str());
        return;
    }
    // Kept as a copy: the texture may be released with the display.
    mMaskWidth = image->GetWidth();
    mMaskHeight = image->GetHeight();
    mMask.resize(static_cast<size_t>(mMaskWidth) * static_cast<size_t>(mMaskHeight));
    for (int row = 0; row < mMaskHeight; ++row) {
        const uint32_t* from = pixels + static_cast<ptrdiff_t>(row) * pitch;
        std::copy(from, from + mMaskWidth, mMask.begin() + static_cast<ptrdiff_t>(row) * mMaskWidth);
    }
    image->GetTextureData()->Unlock();
}

void TButton::PostInit(const TWindowStyle& style) {
    TLayeredWindow::PostInit(style);
    SetState(kNormal);
}

void TButton::SetOption(uint8_t bit, bool on) {
    mOptions = on ? static_cast<uint8_t>(mOptions | bit) : static_cast<uint8_t>(mOptions & ~bit);
}

// --- Looks ---

void TButton::SetState(int look) {
    int previous = GetLook();
    mTypeAndLook = static_cast<uint8_t>((mTypeAndLook & 0x0F) | ((look & 0x07) << 4));
    OnStateChange(look, previous);
}

void TButton::OnStateChange(int look, int previous) {
    int layer = LayerFor(GetType(), GetToggleState(), look);
    if (layer >= 0) SetLayer(layer);
    // The click sound plays from Click, not on the pressed look.
    if (look != previous && look != kPressed && (GetFlags() & kVisible)) PlaySound(look);
}

void TButton::SetToggleState(bool on) {
    if (on && GetType() == kRadio) TRadioButtonSpider(this).Run();
    SetOption(kOn, on);
    SetState(GetLook());
    RedrawScreen();
}

// --- Mouse ---

bool TButton::IsHit(const TPoint& point) const {
    // Contains fails for a window without width or height, so the mapping
    // below never divides by 0.
    if (!GetClientRect().Contains(point)) return false;
    if (mMask.empty()) return true;
    auto x = static_cast<int64_t>(point.x) * mMaskWidth / GetWidth();
    auto y = static_cast<int64_t>(point.y) * mMaskHeight / GetHeight();
    x = std::clamp<int64_t>(x, 0, mMaskWidth - 1);
    y = std::clamp<int64_t>(y, 0, mMaskHeight - 1);
    uint32_t pixel = mMask[static_cast<size_t>(y * mMaskWidth + x)];
    uint32_t red = (pixel >> 16) & 0xFF;
    uint32_t green = (pixel >> 8) & 0xFF;
    uint32_t blue = pixel & 0xFF;
    return red > kMaskThreshold || green > kMaskThreshold || blue > kMaskThreshold;
}

bool TButton::HitOrLeave(const TPoint& point) {
    if (IsHit(point)) return true;
    OnMouseLeave(point);
    return false;
}

bool TButton::OnMouseDown(const TPoint& point) {
    if (!HitOrLeave(point)) return false;
    if (GetLook() == kNormal) {
        if (TWindowManager* manager = TWindowManager::GetInstance()) manager->CaptureMouse(this);
    }
    SetState(kPressed);
    return true;
}

bool TButton::OnMouseMove(const TPoint& point) {
    if (!HitOrLeave(point)) return false;
    if (GetLook() == kNormal) {
        SetState(kRollover);
        if (TWindowManager* manager = TWindowManager::GetInstance()) manager->CaptureMouse(this);
    }
    return true;
}

bool TButton::OnMouseUp(const TPoint& point) {
    if (!HitOrLeave(point) || GetLook() == kNormal) return false;
    if (GetLook() != kPressed) return true;
    if (!Click()) return true;
    if (IsWindowVisibleInTree(this)) {
        SetState(kRollover);
    } else {
        OnMouseLeave(point);
    }
    return true;
}

bool TButton::OnMouseLeave(const TPoint&) {
    if (GetLook() != kNormal) {
        if (TWindowManager* manager = TWindowManager::GetInstance()) manager->ReleaseMouse(this);
    }
    SetState(kNormal);
    return true;
}

// A pressed button that still holds the capture keeps its look: the release
// that follows meets the hit test, which presses nothing outside the button.
bool TButton::OnMouseCancel() {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (GetLook() == kPressed && manager && manager->HasCapture(this)) return false;
    return OnMouseLeave(TPoint());
}

// --- Pressing ---

TWindow* TButton::ParentModalWindow() const {
    return dynamic_cast<TWindow*>(GetParentModal());
}

bool TButton::IsInsideTopModal() const {
    TWindowManager* manager = TWindowManager::GetInstance();
    TWindow* top = manager ? manager->GetTopModal() : nullptr;
    for (const TWindow* window = this; window && top; window = window->GetParent()) {
        if (window == top) return true;
    }
    return false;
}

bool TButton::Click() {
    if (IsWindowVisibleInTree(this)) PlaySound(kClickSound);
    if (Activate() == 0) {
        if (GetType() == kRadio) {
            SetToggleState(true);
        } else if (GetType() == kToggle) {
            SetToggleState(!GetToggleState());
        }
        TWindowManager* manager = TWindowManager::GetInstance();
        TWindow* top = manager ? manager->GetTopModal() : nullptr;
        if (top && top == ParentModalWindow()) return true;
    }
    OnMouseLeave(TPoint());
    return false;
}

int TButton::Activate() {
    TWindowManager* manager = TWindowManager::GetInstance();
    TWindow* modal = ParentModalWindow();
    TString name = GetName();
    if ((mOptions & kClose) && modal) {
        PostWidgetMessage(TMessage::kCloseWindow, modal->GetIdString(), nullptr);
        if (TScript* script = manager ? manager->GetScript() : nullptr) script->SetGlobal("gReturnValue", name);
    }
    TWindow* target = GetParent();
    if (mOptions & kSendToParent) {
        TWindow* top = manager ? manager->GetTopModal() : nullptr;
        target = top ? top->GetParent() : nullptr;
    }
    if (!mAction) {
        PostWidgetMessage(TMessage::kButtonPress, name, target);
        return 0;
    }
    mAction->Run(*this);
    if (IsInsideTopModal()) {
        PostWidgetMessage(TMessage::kButtonPress, name, target);
        return 0;
    }
    if (mOptions & kSendToParent) PostWidgetMessage(TMessage::kButtonPress, name, target);
    return 1;
}

void TButton::SetAction(std::unique_ptr<Action> action) {
    mAction = std::move(action);
}

void TButton::SetLuaAction(std::unique_ptr<TLuaFunction> function) {
    SetAction(std::make_unique<LuaAction>(std::move(function)));
}

// --- Label ---

TText* TButton::LabelWindow() const {
    for (TWindow* child : GetChildren()) {
        if (child->GetName() == "label") return CastToTText(child);
    }
    return nullptr;
}

TString TButton::GetLabel() const {
    TText* label = LabelWindow();
    return label ? label->GetText() : TString();
}

void TButton::SetLabel(const TString& text) {
    if (TText* label = LabelWindow()) label->SetText(text);
}
