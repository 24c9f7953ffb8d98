// One page of a story episode: its own art, its answers as buttons (or one
// default button when it has none), a 500 ms fade in when first polled and
// a 500 ms fade out once finished.
#pragma once

#include <map>
#include <memory>

#include "game/objects/object.h"

class VButton;
class VPlotItem;
class VPlotResponse;
class VSpriteEffect;
class VSpriteListener;

class VPlotStep : public VObject {
public:
    // Pages nest through their answers no deeper than this.
    static constexpr int kMostNestedPages = 32;

    static std::shared_ptr<VPlotStep> Create(const std::shared_ptr<VPlotItem>& item);
    VPlotStep();
    ~VPlotStep() override;

    // "speaker", "responses", "default_button", then the page's own
    // description. Depth counts the pages above: past the limit (a table
    // that leads back into itself) nothing more loads, logged.
    void LoadPage(const std::shared_ptr<VLuaStyle>& description, int depth);
    void Load(const std::shared_ptr<VLuaStyle>& description) override { LoadPage(description, 0); }
    // Back to new, down the whole chain; a chosen answer stays chosen.
    void Reset() override;
    // Unloads the art of the chain and returns it to new.
    void Hide();
    // The answers' buttons report to the listener.
    void Show(const std::shared_ptr<VSpriteListener>& listener);
    // The first poll fades in; later ones finish a page that has no answers
    // or a chosen one.
    bool Poll();
    // The first call picks the answer of that name and names its next page;
    // the chosen answer's value, 0 without one.
    int Select(const TString& name, std::shared_ptr<VPlotStep>& next);
    // Finished and faded out.
    bool IsGone() const;

    std::shared_ptr<VPlotItem> GetParent() const { return mParent.lock(); }
    const TString& GetSpeaker() const { return mSpeaker; }
    const std::map<TString, std::shared_ptr<VPlotResponse>>& GetAnswers() const { return mAnswers; }
    const std::shared_ptr<VButton>& GetDefaultButton() const { return mDefaultButton; }
    bool IsFinished() const { return mFinished; }
    bool IsShown() const { return mShown; }

private:
    void FadeIn();
    void FadeOut();
    void LoadAnswers(const VLuaStyle& responses, int depth);

    TString mSpeaker;
    std::map<TString, std::shared_ptr<VPlotResponse>> mAnswers;
    std::shared_ptr<VPlotResponse> mChosen;
    std::weak_ptr<VPlotItem> mParent;
    std::shared_ptr<VSpriteEffect> mFade;
    bool mFinished = false;
    bool mShown = false;
    std::shared_ptr<VButton> mDefaultButton;
};
