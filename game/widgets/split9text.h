// A text window drawn on a nine-slice panel sized around its text at
// set-up; the panel keeps that size when the text changes later.
#pragma once

#include "game/widgets/split9.h"
#include "widgets/text.h"

class RSplit9Text : public TText, public KSplit9 {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    RSplit9Text();

    // Init is the text window's; the panel's is read in PostInit.
    using TText::Init;

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    void PostInit(const TWindowStyle& style) override;
    // The panel, then the text inside its inner rectangle.
    void Draw() override;
    // The layout's box becomes the text's extent plus the padding on each
    // side, the window that extent plus the borders. A text window without
    // a layout keeps its size.
    void FitWindow(const TWindowStyle& style) override;
};
