#include "core/windows/windowmanager.h"

#include <algorithm>

#include "core/app/frameservices.h"
#include "core/scripting/luabinding.h"
#include "core/scripting/luamessagewrapper.h"
#include "core/app/message.h"
#include "core/windows/modalwindow.h"
#include "core/app/platformevent.h"
#include "core/scripting/script.h"
#include "core/app/tasklist.h"
#include "core/windows/windowscriptlink.h"
#include "core/windows/xsellwindow.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "graphics/render/renderer.h"

namespace {

TWindowManager* gInstance = nullptr;

constexpr const char* kTopModalOnlyFunction = "SetTopModalOnly";
constexpr int kHighlightWidth = 2;

// A modal window is known by its name and by its id text.
bool NamedBy(const TWindow* window, const TString& nameOrId) {
    return window->GetName() == nameOrId || window->GetIdString() == nameOrId;
}

template <typename T>
bool Contains(const std::list<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

template <typename T>
bool EraseFrom(std::list<T*>& list, const T* item) {
    auto found = std::find(list.begin(), list.end(), item);
    if (found == list.end()) return false;
    list.erase(found);
    return true;
}

TPlatformEvent MovedTo(const TPlatformEvent& event, const TPoint& point) {
    TPlatformEvent moved = event;
    moved.x = point.x;
    moved.y = point.y;
    return moved;
}

}  // namespace

// A snapshot of a window list that handlers may change while it is walked.
// Windows destroyed during the walk read as null.
class TWindowManager::TWindowWalk {
public:
    template <typename List>
    TWindowWalk(TWindowManager& manager, const List& windows)
        : mManager(manager), mWindows(windows.begin(), windows.end()) {
        mManager.mWalks.push_back(&mWindows);
    }
    ~TWindowWalk() { mManager.mWalks.pop_back(); }
    TWindowWalk(const TWindowWalk&) = delete;
    TWindowWalk& operator=(const TWindowWalk&) = delete;

    size_t Size() const { return mWindows.size(); }
    TWindow* operator[](size_t index) const { return mWindows[index]; }

private:
    TWindowManager& mManager;
    std::vector<TWindow*> mWindows;
};

bool TModalPoppedSpider::Visit(TWindow* window) {
    TModalPoppedSpider children;
    window->VisitChildren(children, false);
    window->OnModalPopped();
    return true;
}

TWindowManager::TWindowManager(TFrameServices& services) : mServices(services) {
    gInstance = this;
    SetWindowManagerLink(this);
    // A frame capture must match the root window, whatever viewport a window
    // has pushed while it draws.
    TRenderer::GetInstance()->SetRootSizeSource(
        [this] { return mRootWindow ? TPoint(mRootWindow->GetWidth(), mRootWindow->GetHeight()) : TPoint(); });
}

TWindowManager::~TWindowManager() {
    if (TScript* script = GetScript()) UnregisterBinding(script->GetState(), kTopModalOnlyFunction);
    std::list<TMessageListener*> listeners;
    listeners.swap(mListeners);
    for (TMessageListener* listener : listeners) delete listener;
    while (!mModals.empty()) PopTop();
    FlushDeletes();
    std::list<TWindow*> overlays;
    overlays.swap(mOverlays);
    for (TWindow* overlay : overlays) delete overlay;
    for (TMessage* message : mQueue) delete message;
    mQueue.clear();
    mCacheTarget.reset();
    TRenderer::GetInstance()->SetRootSizeSource(nullptr);
    SetWindowManagerLink(nullptr);
    gInstance = nullptr;
}

TWindowManager* TWindowManager::GetInstance() {
    return gInstance;
}

TModalWindow* TWindowManager::GetTopModal() const {
    return mModals.empty() ? nullptr : mModals.front();
}

TScript* TWindowManager::GetScript() const {
    return mScript ? mScript->GetScript() : nullptr;
}

void TWindowManager::SetFocus(TWindow* window) {
    TWindow* previous = mFocus;
    mFocus = window;
    if (!window) return;
    // Its modal hands the focus back to it when a click inside the modal
    // gives the focus to the modal itself.
    if (!(window->GetFlags() & TWindow::kModal)) {
        if (auto* modal = dynamic_cast<TModalWindow*>(window->GetParentModal())) modal->SetFocusWindow(window);
    }
    window->OnFocus(previous);
}

void TWindowManager::CaptureMouse(TWindow* window) {
    if (window && !HasCapture(window)) mCaptures.push_front(window);
}

void TWindowManager::ReleaseMouse(TWindow* window) {
    EraseFrom(mCaptures, window);
}

bool TWindowManager::HasCapture(const TWindow* window) const {
    return Contains(mCaptures, window);
}

void TWindowManager::PostMessage(TMessage* message) {
    if (message) mQueue.push_back(message);
}

void TWindowManager::QueueScriptMessage(TMessage* message) {
    if (mScript) {
        mScript->QueueMessage(message, nullptr);
    } else {
        delete message;
    }
}

void TWindowManager::AddMessageListener(TMessageListener* listener) {
    if (listener && !Contains(mListeners, listener)) mListeners.push_back(listener);
}

bool TWindowManager::RemoveMessageListener(TMessageListener* listener) {
    return EraseFrom(mListeners, listener);
}

void TWindowManager::AddOverlayWindow(TWindow* window) {
    if (window && !Contains(mOverlays, window)) mOverlays.push_back(window);
}

bool TWindowManager::RemoveOverlayWindow(TWindow* window) {
    return EraseFrom(mOverlays, window);
}

bool TWindowManager::IsInSubtree(const TWindow* window, const TWindow* root) {
    for (const TWindow* current = window; current; current = current->GetParent()) {
        if (current == root) return true;
    }
    return false;
}

void TWindowManager::DestroyWindowDeferred(TWindow* window) {
    // A second request would delete the window twice.
    if (!window || Contains(mDeleteList, window)) return;
    mDeleteList.push_back(window);
    mHover = nullptr;
    for (TMessage* message : mQueue) {
        if (message->GetTarget() && IsInSubtree(message->GetTarget(), window)) message->SetTarget(nullptr);
    }
    ReleaseMouse(window);
}

void TWindowManager::FlushDeletes() {
    if (mDeleteList.empty()) return;
    mHover = nullptr;
    // A window deleted with its parent leaves the list through
    // OnWindowDestroyed, and windows deferred by a destructor are reached too.
    while (!mDeleteList.empty()) {
        TWindow* window = mDeleteList.front();
        mDeleteList.pop_front();
        delete window;
    }
    Invalidate();
}

void TWindowManager::OnWindowDestroyed(TWindow* window) {
    mHover = nullptr;
    if (mFocus == window) mFocus = nullptr;
    ReleaseMouse(window);
    EraseFrom(mDeleteList, window);
    EraseFrom(mOverlays, window);
    for (std::vector<TWindow*>* walk : mWalks) {
        std::replace(walk->begin(), walk->end(), window, static_cast<TWindow*>(nullptr));
    }
    for (TMessage* message : mQueue) {
        if (message->GetTarget() == window) message->SetTarget(nullptr);
    }
    // A modal window deleted while stacked leaves the stack.
    mModals.remove_if([window](TModalWindow* modal) { return static_cast<TWindow*>(modal) == window; });
    if (mRootWindow && static_cast<TWindow*>(mRootWindow) == window) mRootWindow = nullptr;
    if (mScript) mScript->OnWindowDestroyed(window);
    for (TWindow* current = GetTopModal(); current; current = current->GetParent()) {
        TModalWindow* modal = dynamic_cast<TModalWindow*>(current);
        if (!modal) break;
        if (modal->GetFocusWindow() == window) modal->SetFocusWindow(nullptr);
    }
}

bool TWindowManager::OfferToEventHook(TWindow* window, const TPoint& point) {
    return mEventHook && mEventHook->OnMouseLeave(window, point);
}

void TWindowManager::PushModal(TModalWindow* window) {
    if (!window || Contains(mModals, window)) {
        DebugLog("TWindowManager::PushModal: no window, or the window is already on the modal stack");
        return;
    }
    mHover = nullptr;
    if (!mCaptures.empty()) CancelCaptures(true);
    TModalWindow* previous = GetTopModal();
    mModals.push_front(window);
    if (previous) {
        previous->AddChild(window, false);
        previous->GetClock()->Pause();
    }
    SetFocus(window);
    if (mScript) mScript->SetCurrentModal(window);
    window->OnAttach();
    if (window->GetWidth() == 0 && window->GetParent()) {
        window->SetSize(window->GetParent()->GetWidth(), window->GetParent()->GetHeight());
    }
    Invalidate();
}

bool TWindowManager::IsRoot(const TModalWindow* modal) const {
    return mRootWindow && modal == mRootWindow;
}

void TWindowManager::PopTopModal() {
    TModalWindow* top = GetTopModal();
    if (!top) return;
    // Without the root screen no event would reach any window again.
    if (IsRoot(top)) {
        DebugLog("TWindowManager::PopTopModal: the root screen is not popped");
        return;
    }
    PopTop();
    ResumeTopClock();
}

void TWindowManager::ResumeTopClock() {
    if (TModalWindow* top = GetTopModal()) top->GetClock()->Start();
}

void TWindowManager::PopTop() {
    TModalWindow* top = mModals.front();
    if (TWindow* parent = top->GetParent()) parent->RemoveChild(top);
    DestroyWindowDeferred(top);
    mModals.pop_front();
    top->StopTasks();
    TModalWindow* next = GetTopModal();
    if (mScript) mScript->SetCurrentModal(next);
    if (next) SetFocus(next);
    TModalPoppedSpider spider;
    top->VisitChildren(spider, false);
    Invalidate();
    mPopped = true;
}

void TWindowManager::PopModal(const TString& nameOrId) {
    auto match = std::find_if(mModals.begin(), mModals.end(),
                              [&nameOrId](const TModalWindow* modal) { return NamedBy(modal, nameOrId); });
    if (match != mModals.end() && IsRoot(*match)) {
        DebugLog("TWindowManager::PopModal: the root screen '%s' is not popped", nameOrId.c_str());
    } else if (match != mModals.end()) {
        // Handlers of the popped windows may pop further modals themselves.
        TModalWindow* last = *match;
        while (Contains(mModals, last)) PopTop();
    }
    ResumeTopClock();
}

void TWindowManager::SetRootWindow(TModalWindow* window) {
    if (!window) {
        DebugLog("TWindowManager::SetRootWindow: no window");
        return;
    }
    mRootWindow = window;
    if (!Contains(mModals, window)) PushModal(window);
    TRect screen = TRenderer::GetInstance()->GetScreenRect();
    window->SetSize(screen.right - screen.left, screen.bottom - screen.top);
    window->OnAttach();
}

void TWindowManager::AttachScript(TWindowScriptLink* script) {
    mScript = script;
    if (!script) return;
    script->RegisterWindowType("XSellWindow", TXSellWindow::ClassId());
    if (TModalWindow* top = GetTopModal()) script->PushWindow(top);
    if (TScript* lua = script->GetScript()) {
        RegisterBinding(lua->GetState(), kTopModalOnlyFunction, this, &TWindowManager::SetTopModalOnly);
        mServices.GetTaskList().Add(lua);
    }
}

void TWindowManager::RegisterWindowType(const TString& name, TWindowClassId id) {
    if (!mScript) {
        DebugLog("TWindowManager::RegisterWindowType: no window script for '%s'", name.c_str());
        return;
    }
    mScript->RegisterWindowType(name, id);
}

bool TWindowManager::SetUtf8Mode(bool on) {
    if (!mScript) {
        DebugLog("TWindowManager::SetUtf8Mode: no window script");
        return false;
    }
    return mScript->SetUtf8Mode(on);
}

bool TWindowManager::IsUtf8Mode() const {
    return mScript && mScript->IsUtf8Mode();
}

void TWindowManager::RunWindowScript(TWindow* window, const TString& file) {
    TScript* lua = GetScript();
    if (!lua) {
        DebugLog("TWindowManager::RunWindowScript: no window script to run '%s'", file.c_str());
        return;
    }
    mScript->PushWindow(window);
    lua->RunScript(file);
    mScript->PopWindow();
}

void TWindowManager::HandleEvent(const TPlatformEvent& event) {
    if (event.type == TPlatformEvent::kNothing) return;
    // The display was rebuilt: the cached image is gone with it.
    if (event.type == TPlatformEvent::kDisplayNotice) mCacheTarget.reset();
    FlushDeletes();
    TModalWindow* top = GetTopModal();
    if (!top) return;

    switch (event.type) {
    case TPlatformEvent::kIdle:
        top->RunTasks(0);
        DeliverMessages();
        UpdateFrame();
        break;
    case TPlatformEvent::kMouseDown:
    case TPlatformEvent::kMouseButton:
    case TPlatformEvent::kMouseUp:
    case TPlatformEvent::kMouseMove:
    case TPlatformEvent::kMouseHover:
        RouteMouse(event);
        break;
    case TPlatformEvent::kMouseCancel:
        if (!mCaptures.empty()) CancelCaptures(false);
        break;
    case TPlatformEvent::kKeyDown:
    case TPlatformEvent::kKeyUp:
    case TPlatformEvent::kChar:
    case TPlatformEvent::kWideChar:
        (mFocus ? mFocus : top)->RouteEvent(event, false);
        break;
    case TPlatformEvent::kRedraw:
        Invalidate();
        DeliverMessages();
        UpdateFrame();
        break;
    case TPlatformEvent::kActivation:
        return;
    default:
        DeliverMessages();
        if (TModalWindow* current = GetTopModal()) current->RouteEvent(event, false);
        return;
    }
    DeliverMessages();
}

void TWindowManager::RouteMouse(const TPlatformEvent& event) {
    if (!mCaptures.empty()) {
        RouteToCaptures(event);
        return;
    }
    if (event.type == TPlatformEvent::kMouseMove && mServices.IsRelativeMouse()) return;
    bool overlayMouse = GetSettingBool(kSettingOverlayMouse);
    if (overlayMouse && RouteToOverlays(event)) return;

    TModalWindow* top = GetTopModal();
    TPoint point(event.x, event.y);
    TWindow* hit = top->FindWindowAtPoint(top->GlobalToLocal(point), -1);
    SetHover(hit);
    bool handled = hit->RouteEvent(MovedTo(event, hit->GlobalToLocal(point)), false);
    // Without "overlaymouse" the modal window posts this itself.
    if (!handled && overlayMouse && event.type == TPlatformEvent::kMouseUp) {
        PostMessage(new TMessage(TMessage::kPressAnyKey, "mouse:up", nullptr));
    }
}

void TWindowManager::RouteToCaptures(const TPlatformEvent& event) {
    TModalWindow* top = GetTopModal();
    TPoint point(event.x, event.y);
    // OnMouseCancel and the handlers may capture, release or delete windows.
    TWindowWalk walk(*this, mCaptures);
    for (size_t i = 0; i < walk.Size() && GetTopModal() == top; ++i) {
        TWindow* window = walk[i];
        if (!window || !HasCapture(window)) continue;
        bool relative = mServices.IsRelativeMouse();
        if (!relative && !window->GetGlobalRect().Contains(point)) {
            window->OnMouseCancel();
            if (!walk[i] || !HasCapture(window)) continue;
        }
        bool keepPoint = relative && event.type == TPlatformEvent::kMouseMove;
        window->RouteEvent(keepPoint ? event : MovedTo(event, window->GlobalToLocal(point)), false);
    }
}

bool TWindowManager::RouteToOverlays(const TPlatformEvent& event) {
    TPoint point(event.x, event.y);
    TWindowWalk walk(*this, mOverlays);
    for (size_t i = 0; i < walk.Size(); ++i) {
        TWindow* overlay = walk[i];
        if (!overlay) continue;
        TWindow* hit = overlay->FindWindowAtPoint(overlay->GlobalToLocal(point), -1);
        if (hit->RouteEvent(MovedTo(event, hit->GlobalToLocal(point)), false)) {
            SetHover(hit);
            DeliverMessages();
            return true;
        }
    }
    return false;
}

void TWindowManager::CancelCaptures(bool release) {
    TModalWindow* top = GetTopModal();
    TWindowWalk walk(*this, mCaptures);
    if (release) mCaptures.clear();
    for (size_t i = 0; i < walk.Size(); ++i) {
        TWindow* window = walk[i];
        if (!window) continue;
        if (!release && (GetTopModal() != top)) break;
        if (!release && !HasCapture(window)) continue;
        window->OnMouseCancel();
    }
}

void TWindowManager::SetHover(TWindow* window) {
    if (mHighlight && window != mHover) Invalidate();
    mHover = window;
}

void TWindowManager::DeliverMessages() {
    while (!mQueue.empty()) {
        TMessage* message = mQueue.front();
        mQueue.pop_front();
        Deliver(message);
    }
}

void TWindowManager::Deliver(TMessage* message) {
    if (message->GetType() == TMessage::kQuitNow) {
        delete message;
        mServices.PostQuit(0);
        return;
    }
    TWindow* target = message->GetTarget();
    if (!target) {
        TMessage* offered = TLuaMessageWrapper::Offered(message);
        // A listener may remove others while it handles the message.
        std::vector<TMessageListener*> listeners(mListeners.begin(), mListeners.end());
        for (TMessageListener* listener : listeners) {
            if (offered && Contains(mListeners, listener) && listener->OnMessage(offered)) {
                delete message;
                return;
            }
        }
        target = mFocus ? mFocus : GetTopModal();
        if (!target) {
            delete message;
            return;
        }
        message->SetTarget(target);
    }
    target->DispatchMessage(message);
}

void TWindowManager::UpdateFrame() {
    mPopped = false;
    if (mMovieShown || !mDirty || !mServices.IsFrameDone()) return;
    bool fullRate = mServices.IsActiveWindow() || mServices.IsHosted();
    int32_t interval = fullRate ? kFrameInterval : kInactiveFrameInterval;
    uint32_t now = mServices.Timer();
    // The modular difference is the time elapsed, across the timer's wrap too.
    if (now - mLastFrameTime < static_cast<uint32_t>(interval)) return;
    mLastFrameTime = now;

    if (!GetTopModal()) return;
    TWindowClearFlags clearCached(~static_cast<uint32_t>(TWindow::kCached), true);
    clearCached.Visit(mModals.back());
    mServices.GetTaskList().RunAll(1);
    if (TModalWindow* current = GetTopModal()) current->RunTasks(1);
    // A frame task that popped a modal window leaves the stack to be drawn
    // from its new top, not an empty frame.
    mPopped = false;
    if (!GetTopModal()) return;

    if (mCacheTarget) {
        if (mServices.BeginRenderTarget(mCacheTarget.get())) {
            DrawModalStack(TWindow::kDrawCache);
            mServices.EndRenderTarget();
        }
        if (!mServices.BeginDraw()) return;
        mDirty = false;
        TWindow::DrawWindowTree(mRootWindow, TWindow::kDrawAll);
        DrawModalStack(TWindow::kDrawUncached);
    } else {
        if (!mServices.BeginDraw()) return;
        mDirty = false;
        DrawModalStack(TWindow::kDrawAll);
    }
    TWindowWalk overlays(*this, mOverlays);
    for (size_t i = 0; i < overlays.Size(); ++i) TWindow::DrawWindowTree(overlays[i], TWindow::kDrawAll);
    if (mHighlight && mHover) DrawHighlight();
    mServices.EndDraw(true);
}

TModalWindow* TWindowManager::FirstDrawnModal() const {
    if (mRootWindow) {
        for (TModalWindow* modal : mModals) {
            bool covers = (modal->GetFlags() & TWindow::kFullSize) && modal->GetWidth() == mRootWindow->GetWidth() &&
                          modal->GetHeight() == mRootWindow->GetHeight();
            if (covers) return modal;
        }
    }
    return mModals.back();
}

void TWindowManager::DrawModalStack(int pass) {
    if (mPopped || !mServices.CanDraw()) return;
    TModalWindow* top = GetTopModal();
    if (pass == TWindow::kDrawUncached || mTopModalOnly) {
        TWindow::DrawWindowTree(top, pass);
        return;
    }
    // Modal windows below a covering one are hidden: draw from it upwards.
    TModalWindow* first = FirstDrawnModal();
    std::vector<TModalWindow*> drawn;
    for (TModalWindow* modal : mModals) {
        drawn.push_back(modal);
        if (modal == first) break;
    }
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it) {
        if (pass == TWindow::kDrawCache && *it == top) continue;
        TWindow::DrawWindowTree(*it, pass);
        if (mPopped || !mServices.CanDraw()) return;
    }
}

void TWindowManager::DrawHighlight() {
    TRenderer* renderer = TRenderer::GetInstance();
    TRect frame = mHover->GetGlobalRect();
    renderer->PushViewport(mRootWindow ? mRootWindow->GetRect() : renderer->GetScreenRect());
    const TColor4f yellow(1.0f, 1.0f, 0.0f, 1.0f);
    renderer->FillRect(TRect(frame.left, frame.top, frame.right, frame.top + kHighlightWidth), yellow);
    renderer->FillRect(TRect(frame.right - kHighlightWidth, frame.top, frame.right, frame.bottom), yellow);
    renderer->FillRect(TRect(frame.left, frame.bottom - kHighlightWidth, frame.right, frame.bottom), yellow);
    renderer->FillRect(TRect(frame.left, frame.top, frame.left + kHighlightWidth, frame.bottom), yellow);
    renderer->PopViewport();
}
