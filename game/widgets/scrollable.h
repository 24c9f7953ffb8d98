// A window that moves its children into an interior window scrolled by a
// slider or by ticks, vertically or horizontally.
#pragma once

#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "game/widgets/gamewindow.h"

class TSlider;

class RScrollable : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    RScrollable();
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~RScrollable() override;
    // "vscroll", "except" and "tick"; then every child but the excepted
    // ones and the first slider goes into the interior.
    void PostInit(const TWindowStyle& style) override;
    // The scroll bar's changes move the interior.
    bool OnMessage(TMessage* message) override;

    // Clamped to 0..1; 0 while the content fits the view.
    void SetScrollPosition(float position);
    void ScrollDown();
    void ScrollUp();
    void PassToInterior(TWindow* window);

    float GetScrollPosition() const { return mPosition; }
    TWindow* GetInterior() const { return mInterior; }
    TSlider* GetScrollBar() const { return mScrollBar; }

private:
    // Moves each child that does not stay into the interior.
    class RGiveToInterior;

    // Along the scroll axis.
    int ViewLength() const;
    int ContentLength() const;
    void MoveInterior(int offset);
    // Moves the position by the tick in pixels, in the given direction.
    void ScrollBy(float direction);
    bool IsExcepted(const TString& name) const;

    RWindow* mInterior;  // owned here until it joins the children
    bool mInteriorAdded = false;
    TSlider* mScrollBar = nullptr;
    float mPosition = 0;
    float mTick = 50;
    bool mVertical = true;
    std::vector<TString> mExcepted;
};
