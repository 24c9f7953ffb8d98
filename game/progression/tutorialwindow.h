// The full-screen window that shows the running tutorial over the top modal
// window. Its sprites are the tutorial's panels and buttons; a click that
// lands elsewhere ends a step that waits for any click, or is held back
// unless it falls on one of the step's trigger windows. It fades the
// tutorial out once it has finished and then closes.
#pragma once

#include <memory>

#include "game/sprites/spritewindow.h"

class VAlphaEffect;
class VTutorial;

class VTutorialWindow : public VSpriteWindow {
public:
    static constexpr int kWidth = 800;
    static constexpr int kHeight = 600;

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    // "tutorial_window", covering the screen.
    VTutorialWindow();
    // Ends its tutorial through the manager.
    ~VTutorialWindow() override;
    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;

    // Button presses go to the active tutorial.
    bool OnMessage(TMessage* message) override;
    bool OnMouseDown(const TPoint& point) override;
    bool OnMouseUp(const TPoint& point) override;
    bool OnMouseMove(const TPoint& point) override;
    // The sprites' step, then the tutorial's end: at once when aborted,
    // else after the fade-out.
    bool Animate() override;
    // Every 16 ms of the modal's clock, without catching up missed frames.
    bool StartAnimation() override;

    // Shows the tutorial, fading it in.
    void SetTutorial(const std::shared_ptr<VTutorial>& tutorial);
    // Once: out of the tree and deleted at the end of the frame.
    void Close();

    const std::shared_ptr<VTutorial>& GetTutorial() const { return mTutorial; }
    bool IsClosed() const { return mClosed; }

private:
    // Whether the event is kept from the windows below.
    bool HoldsBack(const TPoint& point);

    std::shared_ptr<VTutorial> mTutorial;
    std::shared_ptr<VAlphaEffect> mFadeOut;
    bool mClosed = false;
};
