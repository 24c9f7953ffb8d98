// A demonstration widget: a fixed sample paragraph cut into lines that fit
// the window, each line's first half drawn at the left edge and its second
// half at the right edge.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "foundation/tstring.h"
#include "game/widgets/gamewindow.h"

class TTextLayout;

class RJustified : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    ~RJustified() override;
    // Lays the sample out in the two halves.
    void PostInit(const TWindowStyle& style) override;
    // The window, then both halves over its client rectangle.
    void Draw() override;

    // Null before set-up.
    TTextLayout* GetLeftLayout() const { return mLeft.get(); }
    TTextLayout* GetRightLayout() const { return mRight.get(); }

    static const char* const kSampleText;

private:
    std::map<char, int> MeasureCharacters();
    // The text cut where the summed widths pass the window's width, trimmed.
    std::vector<TString> BreakLines(const std::map<char, int>& widths) const;
    static void AppendLine(TTextLayout& layout, const TString& part);

    TString mText;
    std::unique_ptr<TTextLayout> mLeft;
    std::unique_ptr<TTextLayout> mRight;
};
