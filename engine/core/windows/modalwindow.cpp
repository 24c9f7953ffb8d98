#include "core/windows/modalwindow.h"

#include <cctype>

#include "core/windows/buttonlink.h"
#include "core/app/message.h"
#include "core/windows/windowmanager.h"
#include "foundation/debuglog.h"

namespace {

constexpr char kEnter = 13;
constexpr char kEscape = 27;

bool IsCharacterKey(char key) {
    return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
}

}  // namespace

TWindow* TModalWindow::Create() {
    return new TModalWindow();
}

TModalWindow::TModalWindow() : mTasks(std::make_unique<TTaskList>()) {
    SetKindFlags((GetFlags() & 0xFF) | kModal | kFocusable);
}

const char* TModalWindow::GetClassName() const {
    return "TModalWindow";
}

bool TModalWindow::IsA(TWindowClassId id) const {
    return id == ClassId() || TWindow::IsA(id);
}

TModalWindow::~TModalWindow() {
    // Scripts learn that the modal has gone from this message.
    if (TWindowManager* manager = TWindowManager::GetInstance()) {
        manager->PostMessage(new TMessage(TMessage::kModalClosed, GetIdString(), nullptr));
    }
    // The animators go before the windows they animate.
    mTasks.reset();
}

bool TModalWindow::OnAttach() {
    mClock.Start();
    return true;
}

void TModalWindow::PostInit(const TWindowStyle& style) {
    FitToChildren();
    TWindow::PostInit(style);
}

bool TModalWindow::OnMessage(TMessage* message) {
    if (message->GetType() != TMessage::kCloseWindow) return false;
    TWindowManager* manager = TWindowManager::GetInstance();
    if (manager && message->GetName().Length() > 0) manager->PopModal(message->GetName());
    return true;
}

bool TModalWindow::OnChar(char character) {
    if (character != kEnter && character != kEscape) return false;
    // Freed here when a button takes the key.
    auto action = std::make_unique<TMessage>(TMessage::kDefaultAction, TString(), nullptr);
    FindDefault finder;
    VisitChildren(finder, false);
    TButtonLink* button = character == kEnter ? finder.GetDefaultButton() : finder.GetCancelButton();
    if (button && button->Click()) return true;
    TWindowManager* manager = TWindowManager::GetInstance();
    TWindow* focus = manager ? manager->GetFocus() : nullptr;
    (focus ? focus : this)->DispatchMessage(action.release());
    return true;
}

bool TModalWindow::OnKeyDown(int key, int modifiers) {
    // Only letter and digit keys have their character as code: function and
    // numpad keys (F1 0x70, numpad-1 0x61) would read as "p" or "a".
    char character = static_cast<char>(key & 0xFF);
    if (!IsCharacterKey(character)) return false;
    TString text;
    if (modifiers & 1) text += "shift-";
    if (modifiers & 2) text += "ctrl-";
    if (modifiers & 4) text += "alt-";
    text += character;
    auto found = mHotKeys.find(NormalizeHotKey(text));
    // A key registered with "@" fires with any modifiers.
    if (found == mHotKeys.end()) found = mHotKeys.find(NormalizeHotKey(TString("@") + character));
    if (found == mHotKeys.end()) return false;
    PressHotKeyButton(found->second);
    return true;
}

void TModalWindow::OnFocus(TWindow*) {
    TWindowManager* manager = TWindowManager::GetInstance();
    if (manager && mFocusWindow) manager->SetFocus(mFocusWindow);
}

void TModalWindow::AddHotKey(const TString& key, const TString& buttonName) {
    TString normalized = NormalizeHotKey(key);
    if (buttonName.Length() > 0) {
        mHotKeys[normalized] = buttonName;
    } else {
        mHotKeys.erase(normalized);
    }
}

void TModalWindow::NoteCoveringChild(TWindow* window, bool covers) {
    if (covers) {
        mCovering.insert(window);
    } else {
        mCovering.erase(window);
    }
    uint32_t flags = GetFlags();
    SetFlags(mCovering.empty() ? flags & ~static_cast<uint32_t>(kFullSize) : flags | kFullSize);
}

void TModalWindow::AddTask(TTask* task) {
    mTasks->Add(task);
}

bool TModalWindow::RemoveTask(TTask* task) {
    return mTasks->Remove(task);
}

void TModalWindow::RunTasks(int pass) {
    mTasks->RunAll(pass);
}

void TModalWindow::StopTasks() {
    mTasks->Clear();
}

void TModalWindow::SetFocusWindow(TWindow* window) {
    mFocusWindow = window;
    TWindowManager* manager = TWindowManager::GetInstance();
    if (window && manager && manager->GetFocus() == this) manager->SetFocus(window);
}

void TModalWindow::PressHotKeyButton(const TString& buttonName) {
    TWindow* window = FindChildWindow(buttonName, -1);
    if (TButtonLink* button = dynamic_cast<TButtonLink*>(window)) {
        button->Click();
        return;
    }
    DebugLog("ERROR: Hot key button not found. Button:'%s'", buttonName.c_str());
}

TString TModalWindow::NormalizeHotKey(const TString& key) {
    // An empty text has no key character to take.
    if (key.Length() == 0) return TString();
    TString text = key;
    text.ToLower();
    TString normalized;
    if (text.Length() > 1 && text.CharAt(0) == '@') {
        normalized = "@";
    } else {
        if (text.Find("shift-") >= 0) normalized += "shift-";
        if (text.Find("ctrl-") >= 0 || text.Find("control-") >= 0) normalized += "ctrl-";
        if (text.Find("alt-") >= 0) normalized += "alt-";
    }
    unsigned char last = static_cast<unsigned char>(text.CharAt(text.Length() - 1));
    normalized += static_cast<char>(std::toupper(last));
    return normalized;
}

bool FindDefault::Visit(TWindow* window) {
    TButtonLink* button = dynamic_cast<TButtonLink*>(window);
    if (button && IsWindowVisibleInTree(window)) {
        if (!mDefault && (window->GetFlags() & TWindow::kDefaultButton)) mDefault = button;
        if (!mCancel && (window->GetFlags() & TWindow::kCancelButton)) mCancel = button;
    }
    if (mDefault && mCancel) return false;
    return window->VisitChildren(*this, false);
}
