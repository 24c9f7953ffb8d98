// The level's list of active quests: their names in "txt_quest_names" and
// their progress in "txt_quest_status", each line coloured by how the quest
// stands ("colors": pending, complete, failed), over a "background" panel
// that grows down to the last line. Rebuilt every 300 ms while shown.
#pragma once

#include <vector>

#include "core/windows/window.h"
#include "foundation/color.h"
#include "foundation/tstring.h"

class TText;

class VQuestWindow : public TWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Reads "marginY", "outlinecolor", "outlinesize" and "colors".
    void PostInit(const TWindowStyle& style) override;
    // Rebuilds the texts while shown; stops when hidden.
    bool Animate() override;

    // Shows the window when a quest is active (hides it otherwise), fits
    // the background to the lines and starts the rebuilds.
    void Refresh();
    bool IsShown() const { return mShown; }

    // "rrggbb" of the colour's red, green and blue, each 0 to 255.
    static TString HexColor(const TColor4f& colour);

private:
    // False, with the texts untouched, when no quest is active.
    bool BuildTexts();
    TText* NamesText();
    TText* StatusText();
    // The colour of a display state; white past the list.
    TColor4f StateColor(int state) const;

    std::vector<TColor4f> mColors;
    TColor4f mOutlineColor = TColor4f(0, 0, 0, 1);
    int mOutlineSize = 0;
    bool mShown = false;
    int mMarginY = 0;
};
