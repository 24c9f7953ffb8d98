#include "game/progression/plotstep.h"

#include "foundation/debuglog.h"
#include "game/objects/objectdescription.h"
#include "game/objects/spritebutton.h"
#include "game/progression/plotresponse.h"
#include "game/shell/luastyle.h"
#include "game/sprites/alphaeffect.h"

namespace {

constexpr int kFadeTime = 500;

}  // namespace

std::shared_ptr<VPlotStep> VPlotStep::Create(const std::shared_ptr<VPlotItem>& item) {
    auto page = std::make_shared<VPlotStep>();
    Adopt(page);
    page->mParent = item;
    return page;
}

VPlotStep::VPlotStep() : VObject(TString(), TString(), 0) {}

VPlotStep::~VPlotStep() = default;

void VPlotStep::LoadPage(const std::shared_ptr<VLuaStyle>& description, int depth) {
    for (const auto& [name, answer] : mAnswers) {
        if (answer->GetButton()) RemoveChild(std::shared_ptr<VSprite>(answer->GetButton()));
    }
    mAnswers.clear();
    if (mDefaultButton) RemoveChild(std::shared_ptr<VSprite>(mDefaultButton));
    mDefaultButton.reset();
    if (!description || !description->IsValid()) return;
    if (depth >= kMostNestedPages) {
        DebugLog("VPlotStep: pages nested deeper than %d are not loaded", kMostNestedPages);
        return;
    }
    mSpeaker = description->GetString("speaker", TString());
    if (std::shared_ptr<VLuaStyle> responses = OwnSubStyle(*description, "responses")) {
        LoadAnswers(*responses, depth);
    }
    std::shared_ptr<VLuaStyle> button = mAnswers.empty() ? OwnSubStyle(*description, "default_button") : nullptr;
    if (button) {
        mDefaultButton = VButton::Create(0, TString());
        mDefaultButton->Load(button);
        // The empty name matches no answer.
        mDefaultButton->SetName(TString());
        AddChild(mDefaultButton);
    }
    VObject::Load(description);
}

void VPlotStep::LoadAnswers(const VLuaStyle& responses, int depth) {
    std::shared_ptr<VPlotStep> self = GetSharedAs<VPlotStep>();
    ForEachTableEntry(*responses.GetLuaTable(), [&](const TString& name, const TLuaObjectWrapper& value) {
        std::shared_ptr<VLuaStyle> description = OwnStyleOf(value);
        if (!description) return;
        auto answer = VPlotResponse::Create(name, self);
        mAnswers[name] = answer;
        answer->Load(*description, depth);
        if (answer->GetButton()) AddChild(answer->GetButton());
    });
}

void VPlotStep::Reset() {
    VObject::Reset();
    if (mDefaultButton) mDefaultButton->Reset();
    for (const auto& [name, answer] : mAnswers) answer->Reset();
    mShown = false;
    mFinished = false;
}

void VPlotStep::Hide() {
    UnloadAssets("all", "all", true);
    if (mDefaultButton) mDefaultButton->UnloadAssets("all", "all", true);
    for (const auto& [name, answer] : mAnswers) answer->Hide();
    mShown = false;
    mFinished = false;
}

void VPlotStep::Show(const std::shared_ptr<VSpriteListener>& listener) {
    if (!listener) return;
    for (const auto& [name, answer] : mAnswers) {
        if (answer->GetButton()) answer->GetButton()->AddListener(listener);
    }
    if (mDefaultButton) mDefaultButton->AddListener(listener);
}

bool VPlotStep::Poll() {
    if (mFinished) return true;
    if (!mShown) {
        mShown = true;
        FadeIn();
        return false;
    }
    if (mAnswers.empty() || mChosen) {
        mFinished = true;
        FadeOut();
    }
    return mFinished;
}

void VPlotStep::FadeIn() {
    mFade = VAlphaEffect::Create(true, 1.0f, kFadeTime, 0.0f, 0);
    AddEffect(mFade);
}

void VPlotStep::FadeOut() {
    if (mFade) RemoveEffect(mFade);
    mFade = VAlphaEffect::Create(false, 1.0f, kFadeTime, GetAlpha(), 0);
    AddEffect(mFade);
}

bool VPlotStep::IsGone() const {
    return mFinished && (!mFade || !mFade->IsActive());
}

int VPlotStep::Select(const TString& name, std::shared_ptr<VPlotStep>& next) {
    if (!mChosen) {
        auto found = mAnswers.find(name);
        if (found != mAnswers.end()) {
            mChosen = found->second;
            next = mChosen->GetNextPage();
        } else {
            next.reset();
        }
    }
    return mChosen ? mChosen->GetValue() : 0;
}
