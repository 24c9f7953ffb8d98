#include "core/windows/windowscript.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "core/app/message.h"
#include "core/scripting/luabinding.h"
#include "core/scripting/luamessagewrapper.h"
#include "core/scripting/luaobject.h"
#include "core/scripting/messagescript.h"
#include "core/windows/buttonlink.h"
#include "core/windows/flashmovie.h"
#include "core/windows/imagelink.h"
#include "core/windows/layeredwindow.h"
#include "core/windows/modalwindow.h"
#include "core/windows/screenlibrary.h"
#include "core/windows/scriptservices.h"
#include "core/windows/textlink.h"
#include "core/windows/windowmanager.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "graphics/render/renderer.h"
#include "lua/lauxlib.h"
#include "lua/lua.h"
#include "platform/flash/player.h"

namespace {

const char kClassFunctionText[] =
    "function %s( table )\tCreating( '%s', table );\ttable.typename='%s';\n\treturn function() DoWindow( table ) end "
    "end;";
const char kDialogSizeText[] = "gDialogWidth = %d; gDialogHeight= %d ;";
const char kQueueMessageText[] = "table.insert(gMessageQueue,gMessageToQueue); gMessageToQueue=nil;";
const char kQueueCommandText[] = "table.insert(gCommandQueue,gMessageCommand); gMessageCommand=nil;";

// The engine's widgets, in the order they are registered; "Window" follows.
const char* const kWidgetClassNames[] = {"Slider", "Bitmap", "Button", "Text", "TextEdit"};

std::map<TString, TWindowClassId>& WidgetClasses() {
    static std::map<TString, TWindowClassId> classes;
    return classes;
}

void PushRawGlobal(lua_State* L, const char* name) {
    lua_pushstring(L, name);
    lua_rawget(L, LUA_GLOBALSINDEX);
}

// Letters, digits and underscores, not led by a digit.
bool IsIdentifier(const TString& name) {
    const char* text = name.c_str();
    if (name.Length() == 0 || (text[0] >= '0' && text[0] <= '9')) return false;
    for (int i = 0; i < name.Length(); ++i) {
        char c = text[i];
        bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(c >= '0' && c <= '9')) return false;
    }
    return true;
}

// A wait of ms milliseconds, within what the task clock can count.
int32_t ClampTimeout(lua_Number ms) {
    constexpr lua_Number kLongest = std::numeric_limits<int32_t>::max();
    if (std::isnan(ms) || ms <= 0) return 0;
    return ms >= kLongest ? std::numeric_limits<int32_t>::max() : static_cast<int32_t>(ms);
}

template <typename Link>
Link* LinkOf(TWindow* window) {
    return dynamic_cast<Link*>(window);
}

}  // namespace

TWindowScript::TWindowScript(TScriptServices& services) : mServices(services) {
    RegisterFunctions();
    RegisterEngineClasses();
    RegisterMessageMetatable(GetState());
    RunScreenLibrary();
}

TWindowScript::~TWindowScript() {
    StopMovie();
    lua_settop(GetState(), 0);
    mClasses.clear();
    mWindowStack.clear();
    TWindowManager* manager = Manager();
    if (manager && manager->GetWindowScript() == this) manager->AttachScript(nullptr);
}

void TWindowScript::RegisterFunctions() {
    lua_State* L = GetState();
    RegisterBinding(L, "PostCreate", this, &TWindowScript::PostCreate);
    RegisterBinding(L, "GetLabel", this, &TWindowScript::GetLabel);
    RegisterBinding(L, "_RegisterHotkey", this, &TWindowScript::RegisterHotkey);
    RegisterBinding(L, "SetLabel", this, &TWindowScript::SetLabel);
    RegisterBinding(L, "TagHotKey", this, &TWindowScript::TagHotKey);
    RegisterBinding(L, "_SetBitmap", this, &TWindowScript::SetBitmap);
    RegisterBinding(L, "SetPosition", this, &TWindowScript::SetPosition);
    RegisterBinding(L, "SetCommand", this, &TWindowScript::SetCommand);
    RegisterBinding(L, "StripKeyFromLabel", this, &TWindowScript::StripKeyFromLabel);
    RegisterBinding(L, "SetWindowName", this, &TWindowScript::SetWindowName);
    RegisterBinding(L, "FillRect", this, &TWindowScript::FillRect);
    RegisterBinding(L, "GetTimer", this, &TWindowScript::GetTimer);
    RegisterBinding(L, "GetConfig", this, &TWindowScript::GetConfig);
    RegisterBinding(L, "IsEnabled", this, &TWindowScript::IsEnabled);
    RegisterBinding(L, "DoSelectLayer", this, &TWindowScript::DoSelectLayer);
    RegisterBinding(L, "EnableWindow", this, &TWindowScript::EnableWindow);
    RegisterBinding(L, "GetButtonToggleState", this, &TWindowScript::GetButtonToggleState);
    RegisterBinding(L, "SetButtonToggleState", this, &TWindowScript::SetButtonToggleState);
    RegisterBinding(L, "PopWindow", this, &TWindowScript::PopWindow);
    RegisterBinding(L, "RealSetFocus", this, &TWindowScript::RealSetFocus);
    RegisterBinding(L, "StringToClipboard", this, &TWindowScript::StringToClipboard);
    RegisterBinding(L, "UpdateWindow", this, &TWindowScript::UpdateWindow);
    RegisterBinding(L, "PushModal", this, &TWindowScript::PushModal);
    RegisterBinding(L, "ClearModalChildren", this, &TWindowScript::ClearModalChildren);
    RegisterBinding(L, "GetWindowDepth", this, &TWindowScript::GetWindowDepth);
    RegisterBinding(L, "DoPopModal", this, &TWindowScript::DoPopModal);
    RegisterBinding(L, "HandleGetMessage", this, &TWindowScript::HandleGetMessage);
    RegisterBinding(L, "GenericCreate", this, &TWindowScript::GenericCreate);
    RegisterBinding(L, "CreateNamedMessage", this, &TWindowScript::CreateNamedMessage);
    RegisterBinding(L, "CreateCloseMessage", this, &TWindowScript::CreateCloseMessage);
    RegisterBinding(L, "PostMessage", this, &TWindowScript::PostMessage);
    RegisterBinding(L, "PostMessageToParent", this, &TWindowScript::PostMessageToParent);
    RegisterBinding(L, "_GetString", this, &TWindowScript::GetString);
    RegisterBinding(L, "StartMovie", this, &TWindowScript::StartMovie);
    RegisterBinding(L, "IsMoviePlaying", this, &TWindowScript::IsMoviePlaying);
    RegisterBinding(L, "StopMovie", this, &TWindowScript::StopMovie);
    RegisterBinding(L, "ImageLoaded", this, &TWindowScript::ImageLoaded);
    RegisterBinding(L, "DestroyWindow", this, &TWindowScript::DestroyWindow);
    RegisterBinding(L, "DoFitToChildren", this, &TWindowScript::DoFitToChildren);
}

void TWindowScript::RunScreenLibrary() {
    lua_State* L = GetState();
    LuaPopState guard(L);
    const auto* text = reinterpret_cast<const char*>(kScreenLibraryData);
    if (luaL_loadbuffer(L, text, kScreenLibrarySize, "gScreenInit") != 0) {
        DebugLog("TWindowScript: the screen library does not compile: %s", LuaToString(L, -1).c_str());
        return;
    }
    // Its error went to "_ALERT"; the script lives on without the library.
    if (RunFunction(0, 0) != 0) DebugLog("TWindowScript: the screen library failed to run");
}

bool TWindowScript::SetWidgetClass(const TString& name, TWindowClassId id) {
    bool known = false;
    for (const char* widget : kWidgetClassNames) known = known || name == widget;
    if (!known) {
        DebugLog("TWindowScript::SetWidgetClass: '%s' is no engine widget", name.c_str());
        return false;
    }
    if (id) {
        WidgetClasses()[name] = id;
    } else {
        WidgetClasses().erase(name);
    }
    return true;
}

void TWindowScript::RegisterEngineClasses() {
    for (const char* widget : kWidgetClassNames) {
        auto found = WidgetClasses().find(widget);
        if (found != WidgetClasses().end()) RegisterWindowType(widget, found->second);
    }
    RegisterWindowType("Window", TWindow::ClassId());
}

// --- Window stack and classes ---

void TWindowScript::SetCurrentModal(TWindow* window) {
    mWindowStack.clear();
    mWindowStack.push_back(window);
}

void TWindowScript::PushWindow(TWindow* window) {
    mWindowStack.push_back(window);
}

void TWindowScript::PopWindow() {
    if (mWindowStack.size() > 1) mWindowStack.pop_back();
}

void TWindowScript::OnWindowDestroyed(TWindow* window) {
    for (size_t i = 0; i < mWindowStack.size(); ++i) {
        if (mWindowStack[i] == window) {
            mWindowStack.resize(i);
            return;
        }
    }
}

TWindow* TWindowScript::GetCurrentWindow() const {
    return mWindowStack.empty() ? nullptr : mWindowStack.back();
}

TWindow* TWindowScript::CurrentWindow(const char* function) const {
    TWindow* window = GetCurrentWindow();
    if (!window) DebugLog("TWindowScript: %s: there is no current window", function);
    return window;
}

void TWindowScript::RegisterWindowType(const TString& name, TWindowClassId id) {
    if (!IsIdentifier(name)) {
        DebugLog("TWindowScript::RegisterWindowType: '%s' is not a valid class name", name.c_str());
        return;
    }
    TString text = TString::Format(kClassFunctionText, name.c_str(), name.c_str(), name.c_str());
    if (DoLuaString(text.c_str()) != 0) return;
    mClasses[name] = id;
}

bool TWindowScript::AddWindow(TWindow* window, TLuaTable* description) {
    TWindow* current = CurrentWindow("AddWindow");
    if (!current || !current->AddChild(window, true)) {
        delete window;
        return false;
    }
    TWindowStyle style(description);
    window->Init(style);
    PushWindow(window);
    DoLuaString(TString::Format(kDialogSizeText, window->GetWidth(), window->GetHeight()).c_str());
    if (mCreationHook) mCreationHook->OnWindowCreated(window, style);
    return true;
}

bool TWindowScript::SetUtf8Mode(bool on) {
    bool previous = mUtf8Mode;
    mUtf8Mode = on;
    return previous;
}

// --- Messages and commands ---

bool TWindowScript::PushHere(const TLuaObjectWrapper& value) {
    lua_State* from = value.GetState();
    // Threads of one universe share their registry; another's cannot be read.
    if (from != GetState() && TScript::Owner(from) != this) {
        DebugLog("TWindowScript: a value of another script is ignored");
        return false;
    }
    value.Push();
    if (from != GetState()) lua_xmove(from, GetState(), 1);
    return true;
}

void TWindowScript::PushScriptMessage(TMessage* message) {
    if (message->IsKindOf(TLuaMessageWrapper::ClassId())) {
        auto* wrapper = static_cast<TLuaMessageWrapper*>(message);
        bool pushed = PushHere(wrapper->GetLuaMessage());
        // The pushed userdata keeps the message alive without the pin.
        if (pushed) {
            delete wrapper;
            return;
        }
        message = new TMessage(wrapper->GetType(), wrapper->GetName(), wrapper->GetTarget());
        delete wrapper;
    }
    PushMessage(GetState(), message);
}

void TWindowScript::AppendToQueue(const char* global, const char* text) {
    LuaSetGlobalProtected(GetState(), global);
    DoLuaString(text);
}

bool TWindowScript::QueueMessage(TMessage* message, const TLuaFunction* command) {
    LuaPopState guard(GetState());
    if (IsYielded() && mWaitState == kWaitingForMessage) return ResumeWithMessage(message, command);
    // Running, or waiting elsewhere ("Yield"): the script's own waits read
    // the queue, so no message is lost.
    if (message) {
        PushScriptMessage(message);
        AppendToQueue("gMessageToQueue", kQueueMessageText);
    }
    if (command && IsYielded()) {
        CallNow(*command);
    } else if (command && PushHere(*command)) {
        AppendToQueue("gMessageCommand", kQueueCommandText);
    }
    return true;
}

bool TWindowScript::ResumeWithMessage(TMessage* message, const TLuaFunction* command) {
    PushScriptMessage(message ? message : new TMessage(TMessage::kCommandOnly, TString(), nullptr));
    int values = (command && PushHere(*command)) ? 2 : 1;
    // Cleared first: the script may be waiting again when the resume returns.
    mWaitState = kResumed;
    return Resume(values) == 0;
}

void TWindowScript::CallNow(const TLuaFunction& command) {
    LuaPopState guard(GetState());
    // A script run: errors go to "_ALERT", and the binding tables the
    // command uses live until it returns.
    if (PushHere(command)) RunFunction(0, 0);
}

bool TWindowScript::Animate() {
    // A time-out wakes the wait with nothing.
    if (IsYielded()) mWaitState = kResumed;
    return TScript::Animate();
}

bool TWindowScript::TakeDeferredCall() {
    bool waiting = IsYielded() && mWaitState == kWaitingForMessage;
    if (waiting) mWaitState = kResumed;
    bool taken = TakeCallWhileWaiting(waiting);
    // Declined without a resume: the script still waits for its message.
    if (waiting && !taken && IsYielded()) mWaitState = kWaitingForMessage;
    return taken;
}

int TWindowScript::HandleGetMessage(lua_State* L) {
    // Only a coroutine can wait; the script's own state would be marked as
    // waiting for a message that no resume delivers.
    if (L == GetState()) return luaL_error(L, "HandleGetMessage: only a coroutine can wait for a message");
    if (lua_isnoneornil(L, 1)) {
        GoIdle();
    } else {
        Start(ClampTimeout(lua_tonumber(L, 1)), true, true, false);
    }
    mWaitState = kWaitingForMessage;
    lua_settop(L, 0);
    PushRawGlobal(L, "gYieldResult");
    return lua_yield(L, 1);
}

// --- Finding windows ---

TWindowManager* TWindowScript::Manager() {
    return TWindowManager::GetInstance();
}

TModalWindow* TWindowScript::TopModal() {
    TWindowManager* manager = Manager();
    return manager ? manager->GetTopModal() : nullptr;
}

TWindow* TWindowScript::FindInTopModal(const TString& name) {
    TModalWindow* top = TopModal();
    return top ? top->FindChildWindow(name, -1) : nullptr;
}

TWindow* TWindowScript::FindUpFromTopModal(const TString& name) {
    for (TWindow* window = TopModal(); window; window = window->GetParent()) {
        if (TWindow* found = window->FindChildWindow(name, -1)) return found;
    }
    return nullptr;
}

// --- Building dialogs ---

void TWindowScript::GenericCreate(TLuaTable* description) {
    TWindowStyle style(description);
    auto found = mClasses.find(style.GetString("typename", TString()));
    if (found == mClasses.end()) return;
    TWindow* window = CreateWindowOfClass(found->second);
    if (!window) return;
    // Held here: the size text that AddWindow runs may release the
    // binding's own table when this call did not come through a script run.
    description->Push();
    TLuaTable held(description->GetState());
    AddWindow(window, &held);
}

void TWindowScript::PostCreate(TLuaTable* description) {
    TWindow* current = CurrentWindow("PostCreate");
    if (!current) return;
    TWindowStyle style(description);
    current->PostInit(style);
}

void TWindowScript::SetWindowName(TString name) {
    if (TWindow* current = CurrentWindow("SetWindowName")) current->SetName(name);
}

void TWindowScript::DoSelectLayer(int layer) {
    TWindow* current = CurrentWindow("DoSelectLayer");
    if (auto* layered = dynamic_cast<TLayeredWindow*>(current)) layered->SetLayer(layer);
}

void TWindowScript::DoFitToChildren() {
    if (TWindow* current = CurrentWindow("DoFitToChildren")) current->FitToChildren();
}

void TWindowScript::RealSetFocus(TString name) {
    TWindow* current = CurrentWindow("RealSetFocus");
    TWindowManager* manager = Manager();
    if (!current || !manager) return;
    manager->SetFocus(current->FindChildWindow(name, -1));
}

void TWindowScript::DestroyWindow(TString name) {
    TWindow* current = CurrentWindow("DestroyWindow");
    TWindowManager* manager = Manager();
    if (!current || !manager) return;
    TWindow* window = current->FindChildWindow(name, -1);
    if (!window || !window->GetParent()) return;
    window->GetParent()->RemoveChild(window);
    manager->DestroyWindowDeferred(window);
}

void TWindowScript::SetPosition(TString name, int x, int y) {
    TWindow* window = FindInTopModal(name);
    if (!window) return;
    int width = window->GetWidth();
    int height = window->GetHeight();
    window->ResolveCoordinate(x, width, true, false, false, false);
    window->ResolveCoordinate(y, height, false, false, false, false);
    window->SetPosition(x, y);
}

void TWindowScript::FillRect(TLuaTable* rect, TLuaTable* color) {
    TRenderer* renderer = TRenderer::GetInstance();
    TWindowManager* manager = Manager();
    TWindow* root = manager ? manager->GetRootWindow() : nullptr;
    TRect area(static_cast<int>(rect->GetNumberAt(1)), static_cast<int>(rect->GetNumberAt(2)),
               static_cast<int>(rect->GetNumberAt(3)), static_cast<int>(rect->GetNumberAt(4)));
    TRect clipped;
    clipped.Intersect(area, root ? root->GetRect() : renderer->GetScreenRect());
    TColor4f fill(static_cast<float>(color->GetNumberAt(1)), static_cast<float>(color->GetNumberAt(2)),
                  static_cast<float>(color->GetNumberAt(3)), static_cast<float>(color->GetNumberAt(4)));
    renderer->FillRect(clipped, fill);
}

// --- Widgets ---

TString TWindowScript::GetLabel(TString name) {
    if (!TopModal()) return TString();
    TWindow* window = FindInTopModal(name);
    if (!window) return name + "_is_not_found";
    if (auto* text = LinkOf<TTextLink>(window)) return text->GetText();
    if (auto* button = LinkOf<TButtonLink>(window)) return button->GetLabel();
    return name + "_is_not_a_TText_window_or_TButton";
}

void TWindowScript::SetLabel(TString name, TString text) {
    TWindow* window = FindInTopModal(name);
    if (auto* textWindow = LinkOf<TTextLink>(window)) {
        textWindow->SetText(text);
    } else if (auto* button = LinkOf<TButtonLink>(window)) {
        button->SetLabel(text);
    }
}

void TWindowScript::RegisterHotkey(TString key, TString buttonName) {
    TModalWindow* top = TopModal();
    if (key.Length() == 0 || !top) return;
    top->AddHotKey(key, buttonName);
}

TString TWindowScript::TagHotKey(TString key, TString label) {
    if (key.Length() == 0) return label;
    std::string text = label.c_str();
    char character = key.c_str()[key.Length() - 1];
    size_t at = text.find(character);
    if (at == std::string::npos) return label;
    text.replace(at, 1, std::string("<u>") + character + "</u>");
    return TString(text.c_str());
}

int TWindowScript::StripKeyFromLabel(lua_State* L) {
    std::string label = LuaToString(L, 1).c_str();
    std::string key;
    size_t at = label.find('&');
    if (at != std::string::npos) {
        label.erase(at, 1);
        // The byte after the "&" is a key of its own when it is plain ASCII
        // or a continuation byte; a lead byte or the end give no key.
        if (at < label.size()) {
            auto next = static_cast<unsigned char>(label[at]);
            if (next < 0x80 || (next & 0xC0) == 0x80) key = std::string("@") + label[at];
        }
    }
    lua_pushlstring(L, label.data(), label.size());
    lua_pushlstring(L, key.data(), key.size());
    return 2;
}

void TWindowScript::SetBitmap(TString name, TString image, double scale) {
    if (auto* imageWindow = LinkOf<TImageLink>(FindInTopModal(name))) {
        imageWindow->SetImage(image, static_cast<float>(scale));
    }
}

bool TWindowScript::ImageLoaded(TString name) {
    auto* imageWindow = LinkOf<TImageLink>(FindInTopModal(name));
    return imageWindow && imageWindow->HasTexture();
}

int TWindowScript::SetCommand(lua_State* L) {
    if (!lua_isfunction(L, 2)) {
        DebugLog("TWindowScript: SetCommand: the command of '%s' is no function", LuaToString(L, 1).c_str());
        return 0;
    }
    auto* button = LinkOf<TButtonLink>(FindInTopModal(LuaToString(L, 1)));
    if (!button) return 0;
    // Pinned on the script's own state, which outlives any coroutine.
    lua_pushvalue(L, 2);
    lua_xmove(L, GetState(), 1);
    button->SetLuaAction(std::make_unique<TLuaFunction>(GetState()));
    return 0;
}

bool TWindowScript::EnableWindow(TString name, bool show) {
    TWindow* window = FindUpFromTopModal(name);
    if (!window) return false;
    uint32_t flags = window->GetFlags();
    window->SetFlags(show ? flags | TWindow::kVisible : flags & ~static_cast<uint32_t>(TWindow::kVisible));
    if (!show && LinkOf<TButtonLink>(window)) window->OnMouseCancel();
    if (TWindowManager* manager = Manager()) manager->Invalidate();
    return true;
}

bool TWindowScript::GetButtonToggleState(TString name) {
    auto* button = LinkOf<TButtonLink>(FindUpFromTopModal(name));
    return button && button->GetToggleState();
}

void TWindowScript::SetButtonToggleState(TString name, bool on) {
    for (TWindow* window = TopModal(); window; window = window->GetParent()) {
        if (auto* button = LinkOf<TButtonLink>(window->FindChildWindow(name, -1))) button->SetToggleState(on);
    }
}

// --- Modal windows ---

TString TWindowScript::PushModal(TString name) {
    TWindowManager* manager = Manager();
    if (!manager) {
        DebugLog("TWindowScript: PushModal: no window manager for '%s'", name.c_str());
        return TString();
    }
    auto* modal = new TModalWindow();
    modal->SetName(name);
    manager->PushModal(modal);
    return modal->GetIdString();
}

void TWindowScript::ClearModalChildren() {
    TModalWindow* top = TopModal();
    if (!top) return;
    top->StopTasks();
    top->DeleteChildren();
    top->SetPosition(0, 0);
    top->SetSize(0, 0);
    // The windows being filled went with the children.
    SetCurrentModal(top);
}

int TWindowScript::GetWindowDepth() {
    int depth = 0;
    for (TWindow* window = TopModal(); window; window = window->GetParent()) ++depth;
    return depth;
}

void TWindowScript::DoPopModal(TString nameOrId) {
    if (TWindowManager* manager = Manager()) manager->PopModal(nameOrId);
}

void TWindowScript::UpdateWindow() {
    if (TWindowManager* manager = Manager()) manager->Invalidate();
}

// --- Messages from scripts ---

int TWindowScript::CreateNamedMessage(lua_State* L) {
    auto type = script::truncateNumber<int32_t>(lua_tonumber(L, 1));
    PushMessage(L, new TMessage(type, LuaToString(L, 2), nullptr));
    return 1;
}

int TWindowScript::CreateCloseMessage(lua_State* L) {
    TWindow* current = CurrentWindow("CreateCloseMessage");
    PushMessage(L, current ? new TMessage(TMessage::kCloseWindow, current->GetIdString(), nullptr) : nullptr);
    return 1;
}

int TWindowScript::PostMessage(lua_State* L) {
    return Post(L, false);
}

int TWindowScript::PostMessageToParent(lua_State* L) {
    return Post(L, true);
}

int TWindowScript::Post(lua_State* L, bool toParent) {
    TWindowManager* manager = Manager();
    if (!manager || !ToMessage(L, 1)) return 0;
    // Pinned on the script's own state, which outlives any coroutine.
    lua_pushvalue(L, 1);
    lua_xmove(L, GetState(), 1);
    auto* wrapper = new TLuaMessageWrapper(GetState());
    if (toParent) {
        TModalWindow* top = TopModal();
        wrapper->SetTarget(top ? top->GetParent() : nullptr);
    }
    manager->PostMessage(wrapper);
    return 0;
}

// --- Platform ---

double TWindowScript::GetTimer() {
    return mServices.Timer();
}

bool TWindowScript::StringToClipboard(TString text) {
    return mServices.PutClipboardText(text);
}

TString TWindowScript::GetConfig(TString key) {
    return GetSetting(key, TString());
}

bool TWindowScript::IsEnabled(TString key) {
    return GetSettingBool(key);
}

TString TWindowScript::GetString(TString label, TString a1, TString a2, TString a3, TString a4, TString a5) {
    if (label.Length() > 0 && label.c_str()[0] == '#') return TString(label.c_str() + 1);
    const TStringTable* table = mServices.GetStringTable();
    if (!table) {
        DebugLog("TWindowScript: _GetString: no string table for '%s'", label.c_str());
        return label;
    }
    return table->GetString(label, a1, a2, a3, a4, a5);
}

// --- Movies ---

bool TWindowScript::StartMovie(TString file, bool translate, bool input) {
    // One movie at a time: a kept one would go on holding the screen.
    StopMovie();
    if (file.Length() == 0) return false;
    auto movie = std::make_unique<TFlashMovie>(file, mServices.CreateMoviePlayer());
    if (!movie->Play(false, translate, input)) return false;
    mMovie = std::move(movie);
    return true;
}

bool TWindowScript::IsMoviePlaying() {
    return mMovie && mMovie->IsPlaying();
}

void TWindowScript::StopMovie() {
    mMovie.reset();
}
