// The window that shows game sprites: it owns one sprite manager and hands
// it the clock of its modal window, its frames, its mouse and its keys. While
// it lives in a modal window it updates its sprites and redraws the screen
// every 16 ms of that modal's clock.
#pragma once

#include <cstdint>
#include <memory>

#include "game/widgets/gamewindow.h"

class RScreenInvalidator;
struct TDrawState;
class VSprite;
class VSpriteManager;

class VSpriteWindow : public RWindow {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    VSpriteWindow();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Detaches every sprite before the manager goes.
    ~VSpriteWindow() override;
    bool OnAttach() override;
    // Names the manager after the window, starts the animation, takes the focus.
    void PostInit(const TWindowStyle& style) override;
    void Draw() override;
    bool Animate() override;
    bool OnMouseDown(const TPoint& point) override;
    bool OnMouseUp(const TPoint& point) override;
    bool OnMouseMove(const TPoint& point) override;
    // The manager sees the key; it goes on to other handlers.
    bool OnKeyDown(int key, int modifiers) override;
    void OnFocus(TWindow* previous) override;

    // The window's and the manager's name.
    virtual void SetName(const TString& name);
    virtual void ResetInput();
    // False outside a modal window.
    virtual bool StartAnimation();
    virtual void AddSprite(const std::shared_ptr<VSprite>& sprite);
    virtual void RemoveSprite(const std::shared_ptr<VSprite>& sprite);
    virtual void RemoveAllSprites();
    virtual std::shared_ptr<VSprite> FindSprite(const TString& name);
    virtual void Update();
    virtual const TDrawState& GetDrawState() const;
    void SetDrawState(const TDrawState& state);

    uint32_t GetElapsed();
    const std::shared_ptr<VSpriteManager>& GetSpriteManager() const { return mManager; }
    // The last invalidator handed to the modal window; null before any.
    RScreenInvalidator* GetInvalidator() const { return mInvalidator; }

private:
    std::shared_ptr<VSpriteManager> mManager;
    // Owned by the modal window's task list once added.
    RScreenInvalidator* mInvalidator = nullptr;
};
