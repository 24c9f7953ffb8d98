// The main Lua script of the program, the one the window manager owns. It
// publishes the window functions that dialog scripts are written in, keeps
// the stack of windows a dialog script is filling, the window classes that
// scripts create by name and the movie of the splash screen, and hands the
// script the messages and commands that native code sends it: through
// "gMessageQueue" and "gCommandQueue" while the script runs, or by resuming
// it while it waits for a message.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "core/scripting/script.h"
#include "core/windows/window.h"
#include "core/windows/windowscriptlink.h"
#include "foundation/tstring.h"

class TFlashMovie;
class TLuaTable;
class TModalWindow;
class TScriptServices;
class TWindowManager;
class TWindowStyle;

// Told of every window that "GenericCreate" made.
class TWindowCreationHook {
public:
    virtual ~TWindowCreationHook() = default;
    virtual void OnWindowCreated(TWindow* window, const TWindowStyle& style) = 0;
};

class TWindowScript : public TScript, public TWindowScriptLink {
public:
    // Where the coroutine waits.
    enum : int { kResumed = 0, kStarting = 1, kWaitingForMessage = 3 };

    // The services are not owned and must outlive the script.
    explicit TWindowScript(TScriptServices& services);
    ~TWindowScript() override;

    TScript* GetScript() override { return this; }
    void SetCurrentModal(TWindow* window) override;
    void PushWindow(TWindow* window) override;
    void PopWindow() override;
    void OnWindowDestroyed(TWindow* window) override;
    // Class names must be identifiers: they become global functions.
    void RegisterWindowType(const TString& name, TWindowClassId id) override;
    bool QueueMessage(TMessage* message, const TLuaFunction* command) override;
    bool SetUtf8Mode(bool on) override;
    bool IsUtf8Mode() const override { return mUtf8Mode; }

    // Attaches the window (owned from here) to the current window, builds it
    // from the description and makes it the current window. False (the
    // window deleted) when there is no current window or it refuses the child.
    bool AddWindow(TWindow* window, TLuaTable* description);

    // The widget library names the class of each engine widget ("Slider",
    // "Bitmap", "Button", "Text", "TextEdit"); scripts made afterwards can
    // create it. A null id withdraws it; other names are refused.
    static bool SetWidgetClass(const TString& name, TWindowClassId id);

    // Not owned; null removes it.
    void SetCreationHook(TWindowCreationHook* hook) { mCreationHook = hook; }
    int GetWaitState() const { return mWaitState; }
    // The last entry of the window stack; null when empty.
    TWindow* GetCurrentWindow() const;

    // Closes the movie the script keeps, if any.
    void StopMovie();

    bool Animate() override;
    // A call made while the coroutine waits in "HandleGetMessage" runs inside it.
    bool TakeDeferredCall() override;

private:
    void RegisterFunctions();
    void RegisterEngineClasses();
    // The built-in screen library, under the chunk name "gScreenInit".
    void RunScreenLibrary();

    // The current window, or null with a log line naming the function.
    TWindow* CurrentWindow(const char* function) const;
    static TWindowManager* Manager();
    static TModalWindow* TopModal();
    // The named window inside the top modal; null without one.
    static TWindow* FindInTopModal(const TString& name);
    // The named window inside the top modal, else inside each window up its
    // parent chain.
    static TWindow* FindUpFromTopModal(const TString& name);

    // Pushes a value pinned on this script's Lua universe onto its own
    // state; false (nothing pushed) for a value of another universe.
    bool PushHere(const TLuaObjectWrapper& value);
    // Pushes the message as a script message; the message is used up.
    void PushScriptMessage(TMessage* message);
    void AppendToQueue(const char* global, const char* text);
    bool ResumeWithMessage(TMessage* message, const TLuaFunction* command);
    void CallNow(const TLuaFunction& command);

    // The window functions.
    void PostCreate(TLuaTable* description);
    TString GetLabel(TString name);
    void RegisterHotkey(TString key, TString buttonName);
    void SetLabel(TString name, TString text);
    TString TagHotKey(TString key, TString label);
    void SetBitmap(TString name, TString image, double scale);
    void SetPosition(TString name, int x, int y);
    int SetCommand(lua_State* L);
    int StripKeyFromLabel(lua_State* L);
    void SetWindowName(TString name);
    void FillRect(TLuaTable* rect, TLuaTable* color);
    double GetTimer();
    TString GetConfig(TString key);
    bool IsEnabled(TString key);
    void DoSelectLayer(int layer);
    bool EnableWindow(TString name, bool show);
    bool GetButtonToggleState(TString name);
    void SetButtonToggleState(TString name, bool on);
    void RealSetFocus(TString name);
    bool StringToClipboard(TString text);
    void UpdateWindow();
    TString PushModal(TString name);
    void ClearModalChildren();
    int GetWindowDepth();
    void DoPopModal(TString nameOrId);
    int HandleGetMessage(lua_State* L);
    void GenericCreate(TLuaTable* description);
    int CreateNamedMessage(lua_State* L);
    int CreateCloseMessage(lua_State* L);
    int PostMessage(lua_State* L);
    int PostMessageToParent(lua_State* L);
    int Post(lua_State* L, bool toParent);
    TString GetString(TString label, TString a1, TString a2, TString a3, TString a4, TString a5);
    bool StartMovie(TString file, bool translate, bool input);
    bool IsMoviePlaying();
    bool ImageLoaded(TString name);
    void DestroyWindow(TString name);
    void DoFitToChildren();

    TScriptServices& mServices;
    std::vector<TWindow*> mWindowStack;  // not owned; the last entry is current
    std::map<TString, TWindowClassId> mClasses;
    int mWaitState = kStarting;
    TWindowCreationHook* mCreationHook = nullptr;
    std::unique_ptr<TFlashMovie> mMovie;
    bool mUtf8Mode = false;
};
