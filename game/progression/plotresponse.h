// One answer of a story page: its button, the value it adds to the episode
// and the page it leads to.
#pragma once

#include <memory>

#include "foundation/tstring.h"

class VButton;
class VLuaStyle;
class VPlotStep;

class VPlotResponse : public std::enable_shared_from_this<VPlotResponse> {
public:
    static std::shared_ptr<VPlotResponse> Create(const TString& name, const std::shared_ptr<VPlotStep>& page);
    VPlotResponse(const TString& name, const std::shared_ptr<VPlotStep>& page);

    // "text", "label", "speaker", "value", "nextStep" (a page of the same
    // episode, depth pages down) and "button".
    void Load(const VLuaStyle& description, int depth);
    // The next page and the button.
    void Reset();
    void Hide();

    const TString& GetName() const { return mName; }
    const TString& GetLabel() const { return mLabel; }
    int GetValue() const { return mValue; }
    const std::shared_ptr<VButton>& GetButton() const { return mButton; }
    const std::shared_ptr<VPlotStep>& GetNextPage() const { return mNextPage; }

private:
    void LoadButton(const std::shared_ptr<VLuaStyle>& description);

    TString mName;
    TString mText;
    TString mLabel;
    TString mSpeaker;
    int mValue = 0;
    std::shared_ptr<VButton> mButton;
    std::shared_ptr<VPlotStep> mNextPage;
    std::weak_ptr<VPlotStep> mPage;
};
