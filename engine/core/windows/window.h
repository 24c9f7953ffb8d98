// The base of every screen, dialog and widget. Windows form a tree: each has
// a parent (none for a root), an owned list of children whose front is the
// top of the z-order, a rectangle in its parent's coordinates, a name, a
// serial number and a flag word.
#pragma once

#include <cstdint>
#include <list>

#include "foundation/rect.h"
#include "foundation/tstring.h"

class TMessage;
class TModalWindowLink;
class TWindow;
class TWindowAnim;
class TWindowSpider;
class TWindowStyle;
struct TPlatformEvent;

// A window class's factory: allocates and constructs a window of the class.
// Its address identifies the class.
using TWindowClassId = TWindow* (*)();

// Creates a window of the class; null for a null id and for an abstract
// class, whose id function answers null or its own address.
TWindow* CreateWindowOfClass(TWindowClassId id);

class TWindow {
public:
    using ChildList = std::list<TWindow*>;

    // The low byte holds the kind bits, the second byte the state bits.
    enum : uint32_t {
        kModal = 0x01,          // upward walks stop here; a parent does not draw it
        kFocusable = 0x02,      // takes the focus on a left press inside it
        kCacheable = 0x04,      // drawn in the cache pass
        kDefaultButton = 0x08,
        kCancelButton = 0x10,
        kVisible = 0x100,
        kCached = 0x400,        // drawn into the cache this frame
        kFullSize = 0x800,      // covers its modal window when exactly as large
    };

    // The passes of DrawWindowTree.
    enum { kDrawAll = 0, kDrawCache = 1, kDrawUncached = 2 };

    // Modes of SetZOrder.
    enum { kToBack = 0, kToFront = 1, kForward = 2, kBackward = 3, kNextTo = 4 };

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // The virtual operations in slot order, the class name first.
    virtual const char* GetClassName() const;
    // True for this class's id; a subclass checks its own id, then asks its base.
    virtual bool IsA(TWindowClassId id) const;
    virtual ~TWindow();

    // Asked by AddChild with attach and when the window is pushed as a modal
    // or becomes the root; false refuses the attachment.
    virtual bool OnAttach();
    // Name and layout from the description.
    virtual void Init(const TWindowStyle& style);
    // After the children were created: "fit", then the layout again.
    virtual void PostInit(const TWindowStyle& style);
    // Drawn before the children, in the window's own coordinates.
    virtual void Draw();
    // Drawn after the children.
    virtual void PostDraw();
    // Inserts the child at the front unless it is already a child; a child
    // of another window leaves that one first. With attach, a refusing
    // OnAttach undoes an insertion made here and gives false.
    virtual bool AddChild(TWindow* child, bool attach);
    // Takes the child out of the list without deleting it.
    virtual void RemoveChild(TWindow* child);
    // Called on every window of a popped modal window.
    virtual void OnModalPopped();
    // Scrolls the content to a fraction from 0 to 1 (text windows).
    virtual void Scroll(float fraction);
    // True when the message was handled.
    virtual bool OnMessage(TMessage* message);
    // One step of the window's animation; true keeps it running.
    virtual bool Animate();

    // Input handlers return true when they handled the event. Points are in
    // the window's own coordinates.
    virtual bool OnMouseDown(const TPoint& point);
    // Other buttons and the wheel; the code is the event's parameter.
    virtual bool OnMouseButton(const TPoint& point, int button);
    virtual bool OnMouseUp(const TPoint& point);
    virtual bool OnMouseMove(const TPoint& point);
    // The window loses the mouse (capture ended, modal pushed).
    virtual bool OnMouseCancel();
    virtual bool OnChar(char character);
    virtual bool OnText(const TString& text);
    // Modifiers: 1 shift, 2 ctrl, 4 alt.
    virtual bool OnKeyDown(int key, int modifiers);
    virtual bool OnKeyUp(int key);
    // The pointer left the window. By default the window is offered to the
    // window manager's event hook, which also hears of every resting pointer.
    virtual bool OnMouseLeave(const TPoint& point);
    // The window has received the keyboard focus.
    virtual void OnFocus(TWindow* previous);

    // Tree.
    TWindow* GetParent() const { return mParent; }
    const ChildList& GetChildren() const { return mChildren; }
    // Modes kToBack, kToFront, kForward, kBackward; kNextTo is MoveNextTo.
    void SetZOrder(int mode, TWindow* reference = nullptr);
    // Directly in front of the reference sibling; at the back without one.
    void MoveNextTo(TWindow* reference);
    // Removes every child and hands it to the window manager for deletion.
    void DeleteChildren();
    // Visits the direct children (from the back when asked) until a visit
    // answers false, and returns that answer. A visit may remove its child.
    bool VisitChildren(TWindowSpider& spider, bool backToFront);
    // This window or the first of that name below it, depth levels down
    // (-1: the whole subtree).
    TWindow* FindChildWindow(const TString& name, int depth);
    // The modal window enclosing this one (not counting itself).
    TModalWindowLink* GetParentModal() const;

    // Geometry, in the parent's coordinates unless said.
    const TRect& GetRect() const { return mRect; }
    int GetWidth() const { return mRect.right - mRect.left; }
    int GetHeight() const { return mRect.bottom - mRect.top; }
    TRect GetGlobalRect() const;
    TRect GetClientRect() const { return TRect(0, 0, GetWidth(), GetHeight()); }
    TPoint LocalToGlobal(const TPoint& point) const;
    TPoint GlobalToLocal(const TPoint& point) const;
    TPoint LocalToParent(const TPoint& point) const;
    TPoint ParentToLocal(const TPoint& point) const;
    void SetPosition(int x, int y);
    void SetSize(int width, int height);

    uint32_t GetFlags() const { return mFlags; }
    bool IsVisible() const { return (mFlags & kVisible) != 0; }
    // Replaces the state bits (8 to 15) only.
    void SetFlags(uint32_t flags);

    // Hit tests. The first shown child, from the given position towards the
    // back, whose rectangle holds the point (in this window's coordinates);
    // this window when none does.
    TWindow* FindChildAtPoint(const TPoint& point, ChildList::const_iterator start);
    // The window under the point, descending depth levels (-1: to the
    // deepest); null for depth 0.
    TWindow* FindWindowAtPoint(const TPoint& point, int depth);

    // Layout: the coded "x", "y", "w", "h" and "align" of the description.
    void ApplyLayout(const TWindowStyle& style);
    // Resolves one axis of a coded position and size against the parent.
    void ResolveCoordinate(int& position, int& size, bool horizontal, bool centre, bool farEdge,
                           bool alignGiven) const;
    // Grows the window to hold its children.
    void FitToChildren();

    // Animation: the animator runs on the task list and clock of the
    // enclosing modal window; null (logged) outside one.
    TWindowAnim* GetAnimator();
    // The animator made on the given modal window's task list and clock when
    // the window has none yet; null without a modal.
    TWindowAnim* GetAnimatorOn(TModalWindowLink* modal);
    // The running animator, or null; makes none.
    TWindowAnim* FindAnimator() const { return mAnimator; }
    void StartAnimation(int32_t delay, bool repeat, bool fromNow, bool catchUp);
    // Forgets the animator, which then ends at its next step.
    void DetachLink();

    // Offers the message (owned from here) to this window and its parents up
    // to the modal window, then to that modal's focus window, then to the
    // window script.
    void DispatchMessage(TMessage* message);
    // Delivers an event given in this window's coordinates, bubbling it to
    // the windows behind and the parents until one handles it.
    bool RouteEvent(const TPlatformEvent& event, bool focusGiven);
    // Draws the window and its subtree in a pass; false when the window was
    // not drawn in it.
    static bool DrawWindowTree(TWindow* window, int pass);

    const TString& GetName() const { return mName; }
    void SetName(const TString& name) { mName = name; }
    int32_t GetSerial() const { return mSerial; }
    // The serial as "%8x"; modal windows are known by it.
    TString GetIdString() const;

protected:
    // Replaces the kind bits (0 to 7).
    void SetKindFlags(uint32_t kindBits);

private:
    friend class TWindowAnim;

    static TModalWindowLink* AsModal(TWindow* window);
    // The modal window of the window: itself when it is one, else its enclosing one.
    TModalWindowLink* OwnModal();
    ChildList::iterator FindInChildren(TWindow* child);
    // Tells the enclosing modal whether this window covers a modal of that size.
    void NoteCovering(const TRect& modalRect);
    void NoteNotCovering();
    // Drops this window and its subtree, short of nested modal windows, from
    // the modal's covering set.
    void LeaveCovering(TModalWindowLink* modal);
    // Calls the handler for the event's type; false when none handled it.
    bool CallHandler(const TPlatformEvent& event);
    // The next window of an unhandled route, with the event in its coordinates.
    TWindow* NextOnRoute(TPlatformEvent& event);
    void PostPressAnyKey(const TPlatformEvent& event);
    // The nearest focusable window on the way up to the modal window takes
    // the focus, unless that modal is no longer the top one.
    void GiveFocusFromHere();
    // DrawWindowTree with the parent's global origin handed down, so each
    // window's global rectangle is found without walking its ancestors.
    static bool DrawSubtree(TWindow* window, int pass, const TPoint& parentOrigin);

    TWindow* mParent = nullptr;
    ChildList mChildren;
    TRect mRect;
    TString mName;
    uint32_t mFlags = kVisible;
    int32_t mSerial;
    TWindowAnim* mAnimator = nullptr;  // owned by the modal's task list
};

// Walks up to the first modal window: false when a window on the way is
// hidden or has no parent; else the modal window's own visibility.
bool IsWindowVisibleInTree(const TWindow* window);
