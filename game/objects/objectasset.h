// One named piece of art of a game object: named states ("default" and the
// ones its description names), each with an image or animation file, a
// registration point, a mask, a first frame, a layer and the animation to
// play. Textures load per state on first use.
#pragma once

#include <climits>
#include <cstdint>
#include <map>
#include <memory>

#include "foundation/tstring.h"
#include "foundation/vector.h"

class TTexture;
class VLuaStyle;

class VAsset {
public:
    // A layer or base frame not given: the caller's default holds, so a
    // sprite keeps its current layer.
    static constexpr int kNotGiven = INT_MIN;

    // The name is lower-cased; animateDefault is the "default" state's
    // animation flag until a description is read.
    static std::shared_ptr<VAsset> Create(const TString& name, bool animateDefault);
    VAsset(const TString& name, bool animateDefault);
    virtual ~VAsset();
    VAsset(const VAsset&) = delete;
    VAsset& operator=(const VAsset&) = delete;

    // Replaces every state by the description's; with preload each state's
    // texture loads at once.
    void Load(const std::shared_ptr<VLuaStyle>& description, bool preload);

    const TString& GetName() const { return mName; }
    bool HasState(const TString& state) const;
    // Falls back to "default"; empty when neither has a file or the image
    // does not load, in which case the next call tries again.
    std::shared_ptr<TTexture> GetStateTexture(const TString& state);
    bool GetRegistrationPoint(const TString& state, TVec2& point) const;
    int GetBaseFrame(const TString& state, int def) const;
    int GetLayer(const TString& state, int def) const;
    // Falls back to "default".
    TString GetPlayName(const TString& state) const;
    bool IsAnimated(const TString& state) const;
    // "all" for every state.
    void Preload(const TString& state);
    // "all" for every state; textures live on while a sprite holds them.
    void Unload(const TString& state);
    // What Touch found for one caller. An object touches the state it shows
    // in every frame; with a memo that touch reads nothing of the asset
    // (whose memory lies away from the object's) until some asset loads
    // again. The caller forgets it when it shows another state or asset.
    class TouchMemo {
    public:
        void Forget() { mKnown = false; }

    private:
        friend class VAsset;
        TString mFile;
        uint64_t mLoads = 0;
        bool mKnown = false;
    };

    // Counts the state's texture as drawn (used) in this frame, or no longer.
    void Touch(const TString& state, bool used);
    void Touch(const TString& state, bool used, TouchMemo& memo);

private:
    struct State {
        TString file;  // empty: the state is not defined
        TString mask;
        bool animated = false;
        bool hasRegistration = false;
        TVec2 registration;
        int baseFrame = 0;
        int layer = kNotGiven;
        TString playName;
        mutable std::shared_ptr<TTexture> texture;  // loaded on first use
    };

    void LoadState(const std::shared_ptr<VLuaStyle>& entry, const TString& baseDir, bool preload);
    // Null when the state is not defined.
    const State* Find(const TString& state) const;
    // The state, else "default"; null when neither is defined.
    const State* Resolve(const TString& state) const;
    static std::shared_ptr<TTexture> LoadTexture(const State& state);

    TString mName;
    std::map<TString, State> mStates;
};
