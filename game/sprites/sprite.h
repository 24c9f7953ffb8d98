// The game's sprite: a scripted sprite with a name, an owner and a child list
// of its own, a transform from position, scale and rotation, mouse events for
// itself and its listeners, attached effects, a clock, delayed and repeated
// animations, and a link to the sprite manager of its scene. Sprites are
// always owned by shared pointers: make them with Create.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "foundation/matrix.h"
#include "foundation/tstring.h"
#include "foundation/vector.h"
#include "scriptedsprites/animatedsprite.h"

class TClock;
class VSprite;
class VSpriteEffect;
class VSpriteListener;
class VSpriteManager;

// Visits sprites; the answer says whether to go on into the sprite's children.
class VSpriteSpider {
public:
    virtual ~VSpriteSpider() = default;
    virtual bool Visit(const std::shared_ptr<VSprite>& sprite) = 0;
};

class VSprite : public TAnimatedSprite {
public:
    // Event kinds of SendEvent.
    enum {
        kEventPress = 0,
        kEventMove = 1,
        kEventRelease = 2,
        kEventClick = 4,
        kEventEnter = 8,
        kEventLeave = 16,
        kEventDrag = 32,
        kEventNamed = 64,
        kEventBeginRender = 128,
        kEventEndRender = 256,
        kEventBeginImage = 512,
        kEventEndImage = 1024,
    };

    static std::shared_ptr<VSprite> Create(const TString& name, int layer);
    // The depth order of a scene: by sprite layer, then the higher on the
    // screen (smaller y) first.
    static bool IsDrawnBefore(const VSprite& a, const VSprite& b);

    VSprite(const TString& name, int layer);
    ~VSprite() override;

    // Empty, with a log line, for a sprite that no shared pointer owns.
    std::shared_ptr<VSprite> GetShared();
    template <typename T>
    std::shared_ptr<T> GetSharedAs() {
        return std::dynamic_pointer_cast<T>(GetShared());
    }
    std::shared_ptr<VSprite> GetOwner() const { return mOwner.lock(); }
    const TString& GetName() const { return mName; }
    void SetName(const TString& name) { mName = name; }
    int GetSpriteId() const { return mSpriteId; }
    const std::vector<std::shared_ptr<VSprite>>& GetChildList() const { return mChildren; }

    TRect GetBounds(const TDrawState& parentState, int depth) override;
    // Needs the mouse or leaf flag. Depth 0 tests the own image only; -1
    // goes down the whole tree.
    bool HitTest(const TPoint& point, const TDrawState& parentState, int threshold, int depth) override;
    // A still texture or an animated one.
    virtual void SetAnimation(const std::shared_ptr<TTexture>& texture);
    virtual void Reset();
    // Names an unnamed target after this sprite; children, effects,
    // listeners, manager, clock and animation stay behind.
    virtual void CopyTo(const std::shared_ptr<VSprite>& target);
    virtual void Visit(const std::shared_ptr<VSpriteSpider>& spider, bool recursive);
    // Refused, with a log line, for the sprite itself and its owners.
    virtual void AddChild(const std::shared_ptr<VSprite>& child);
    virtual void RemoveChild(const std::shared_ptr<VSprite>& child);
    using TSprite::RemoveChild;
    virtual void RemoveAllChildren();
    virtual std::shared_ptr<VSprite> GetRoot();
    virtual std::shared_ptr<VSprite> GetContainer();
    // This sprite or the first descendant of that name, depth first.
    virtual std::shared_ptr<VSprite> FindChild(const TString& name);
    // Places the sprite on the named point of the owner's current frame; a
    // point the owner lacks leaves the position.
    virtual void SetAnchor(const TString& name);
    // Milliseconds since the last update; 0 without a clock and for gaps of
    // 3000 ms or more.
    virtual uint32_t GetFrameTime();
    // The topmost sprite of the tree under the point.
    virtual std::shared_ptr<VSprite> PickSprite(const TDrawState& parentState, const TPoint& point, int threshold,
                                                int depth);
    virtual void SendEvent(int kind, const TPoint& point, const TDrawState& state, int depth);
    virtual void OnMouseEnter() {}
    virtual void OnMouseLeave() {}
    virtual void OnPress() {}
    virtual void OnSpriteEvent1(const TPoint& /*point*/) {}
    virtual void OnRelease() {}
    virtual void OnDrag(const TPoint& /*point*/) {}
    // Nothing calls it here; subclasses may.
    virtual void OnExtraEvent() {}
    virtual void OnClick() {}
    virtual void OnNamedEvent(const TString& /*name*/) {}
    // Radians around (x, y); see RebuildTransform for the mapping.
    virtual void SetRotation(float x, float y, float angle);
    virtual void SetScale(float x, float y);
    TVec2 GetScale() const { return mScale; }
    virtual void SetAlpha(float alpha);
    virtual float GetAlpha() const { return mDrawState.alpha; }
    virtual void SetPosition(const TVec2& position);
    virtual TVec2 GetPosition() const { return mPosition; }
    virtual TVec2 GetWorldPosition() const;
    virtual TVec2 GetOffset() const { return mOffset; }
    // The per-frame step; overrides end with it.
    virtual void Update(bool paused);
    // Adds "getdelay" and "playsound" to a new animation script.
    virtual void RegisterLuaFunctions();
    virtual void SetClock(TClock* clock);
    // Around the own image (event kinds 512 and 1024).
    virtual void OnImageBracket() {}
    // Draws the tree: effect brackets, children behind, the own image,
    // children in front.
    virtual void Render(const TDrawState& parentState, int depth);
    virtual void StopAnimation(bool recursive);
    // An empty name plays "DoAnim"; the animation already pending and still
    // running is not restarted. A delay of 1 ms or more waits that long.
    virtual void DoAnim(const TString& name, bool repeat, bool recursive, int delay);
    virtual void SetDelay(int ms, bool recursive);
    virtual void SetFrame(int frame);
    virtual void SetFlip(bool horizontal, bool vertical);
    // Re-sorts the owner's children.
    virtual void SetLayer(int layer);
    // Adding twice needs two removals.
    virtual void AddEffect(const std::shared_ptr<VSpriteEffect>& effect);
    virtual void RemoveEffect(const std::shared_ptr<VSpriteEffect>& effect);
    // Every effect is told it is removed; the map empties.
    virtual void DetachEffects();
    virtual bool HasEffect(const std::shared_ptr<VSpriteEffect>& effect) const;
    // How many of the attached effects are of the type.
    template <typename T>
    int CountEffectsOf() const {
        int count = 0;
        for (const auto& [id, entry] : mEffects) count += std::dynamic_pointer_cast<T>(entry.effect) ? 1 : 0;
        return count;
    }
    virtual void SetManager(const std::shared_ptr<VSpriteManager>& manager);
    virtual std::shared_ptr<VSpriteManager> GetManager() const { return mManager.lock(); }
    // Listener changes take effect at the next Update.
    virtual void AddListener(const std::shared_ptr<VSpriteListener>& listener);
    virtual void RemoveListener(const std::shared_ptr<VSpriteListener>& listener);
    virtual void SetDrawSelf(bool drawSelf) { mDrawSelf = drawSelf; }
    // XORs this sprite's flips and its owners' into the arguments.
    virtual void GetEffectiveFlips(bool& horizontal, bool& vertical) const;
    // The sprite manager's call with the time the mouse has rested here.
    virtual void OnHoverTime(uint32_t /*ms*/) {}

    TClock* GetClock() const { return mClock; }
    int GetSpriteLayer() const { return mSpriteLayer; }
    void SetSpriteLayer(int layer) { mSpriteLayer = layer; }
    const TString& GetPendingAnimation() const { return mPendingAnimation; }
    uint32_t GetPauseMark() const { return mPauseMark; }
    int GetDelay() const { return mDelay; }
    bool IsHovered() const { return mHover; }
    // The sprite manager's inside flag while the sprite is pressed.
    void SetHovered(bool hover) { mHover = hover; }
    bool IsPressed() const { return mPressed; }
    bool IsMouseEnabled() const { return mMouse; }
    void SetMouseEnabled(bool mouse) { mMouse = mouse; }
    bool IsLeaf() const { return mLeaf; }
    void SetLeaf(bool leaf) { mLeaf = leaf; }
    bool IsClickable() const { return mClickable; }
    void SetClickable(bool clickable) { mClickable = clickable; }
    const TString& GetAnchor() const { return mAnchor; }
    void SetContainer(bool container) { mContainer = container; }
    // Nothing of the tree changes with time by itself: no effect is
    // attached, no animation plays or waits to start.
    bool IsStill();

protected:
    // What a new sprite of a subclass needs before it is handed out.
    static void Adopt(const std::shared_ptr<VSprite>& sprite) { sprite->mSelf = sprite; }
    // The listeners as of the last applied change.
    const std::set<std::shared_ptr<VSpriteListener>>& GetListeners() const { return mListeners; }
    void ApplyListenerChanges();

private:
    struct EffectEntry {
        std::shared_ptr<VSpriteEffect> effect;
        int attachCount = 0;
    };
    using ListenerSet = std::set<std::shared_ptr<VSpriteListener>>;

    // The clock's time, 0 without one.
    uint32_t ClockTime() const;
    void RebuildTransform();
    void SortSpriteChildren();
    bool IsSelfOrOwner(const VSprite* sprite) const;
    void RunOwnHook(int kind, const TPoint& point, const TDrawState& state, int depth);
    void DispatchToListeners(int kind, const TPoint& point);
    void OpenBrackets(int kind, const TDrawState& state, int depth);
    void CloseBrackets(int kind, const TDrawState& state, int depth);
    void RenderChildren(const TDrawState& state, int depth, bool behind);
    void UpdatePendingAnimation();
    void PruneEffects();

    std::weak_ptr<VSprite> mSelf;
    int mCopyCounter = 1;
    TClock* mClock = nullptr;  // not owned
    uint32_t mLastUpdateTime = 0;  // 0 = not yet
    int mFrame = 0;                // as seen by the last Update
    // The keys of the scene's draw order, side by side: the manager reads
    // them for every sprite in every frame.
    int mSpriteLayer = 0;
    TVec2 mPosition;
    uint32_t mPauseMark = 0;
    int mStartCountdown = 0;
    int mSpriteId;
    TString mName;
    std::weak_ptr<VSpriteManager> mManager;
    std::weak_ptr<VSprite> mOwner;
    std::vector<std::shared_ptr<VSprite>> mChildren;
    TString mAnchor;
    TString mPendingAnimation;
    bool mHover = false;
    bool mPressed = false;
    bool mRepeat = false;
    bool mLeaf = false;
    bool mContainer = false;
    bool mMouse = true;
    bool mClickable = false;
    bool mThirdInputFlag = false;
    bool mDrawSelf = true;
    bool mDispatching = false;
    std::map<uint32_t, EffectEntry> mEffects;
    ListenerSet mListeners;
    ListenerSet mListenersToRemove;
    ListenerSet mListenersToAdd;
    // The effects whose begin bracket ran, so only they get the end.
    std::vector<std::shared_ptr<VSpriteEffect>> mOpenRenderBrackets;
    std::vector<std::shared_ptr<VSpriteEffect>> mOpenImageBrackets;
    TMat3 mBaseTransform;
    TVec2 mScale{1, 1};
    TVec2 mOffset;
    int mDelay = 60;
};
