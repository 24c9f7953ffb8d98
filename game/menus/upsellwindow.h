// A panel advertising other games: the links come from "upsell.xml" and one
// opens in the web browser on request. Publishes "SetupUpsell" and
// "LaunchGameLink".
#pragma once

#include <vector>

#include "foundation/tstring.h"
#include "game/shell/screenfunctions.h"
#include "game/widgets/gamewindow.h"

class VUpsellWindow : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VUpsellWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;

    // Appends the "link" of every top-level "gameinfo" of "upsell.xml"; a
    // second call appends them again.
    void SetupUpsell();
    // Opens that link; an index outside the list does nothing.
    void LaunchGameLink(int index);

    const std::vector<TString>& GetLinks() const { return mLinks; }

private:
    std::vector<TString> mLinks;
    VScreenFunctions mFunctions;
};
