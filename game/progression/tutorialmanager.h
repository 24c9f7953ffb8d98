// The tutorials and the player's "show_tutorials" option. This stand-in
// keeps only the option, in the player's block of that name; progression's
// tutorial manager replaces it.
#pragma once

#include "game/shell/managersingleton.h"

class VTutorialManager : public VManagerSingleton<VTutorialManager> {
public:
    virtual ~VTutorialManager() = default;

    // Reads the option from the current player's blocks; shown without them.
    void LoadProgress();
    bool AreTutorialsShown() const { return mShown; }
    // With save the player's block is written at once.
    void SetTutorialsShown(bool shown, bool save);
    // True while a tutorial holds the game; no tutorial runs in the stand-in,
    // so only the switch (for tests) turns it on.
    bool IsInputAllowed() const { return mInputAllowed; }
    void SetInputAllowed(bool allowed) { mInputAllowed = allowed; }

private:
    friend class VManagerSingleton<VTutorialManager>;
    VTutorialManager() = default;

    bool mShown = true;
    bool mInputAllowed = false;
};
