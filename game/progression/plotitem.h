// One episode of a location's story: a chain of pages shown one at a time,
// the sum of the values of the answers picked, and whether it has been
// played to its end. Its progress is kept per player in the location's
// "plot_" (done) and "plot_value_" (value) blocks at the item's index.
#pragma once

#include <memory>

#include "game/objects/object.h"

class VPlotStep;
class VSpriteListener;

class VPlotItem : public VObject {
public:
    static std::shared_ptr<VPlotItem> Create(const TString& name, int index);
    VPlotItem(const TString& name, int index);
    ~VPlotItem() override;

    // The pages back to new and the value to 0; done and the page cursor stay.
    void Reset() override;
    // Swaps in the next page once the previous one has faded out.
    void Update(bool paused) override;
    // "type", "nextStep" (the first page), then the object's description.
    void Load(const std::shared_ptr<VLuaStyle>& description) override;

    virtual void LoadState(const TString& location);
    virtual void SaveState(const TString& location);
    virtual void SetListener(const std::shared_ptr<VSpriteListener>& listener);
    // Moves on when the page on screen is finished; true only in the call
    // in which the episode ends.
    virtual bool Check();
    // The answer of that name on the page on screen; the done flag after.
    virtual bool Respond(const TString& response);
    virtual bool IsDone() const { return mDone; }
    virtual void Evaluate() {}
    virtual TString GetMessage() const { return TString(); }

    std::shared_ptr<VPlotItem> GetShared() { return GetSharedAs<VPlotItem>(); }
    // Unloads the item's and its pages' art; the plot window leaves it so.
    void Hide();

    int GetIndex() const { return mIndex; }
    const TString& GetItemType() const { return mType; }
    int GetValue() const { return mValue; }
    const std::shared_ptr<VPlotStep>& GetCurrentStep() const { return mCurrent; }
    const std::shared_ptr<VPlotStep>& GetFirstStep() const { return mFirst; }

protected:
    void SetDone(bool done) { mDone = done; }

private:
    bool Advance();

    int mIndex;
    TString mType;
    std::shared_ptr<VPlotStep> mFirst;
    std::shared_ptr<VPlotStep> mPrevious;
    std::shared_ptr<VPlotStep> mCurrent;
    std::shared_ptr<VPlotStep> mPending;
    std::shared_ptr<VSpriteListener> mListener;
    int mValue = 0;
    bool mDone = false;
};
