// The options screen: full-screen, mute and tutorial check boxes, and the
// effects and music sliders with fill bars that follow them. Publishes
// "SaveVolumes".
#pragma once

#include "core/windows/window.h"
#include "game/utilities/findchild.h"
#include "game/shell/screenfunctions.h"

class TOptions : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TOptions();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // The check boxes and sliders from the options; each slider's change
    // runs through OnMessage, which sizes its fill bar.
    void PostInit(const TWindowStyle& style) override;
    // Slider changes set the group volumes at once and a click on a
    // slider's rail steps it towards the click (both consumed); a press of
    // the tutorials box flips and saves that option (passed on).
    bool OnMessage(TMessage* message) override;

    // Stores the slider positions as the current user's levels.
    void SaveVolumes();
    // Every open options screen's full-screen box shows the display's
    // state, which Alt+Enter switches behind the screen's back.
    static void ShowFullScreen(bool on);

private:
    void SetToggle(const char* name, bool on);
    void ApplyLevel(const char* slider, const char* fill, std::initializer_list<int> groups);
    void PageSlider(const char* slider, float step);
    void SaveLevel(const char* slider, const char* key);

    VScreenFunctions mFunctions;
};
