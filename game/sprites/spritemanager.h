// The owner of one scene's top-level sprites: it keeps them in draw order,
// updates and draws them, turns the window's mouse into sprite events, can
// restrict input to chosen sprites, carries effects for all of its sprites,
// and draws a small debug overlay (Ctrl+T memory report, Ctrl+S pointer).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "foundation/rect.h"
#include "foundation/tstring.h"
#include "graphics/render/drawstate.h"

class TClock;
class VSprite;
class VSpriteEffect;
class VSpriteSpider;
class VSpriteWindow;

class VSpriteManager {
public:
    // Trace flag bits.
    enum { kTraceMemory = 1, kTracePointer = 2 };
    // Key flag of OnKeyDown.
    static constexpr int kCtrlFlag = 2;
    // The last mouse position before any move.
    static constexpr int kNoMouse = -10000;

    static std::shared_ptr<VSpriteManager> Create();
    virtual ~VSpriteManager() = default;
    VSpriteManager(const VSpriteManager&) = delete;
    VSpriteManager& operator=(const VSpriteManager&) = delete;

    // Empty, with a log line, for a manager that Create did not make.
    std::shared_ptr<VSpriteManager> SharedFromThis();

    virtual void MarkDirty() { mDirty = true; }
    // Sends leave, enter and move as the sprite under the point changes;
    // true when a sprite is hovered.
    virtual bool UpdateHover(const TPoint& point);
    // Only drags a pressed sprite; else asks for hover at the next Update.
    virtual bool OnMouseMove(const TPoint& point);
    virtual bool OnMouseDown(const TPoint& point);
    virtual bool OnMouseUp(const TPoint& point);
    virtual void Update();
    // Steps each running effect once; drops the done and finished ones.
    virtual void UpdateEffects();
    // Ctrl+T and Ctrl+S toggle the overlay's parts; never takes the key.
    virtual bool OnKeyDown(int key, int flags);
    virtual void Draw();
    virtual void DrawTrace();
    virtual const TDrawState& GetDrawState() const { return mDrawState; }
    virtual void AddRunningEffect(const std::shared_ptr<VSpriteEffect>& effect);
    virtual void SetPaused(bool paused) { mPaused = paused; }
    bool IsPaused() const { return mPaused; }
    // The sprite window named as this manager, from the root window down.
    virtual VSpriteWindow* GetWindow() const;

    void AddSprite(const std::shared_ptr<VSprite>& sprite);
    // Every entry of the sprite.
    void RemoveSprite(const std::shared_ptr<VSprite>& sprite);
    void RemoveAllSprites();
    std::shared_ptr<VSprite> FindSprite(const TString& name) const;
    void VisitSprites(const std::shared_ptr<VSpriteSpider>& spider, bool recurse);
    void SetClock(TClock* clock);
    void ResetInput();
    void AllowInput(const std::shared_ptr<VSprite>& sprite);
    void ClearAllowedInput() { mAllowed.clear(); }
    void SetInputRestricted(bool restricted) { mInputRestricted = restricted; }
    bool IsInputRestricted() const { return mInputRestricted; }
    bool Accepts(const std::shared_ptr<VSprite>& sprite) const;
    // Given to every sprite, present and later; added once.
    void AddEffect(const std::shared_ptr<VSpriteEffect>& effect);
    // Milliseconds since the last Update; the first call starts the count.
    uint32_t GetElapsed();
    // May be null: then every time reads 0.
    TClock* GetClock() const { return mClock; }

    const TString& GetName() const { return mName; }
    void SetName(const TString& name) { mName = name; }
    const std::vector<std::shared_ptr<VSprite>>& GetSprites() const { return mSprites; }
    const std::shared_ptr<VSprite>& GetHovered() const { return mHovered; }
    const std::shared_ptr<VSprite>& GetPressed() const { return mPressed; }
    int GetTraceFlags() const { return mTraceFlags; }
    // The overlay's text for the trace flags; empty when none is on.
    TString GetTraceText() const;
    uint32_t GetHoverTime() const { return mHoverTime; }
    bool IsDirty() const { return mDirty; }
    // No sprite changes with time (VSprite::IsStill), no effect runs, and no
    // sprite is hovered (its hover time runs) or pressed.
    bool IsStill();
    // What the sprites show may differ from the last Draw: they were not
    // still at the last Update, or sprites, the hover, a press or the
    // overlay changed.
    bool NeedsDrawing() const { return mChanged; }
    bool IsRunning(const std::shared_ptr<VSpriteEffect>& effect) const { return mRunningEffects.count(effect) > 0; }

protected:
    VSpriteManager();

private:
    uint32_t Now() const;
    // The point in the sprite's own frame.
    static TPoint LocalPoint(const VSprite& sprite, const TPoint& point);
    // The topmost accepted sprite under the point, or empty.
    std::shared_ptr<VSprite> FindHoverTarget(const TPoint& point) const;

    std::weak_ptr<VSpriteManager> mSelf;
    int mTraceFlags = 0;
    std::shared_ptr<VSprite> mHovered;
    std::shared_ptr<VSprite> mPressed;
    std::vector<std::shared_ptr<VSprite>> mSprites;
    std::set<std::shared_ptr<VSprite>> mAllowed;
    std::vector<std::shared_ptr<VSpriteEffect>> mEffects;
    std::set<std::shared_ptr<VSpriteEffect>> mRunningEffects;
    TDrawState mDrawState{TVec2(0, 0), 1.0f, 1.0f, 0};
    int mMouseX = kNoMouse;
    int mMouseY = kNoMouse;
    TClock* mClock = nullptr;  // not owned
    uint32_t mLastDrawTime = 0;
    uint32_t mLastHoverTime = 0;
    uint32_t mLastUpdateTime = 0;
    uint32_t mHoverTime = 0;
    bool mInputRestricted = false;
    bool mPaused = false;
    bool mDirty = false;
    bool mChanged = true;
    TString mName;
};
