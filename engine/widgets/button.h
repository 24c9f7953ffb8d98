// The engine's push, toggle and radio button: a layered window of four
// layers, one shown per look, whose images and label come from its
// description. A press posts kButtonPress to the window tree, can close its
// modal dialog, sets the script's return value and runs an optional action.
// Hot keys, Enter and Escape, and text links press it through the same
// Activate. Scripts create it as "Button".
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/windows/buttonlink.h"
#include "core/windows/layeredwindow.h"
#include "foundation/tstring.h"

class TLuaFunction;
class TSound;
class TText;

class TButton : public TLayeredWindow, public TButtonLink {
public:
    // Bits 0-3 of the type-and-look byte.
    enum : int { kPush = 0, kToggle = 1, kRadio = 2 };
    // The looks, bits 4-6 of that byte.
    enum : int { kNormal = 0, kPressed = 1, kRollover = 2 };
    // Option bits; "default" and "cancel" are window flags the modal window reads.
    enum : uint8_t { kSendToParent = 0x01, kOn = 0x02, kClose = 0x04 };
    // A kind bit of the window flags: the first button of a radio group.
    static constexpr uint32_t kGroupStart = 0x20;
    static constexpr int kLayerCount = 4;

    // What runs when the button fires.
    class Action {
    public:
        virtual ~Action() = default;
        virtual void Run(TButton& button) = 0;
    };
    // Hands a script function to the window script with a kCommandOnly
    // message; "GetButtonName" answers the button's name meanwhile.
    class LuaAction : public Action {
    public:
        explicit LuaAction(std::unique_ptr<TLuaFunction> function);
        ~LuaAction() override;
        void Run(TButton& button) override;

    private:
        std::unique_ptr<TLuaFunction> mFunction;
    };

    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    TButton();

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Leaves the mouse first.
    ~TButton() override;
    void Init(const TWindowStyle& style) override;
    // Shows the normal look.
    void PostInit(const TWindowStyle& style) override;
    bool OnMouseDown(const TPoint& point) override;
    bool OnMouseUp(const TPoint& point) override;
    bool OnMouseMove(const TPoint& point) override;
    bool OnMouseLeave(const TPoint& point) override;
    // The mouse went elsewhere (a dialog opened, the pointer left the game
    // window): the button leaves it, so no hover look stays behind.
    bool OnMouseCancel() override;

    bool Click() override;
    int Activate() override;
    TString GetLabel() const override;
    void SetLabel(const TString& text) override;
    bool GetToggleState() const override { return (mOptions & kOn) != 0; }
    // Turning a radio button on turns the others of its group off.
    void SetToggleState(bool on) override;
    void SetLuaAction(std::unique_ptr<TLuaFunction> function) override;

    // Shows the layer of the new look, with its sound.
    virtual void OnStateChange(int look, int previous);
    virtual void SetState(int look);

    // Replaces (and deletes) the action; null for none.
    void SetAction(std::unique_ptr<Action> action);
    int GetType() const { return mTypeAndLook & 0x0F; }
    int GetLook() const { return (mTypeAndLook >> 4) & 0x07; }
    uint8_t GetOptions() const { return mOptions; }
    bool HasMask() const { return !mMask.empty(); }
    // Inside the rectangle and, with a mask, on a pixel brighter than 19 in
    // some channel. Says nothing of leaving the button.
    bool IsHit(const TPoint& point) const;

protected:
    // How many "graphics" images become looks: three for a push button's
    // looks, four for toggle and radio buttons.
    virtual int GetLookImageCount() const;

private:
    // The hit test of the mouse handlers: an outside point leaves the button.
    bool HitOrLeave(const TPoint& point);
    void LoadSound(int slot, const TString& name);
    void PlaySound(int slot) const;
    void LoadMask(const TString& name);
    void AddGraphics(const TWindowStyle& style);
    // A "command" function becomes the button's script action.
    void ReadCommand(const TWindowStyle& style);
    // The child named "label" when it is a text window.
    TText* LabelWindow() const;
    void SetOption(uint8_t bit, bool on);
    // The button or one of its ancestors is the top modal window.
    bool IsInsideTopModal() const;
    // The modal window that encloses the button, as a window; null outside one.
    TWindow* ParentModalWindow() const;

    uint8_t mTypeAndLook = 0;
    uint8_t mOptions = 0;
    std::unique_ptr<Action> mAction;
    // Slot 0 stays empty, 1 is the click sound, 2 the rollover sound.
    std::array<std::shared_ptr<TSound>, 3> mSounds;
    std::vector<uint32_t> mMask;  // blue, green, red, alpha in memory order
    int mMaskWidth = 0;
    int mMaskHeight = 0;
};

// The window when it is a button, else null.
TButton* CastToTButton(TWindow* window);
