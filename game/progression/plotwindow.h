// The window that tells the queued story episodes one after another and,
// when none is left, closes its modal with a screen transition. It takes
// the keyboard focus when made.
#pragma once

#include <list>
#include <memory>

#include "foundation/tstring.h"
#include "game/sprites/spritewindow.h"

class VPlotItem;
class VPlotListener;
class VPlotManager;

class VPlotWindow : public VSpriteWindow {
public:
    // What closing runs: the transition, the modal popped, the game on.
    static constexpr const char* kCloseCommand =
        "coroutine.resume( coroutine.create( function() DoTransition( 1007 ); PopModal( 'plot_modal' ); "
        "InsideGame( true ); end ) );";

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VPlotWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~VPlotWindow() override;
    // Moves past an item that is done.
    bool Animate() override;

    // True when an item is shown; closes at once otherwise.
    bool Start(const std::shared_ptr<VPlotManager>& manager);
    // Leaves the item on screen (its progress saved) for the next queued
    // one; false when there is none.
    bool ShowNextItem();
    // Once: queues the closing command.
    void Close();

    const std::shared_ptr<VPlotItem>& GetCurrentItem() const { return mCurrent; }
    bool IsClosing() const { return mClosing; }

private:
    void SendDiaryTime(const char* value) const;
    void LeaveCurrentItem();

    std::shared_ptr<VPlotManager> mManager;
    std::shared_ptr<VPlotListener> mListener;
    std::shared_ptr<VPlotItem> mCurrent;
    std::list<TString> mNames;
    bool mClosing = false;
};
