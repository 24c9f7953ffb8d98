#include "game/progression/plotresponse.h"

#include "game/objects/objectdescription.h"
#include "game/objects/spritebutton.h"
#include "game/progression/plotstep.h"
#include "game/shell/luastyle.h"
#include "game/utilities/localised.h"

std::shared_ptr<VPlotResponse> VPlotResponse::Create(const TString& name, const std::shared_ptr<VPlotStep>& page) {
    return std::make_shared<VPlotResponse>(name, page);
}

VPlotResponse::VPlotResponse(const TString& name, const std::shared_ptr<VPlotStep>& page)
    : mName(name), mPage(page) {}

void VPlotResponse::Load(const VLuaStyle& description, int depth) {
    mText = description.GetString("text", TString());
    mLabel = description.GetString("label", TString());
    mSpeaker = description.GetString("speaker", TString());
    mValue = description.GetInt("value", 0);
    std::shared_ptr<VPlotStep> page = mPage.lock();
    if (std::shared_ptr<VLuaStyle> next = OwnSubStyle(description, "nextStep"); next && page) {
        mNextPage = VPlotStep::Create(page->GetParent());
        mNextPage->LoadPage(next, depth + 1);
    }
    if (std::shared_ptr<VLuaStyle> button = OwnSubStyle(description, "button")) LoadButton(button);
}

// Named after the answer, which is how a click on it is told apart.
void VPlotResponse::LoadButton(const std::shared_ptr<VLuaStyle>& description) {
    mButton = VButton::Create(0, mName);
    mButton->Load(description);
    mButton->SetName(mName);
    mButton->SetLabel(Localised(mLabel));
}

void VPlotResponse::Reset() {
    if (mNextPage) mNextPage->Reset();
    if (mButton) mButton->Reset();
}

void VPlotResponse::Hide() {
    if (mNextPage) mNextPage->Hide();
    if (mButton) mButton->UnloadAssets("all", "all", true);
}
