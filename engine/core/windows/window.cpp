#include "core/windows/window.h"

#include <iterator>

#include "core/scripting/luamessagewrapper.h"
#include "core/app/message.h"
#include "core/windows/modalwindowlink.h"
#include "core/app/platformevent.h"
#include "core/windows/windowanim.h"
#include "core/windows/windowmanagerlink.h"
#include "core/windows/windowspider.h"
#include "core/windows/windowstyle.h"
#include "foundation/debuglog.h"
#include "foundation/settings.h"
#include "graphics/render/renderer.h"

namespace {

// Coded coordinates: centred between these, from the far edge from kFarEdge.
constexpr int kCodeLow = 40000;
constexpr int kCodeCentre = 80000;
constexpr int kFarEdge = 106667;
constexpr int kCodeFar = 160000;

uint32_t gNextSerial = 0;

void InvalidateScreen() {
    if (TWindowManagerLink* link = GetWindowManagerLink()) link->Invalidate();
}

// A position against the parent extent and the window's own extent.
int ResolvePosition(int value, int parentExtent, int ownExtent, bool keepNegative) {
    if (value >= kFarEdge) return parentExtent + (value - kCodeFar);
    if (value > kCodeLow) return parentExtent / 2 - ownExtent / 2 + (value - kCodeCentre);
    if (value < 0 && !keepNegative) return parentExtent + value;
    return value;
}

bool IsEmpty(const TRect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

// Shown to hit tests: visible up to the first modal window, or up to the top
// of a tree without one (an overlay window's).
bool IsShown(const TWindow* window) {
    for (const TWindow* current = window; current; current = current->GetParent()) {
        if (!current->IsVisible()) return false;
        if (current->GetFlags() & TWindow::kModal) return true;
    }
    return true;
}

}  // namespace

TWindow* CreateWindowOfClass(TWindowClassId id) {
    if (!id) return nullptr;
    TWindow* window = id();
    // An abstract class's id function may answer with its own address.
    if (reinterpret_cast<const void*>(window) == reinterpret_cast<const void*>(id)) return nullptr;
    return window;
}

TWindow::TWindow() : mSerial(static_cast<int32_t>(gNextSerial++)) {}

TWindow::~TWindow() {
    DetachLink();
    InvalidateScreen();
    NoteNotCovering();
    // A window deleted while still listed leaves its parent first, so the
    // parent keeps no dangling child.
    if (mParent && mParent->FindInChildren(this) != mParent->mChildren.end()) mParent->RemoveChild(this);
    // Taken out of the list first: children deleted here find themselves
    // unlisted and leave this window alone.
    ChildList children;
    children.swap(mChildren);
    for (TWindow* child : children) delete child;
    if (TWindowManagerLink* link = GetWindowManagerLink()) link->OnWindowDestroyed(this);
}

TWindow* TWindow::Create() {
    return new TWindow();
}

const char* TWindow::GetClassName() const {
    return "TWindow";
}

bool TWindow::IsA(TWindowClassId id) const {
    return id == ClassId();
}

bool TWindow::OnAttach() {
    return true;
}

void TWindow::Init(const TWindowStyle& style) {
    mName = style.GetString("name", TString());
    ApplyLayout(style);
}

void TWindow::PostInit(const TWindowStyle& style) {
    if (style.GetBool("fit", false)) FitToChildren();
    ApplyLayout(style);
}

void TWindow::Draw() {}

void TWindow::PostDraw() {}

bool TWindow::AddChild(TWindow* child, bool attach) {
    if (!child) return false;
    for (TWindow* window = this; window; window = window->mParent) {
        if (window == child) {
            DebugLog("TWindow::AddChild: '%s' cannot become a child of its own subtree", child->mName.c_str());
            return false;
        }
    }
    bool inserted = false;
    if (child->mParent != this) {
        if (child->mParent) child->mParent->RemoveChild(child);
        mChildren.push_front(child);
        child->mParent = this;
        inserted = true;
    }
    if (!attach || child->OnAttach()) return true;
    // Only an insertion made here is undone; a child already listed stays.
    if (inserted) {
        mChildren.erase(FindInChildren(child));
        child->mParent = nullptr;
        child->SetSize(child->GetWidth(), child->GetHeight());
    }
    return false;
}

void TWindow::RemoveChild(TWindow* child) {
    auto found = FindInChildren(child);
    if (found == mChildren.end()) return;
    InvalidateScreen();
    mChildren.erase(found);
    if (TModalWindowLink* modal = child->GetParentModal()) child->LeaveCovering(modal);
    child->mParent = nullptr;
}

void TWindow::LeaveCovering(TModalWindowLink* modal) {
    modal->NoteCoveringChild(this, false);
    // Windows inside a nested modal window cover that one, not this modal.
    if (mFlags & kModal) return;
    for (TWindow* child : mChildren) child->LeaveCovering(modal);
}

void TWindow::OnModalPopped() {}

void TWindow::Scroll(float) {}

bool TWindow::OnMessage(TMessage*) {
    return false;
}

bool TWindow::Animate() {
    return false;
}

bool TWindow::OnMouseDown(const TPoint&) {
    return false;
}

bool TWindow::OnMouseButton(const TPoint&, int) {
    return false;
}

bool TWindow::OnMouseUp(const TPoint&) {
    return false;
}

bool TWindow::OnMouseMove(const TPoint&) {
    return false;
}

bool TWindow::OnMouseCancel() {
    return false;
}

bool TWindow::OnChar(char) {
    return false;
}

bool TWindow::OnText(const TString&) {
    return false;
}

bool TWindow::OnKeyDown(int, int) {
    return false;
}

bool TWindow::OnKeyUp(int) {
    return false;
}

bool TWindow::OnMouseLeave(const TPoint& point) {
    TWindowManagerLink* link = GetWindowManagerLink();
    return link && link->OfferToEventHook(this, point);
}

void TWindow::OnFocus(TWindow*) {}

TWindow::ChildList::iterator TWindow::FindInChildren(TWindow* child) {
    for (auto it = mChildren.begin(); it != mChildren.end(); ++it) {
        if (*it == child) return it;
    }
    return mChildren.end();
}

void TWindow::SetZOrder(int mode, TWindow* reference) {
    if (mode == kNextTo) {
        MoveNextTo(reference);
        return;
    }
    if (!mParent) return;
    ChildList& siblings = mParent->mChildren;
    auto self = mParent->FindInChildren(this);
    if (self == siblings.end()) return;
    switch (mode) {
    case kToBack:
        siblings.splice(siblings.end(), siblings, self);
        break;
    case kToFront:
        siblings.splice(siblings.begin(), siblings, self);
        break;
    case kForward:
        if (self != siblings.begin()) siblings.splice(std::prev(self), siblings, self);
        break;
    case kBackward:
        if (std::next(self) != siblings.end()) siblings.splice(self, siblings, std::next(self));
        break;
    default:
        return;
    }
    InvalidateScreen();
}

void TWindow::MoveNextTo(TWindow* reference) {
    if (!mParent) return;
    ChildList& siblings = mParent->mChildren;
    auto self = mParent->FindInChildren(this);
    if (self == siblings.end()) return;
    siblings.erase(self);
    auto place = reference ? mParent->FindInChildren(reference) : siblings.end();
    siblings.insert(place, this);
    InvalidateScreen();
}

void TWindow::DeleteChildren() {
    ChildrenDelete spider(this);
    VisitChildren(spider, false);
}

bool TWindow::VisitChildren(TWindowSpider& spider, bool backToFront) {
    if (!backToFront) {
        for (auto it = mChildren.begin(); it != mChildren.end();) {
            TWindow* child = *it++;
            if (!spider.Visit(child)) return false;
        }
        return true;
    }
    for (auto it = mChildren.end(); it != mChildren.begin();) {
        TWindow* child = *--it;
        // Hold on to the child in front before the visit may remove this one.
        bool front = it == mChildren.begin();
        auto before = front ? it : std::prev(it);
        if (!spider.Visit(child)) return false;
        if (front) break;
        it = std::next(before);
    }
    return true;
}

TWindow* TWindow::FindChildWindow(const TString& name, int depth) {
    if (mName == name) return this;
    if (depth == 0) return nullptr;
    for (TWindow* child : mChildren) {
        if (TWindow* found = child->FindChildWindow(name, depth - 1)) return found;
    }
    return nullptr;
}

TModalWindowLink* TWindow::AsModal(TWindow* window) {
    return dynamic_cast<TModalWindowLink*>(window);
}

TModalWindowLink* TWindow::GetParentModal() const {
    TWindow* window = mParent;
    while (window && !(window->mFlags & kModal)) window = window->mParent;
    return AsModal(window);
}

TModalWindowLink* TWindow::OwnModal() {
    TModalWindowLink* own = AsModal(this);
    return own ? own : GetParentModal();
}

TRect TWindow::GetGlobalRect() const {
    TRect global = mRect;
    for (const TWindow* window = mParent; window; window = window->mParent) {
        global.left += window->mRect.left;
        global.top += window->mRect.top;
        global.right += window->mRect.left;
        global.bottom += window->mRect.top;
    }
    return global;
}

TPoint TWindow::LocalToGlobal(const TPoint& point) const {
    TRect global = GetGlobalRect();
    return TPoint(point.x + global.left, point.y + global.top);
}

TPoint TWindow::GlobalToLocal(const TPoint& point) const {
    TRect global = GetGlobalRect();
    return TPoint(point.x - global.left, point.y - global.top);
}

TPoint TWindow::LocalToParent(const TPoint& point) const {
    return TPoint(point.x + mRect.left, point.y + mRect.top);
}

TPoint TWindow::ParentToLocal(const TPoint& point) const {
    return TPoint(point.x - mRect.left, point.y - mRect.top);
}

void TWindow::SetPosition(int x, int y) {
    mRect = TRect(x, y, x + GetWidth(), y + GetHeight());
    InvalidateScreen();
}

void TWindow::SetSize(int width, int height) {
    mRect.right = mRect.left + width;
    mRect.bottom = mRect.top + height;
    InvalidateScreen();
    TWindowManagerLink* link = GetWindowManagerLink();
    TWindow* root = link ? link->GetRootWindow() : nullptr;
    NoteCovering(root ? root->mRect : TRect());
}

void TWindow::SetFlags(uint32_t flags) {
    uint32_t old = mFlags;
    mFlags = (old & 0xFF) | (flags & 0xFF00);
    if ((old ^ mFlags) & kVisible) InvalidateScreen();
    TWindow* modal = dynamic_cast<TWindow*>(GetParentModal());
    NoteCovering(modal ? modal->mRect : TRect());
}

void TWindow::SetKindFlags(uint32_t kindBits) {
    mFlags = (mFlags & 0xFF00) | (kindBits & 0xFF);
}

void TWindow::NoteCovering(const TRect& modalRect) {
    TModalWindowLink* modal = GetParentModal();
    if (!modal) return;
    int modalWidth = modalRect.right - modalRect.left;
    int modalHeight = modalRect.bottom - modalRect.top;
    bool covers = (mFlags & kFullSize) && GetWidth() == modalWidth && GetHeight() == modalHeight;
    modal->NoteCoveringChild(this, covers);
}

void TWindow::NoteNotCovering() {
    if (TModalWindowLink* modal = GetParentModal()) modal->NoteCoveringChild(this, false);
}

TWindow* TWindow::FindChildAtPoint(const TPoint& point, ChildList::const_iterator start) {
    for (auto it = start; it != mChildren.cend(); ++it) {
        TWindow* child = *it;
        if (child->mRect.Contains(point) && IsShown(child)) return child;
    }
    return this;
}

TWindow* TWindow::FindWindowAtPoint(const TPoint& point, int depth) {
    if (depth == 0) return nullptr;
    TWindow* hit = FindChildAtPoint(point, mChildren.cbegin());
    if (hit == this) return this;
    // At the last level the child hit is the answer.
    if (depth == 1) return hit;
    return hit->FindWindowAtPoint(hit->ParentToLocal(point), depth - 1);
}

void TWindow::ApplyLayout(const TWindowStyle& style) {
    int x = style.GetInt("x", 0);
    int y = style.GetInt("y", 0);
    int w = style.GetInt("w", GetWidth());
    int h = style.GetInt("h", GetHeight());
    // Coded values need a parent extent to resolve against.
    if (mParent) {
        if ((w < 0 || x < 0 || w > kCodeCentre || x > kCodeLow) && mParent->GetWidth() == 0) return;
        if ((h < 0 || y < 0 || h > kCodeCentre || y > kCodeLow) && mParent->GetHeight() == 0) return;
    }
    if ((x > kCodeLow || x < 0) && w == 0) return;
    if ((y > kCodeLow || y < 0) && h == 0) return;

    int align = style.GetInt("align", -1);
    bool alignGiven = align != -1;
    int bits = alignGiven ? align : 0;
    ResolveCoordinate(x, w, true, bits & 1, bits & 2, alignGiven);
    ResolveCoordinate(y, h, false, bits & 4, bits & 8, alignGiven);

    SetPosition(mRect.left != 0 ? mRect.left : x, mRect.top != 0 ? mRect.top : y);
    SetSize(GetWidth() != 0 ? GetWidth() : w, GetHeight() != 0 ? GetHeight() : h);
}

void TWindow::ResolveCoordinate(int& position, int& size, bool horizontal, bool centre, bool farEdge,
                                bool alignGiven) const {
    if (position < kCodeLow || position >= kFarEdge) {
        // The position names the centre or the far edge of the window.
        if (centre) {
            if (size == 0) return;
            position -= size / 2;
        }
        if (farEdge) {
            if (size == 0) return;
            position -= size;
        }
    }
    if (!mParent) return;
    int parentExtent = horizontal ? mParent->GetWidth() : mParent->GetHeight();

    if (size >= 0 && size <= kCodeCentre) {
        position = ResolvePosition(position, parentExtent, size, alignGiven);
    } else if (size < 0 && -size <= kCodeCentre) {
        // Extends from the position towards the near edge.
        size = -size;
        position = ResolvePosition(position, parentExtent, size, alignGiven) - size;
    } else if (size < -kCodeCentre && position <= kCodeLow) {
        // Starts a margin of kCodeFar + size in from the near edge and is as
        // wide as the resolved position.
        int resolved = ResolvePosition(position, parentExtent, -size, alignGiven);
        position = kCodeFar + size;
        size = resolved;
    } else if (size > kCodeCentre && position <= kCodeLow) {
        // Stretches to the far edge less a margin of kCodeFar - size.
        position = ResolvePosition(position, parentExtent, size, alignGiven);
        size = size + parentExtent - position - kCodeFar;
    } else {
        int offset = position < kFarEdge ? position - kCodeCentre : position + parentExtent - kCodeFar;
        if (offset < 0) {
            size += parentExtent + 2 * offset - kCodeFar;
            position = 0;
        } else {
            size += parentExtent - 2 * offset - kCodeFar;
            position = 2 * offset;
        }
    }
}

void TWindow::FitToChildren() {
    GetLargest largest(GetWidth(), GetHeight());
    VisitChildren(largest, false);
    SetSize(largest.GetWidth(), largest.GetHeight());
}

TWindowAnim* TWindow::GetAnimator() {
    if (mAnimator) return mAnimator;
    TModalWindowLink* modal = OwnModal();
    if (!modal) {
        DebugLog("TWindow::GetAnimator: window '%s' is not inside a modal window", mName.c_str());
        return nullptr;
    }
    return GetAnimatorOn(modal);
}

TWindowAnim* TWindow::GetAnimatorOn(TModalWindowLink* modal) {
    if (mAnimator || !modal) return mAnimator;
    mAnimator = new TWindowAnim(this);
    modal->AddTask(mAnimator);
    mAnimator->SetClock(modal->GetClock());
    return mAnimator;
}

void TWindow::StartAnimation(int32_t delay, bool repeat, bool fromNow, bool catchUp) {
    if (TWindowAnim* animator = GetAnimator()) animator->Start(delay, repeat, fromNow, catchUp);
}

void TWindow::DetachLink() {
    if (!mAnimator) return;
    mAnimator->mWindow = nullptr;
    mAnimator = nullptr;
}

void TWindow::DispatchMessage(TMessage* message) {
    TWindow* window = this;
    for (;;) {
        if (window->OnMessage(message)) {
            delete message;
            return;
        }
        if (window->mFlags & kModal) break;
        window = window->mParent;
        if (!window) {
            delete message;
            return;
        }
    }
    TModalWindowLink* modal = AsModal(window);
    if (TWindow* focus = modal ? modal->GetFocusWindow() : nullptr) {
        TMessage* offered = TLuaMessageWrapper::Offered(message);
        if (offered && focus->OnMessage(offered)) {
            delete message;
            return;
        }
    }
    if (TWindowManagerLink* link = GetWindowManagerLink()) {
        link->QueueScriptMessage(message);
    } else {
        delete message;
    }
}

bool TWindow::RouteEvent(const TPlatformEvent& event, bool focusGiven) {
    TPlatformEvent current = event;
    bool focusMoved = focusGiven;
    for (TWindow* window = this; window; window = window->NextOnRoute(current)) {
        bool handled = window->CallHandler(current);
        if (current.type == TPlatformEvent::kMouseDown && !focusMoved) {
            window->GiveFocusFromHere();
            focusMoved = true;
        }
        if (handled) return true;
        if (window->mFlags & kModal) {
            window->PostPressAnyKey(current);
            return false;
        }
    }
    return false;
}

bool TWindow::CallHandler(const TPlatformEvent& event) {
    TPoint point(event.x, event.y);
    switch (event.type) {
    case TPlatformEvent::kMouseDown:
        return OnMouseDown(point);
    case TPlatformEvent::kMouseButton:
        return OnMouseButton(point, event.param);
    case TPlatformEvent::kMouseUp:
        return OnMouseUp(point);
    case TPlatformEvent::kMouseMove:
        return OnMouseMove(point);
    case TPlatformEvent::kMouseHover:
        // A resting pointer goes to the event hook as the base class offers
        // it; the widgets' own leave handlers would drop their hover look
        // under a pointer that has not left.
        return TWindow::OnMouseLeave(point);
    case TPlatformEvent::kKeyDown:
        return OnKeyDown(event.param & 0xFF, event.extra);
    case TPlatformEvent::kKeyUp:
        return OnKeyUp(event.param & 0xFF);
    case TPlatformEvent::kChar:
        return OnChar(static_cast<char>(event.param & 0xFF));
    case TPlatformEvent::kWideChar: {
        TString text = TString::FromWide(static_cast<uint32_t>(event.param));
        if (OnText(text)) return true;
        return text.Length() == 1 && OnChar(static_cast<char>(event.param & 0xFF));
    }
    default:
        return false;
    }
}

void TWindow::GiveFocusFromHere() {
    TWindowManagerLink* link = GetWindowManagerLink();
    if (!link) return;
    TWindow* focusable = nullptr;
    for (TWindow* window = this; window; window = window->mParent) {
        if (!focusable && (window->mFlags & kFocusable)) focusable = window;
        if (!(window->mFlags & kModal)) continue;
        // A handler that pushed or popped a modal window left this one
        // covered or gone: keys must not go where the player cannot see.
        if (window != link->GetTopModal()) return;
        break;
    }
    if (focusable) link->SetFocus(focusable);
}

void TWindow::PostPressAnyKey(const TPlatformEvent& event) {
    if (GetSettingBool(kSettingOverlayMouse)) return;
    TString text;
    if (event.type == TPlatformEvent::kMouseUp) {
        text = "mouse:up";
    } else if (event.type == TPlatformEvent::kKeyDown) {
        text = TString("raw:") + static_cast<char>(event.param & 0xFF);
    }
    TWindowManagerLink* link = GetWindowManagerLink();
    if (text.Length() == 0 || !link) return;
    link->PostMessage(new TMessage(TMessage::kPressAnyKey, text, nullptr));
}

TWindow* TWindow::NextOnRoute(TPlatformEvent& event) {
    if (!mParent) return nullptr;
    if (!event.IsMouse()) return mParent;
    TPoint point = LocalToParent(TPoint(event.x, event.y));
    event.x = point.x;
    event.y = point.y;
    // Only a point chooses a window behind: other events go to the parent.
    auto behind = mParent->FindInChildren(this);
    if (behind == mParent->mChildren.end() || ++behind == mParent->mChildren.end()) return mParent;
    TWindow* hit = mParent->FindChildAtPoint(point, behind);
    if (hit == mParent) return mParent;
    TWindow* deepest = hit->FindWindowAtPoint(hit->ParentToLocal(point), -1);
    TPoint local = deepest->GlobalToLocal(mParent->LocalToGlobal(point));
    event.x = local.x;
    event.y = local.y;
    return deepest;
}

bool TWindow::DrawWindowTree(TWindow* window, int pass) {
    if (!window) return false;
    TWindow* parent = window->mParent;
    return DrawSubtree(window, pass, parent ? parent->LocalToGlobal(TPoint(0, 0)) : TPoint(0, 0));
}

bool TWindow::DrawSubtree(TWindow* window, int pass, const TPoint& parentOrigin) {
    if (!window->IsVisible()) return false;
    if (pass == kDrawCache) {
        // A cacheable window takes its whole subtree into the cache.
        TWindow* parent = window->mParent;
        bool parentCached = parent && (parent->mFlags & kCached);
        if (!(window->mFlags & kCacheable) && !parentCached) return false;
        window->mFlags |= kCached;
    } else if (pass == kDrawUncached && (window->mFlags & kCached)) {
        return false;
    }
    TRenderer* renderer = TRenderer::GetInstance();
    const TRect& own = window->mRect;
    TRect global(own.left + parentOrigin.x, own.top + parentOrigin.y, own.right + parentOrigin.x,
                 own.bottom + parentOrigin.y);
    TRect clip;
    clip.Intersect(global, renderer->GetViewport());
    if (IsEmpty(clip)) return true;

    // Clip to what is visible of the window; draw in its own coordinates.
    renderer->PushViewport(clip);
    renderer->PushViewRect(global);
    window->Draw();
    for (auto it = window->mChildren.rbegin(); it != window->mChildren.rend(); ++it) {
        if (!((*it)->mFlags & kModal)) DrawSubtree(*it, pass, TPoint(global.left, global.top));
    }
    window->PostDraw();
    renderer->PopViewRect();
    renderer->PopViewport();
    return true;
}

TString TWindow::GetIdString() const {
    return TString::Format("%8x", static_cast<unsigned>(mSerial));
}

bool IsWindowVisibleInTree(const TWindow* window) {
    const TWindow* current = window;
    while (current && !(current->GetFlags() & TWindow::kModal)) {
        if (!current->IsVisible() || !current->GetParent()) return false;
        current = current->GetParent();
    }
    return current && current->IsVisible();
}
