// The one object through which engine and game reach the platform: clock,
// sleeping, quitting, events, the window, full screen, the display mode, web
// pages, the clipboard, the cursor, random numbers, the platform task list
// and the managers the platform owns. A thin facade over TPlatformData; it
// also serves the window manager's frame calls, the game state, the movie
// windows, the window script and the animated sprites.
#pragma once

#include <cstdint>
#include <memory>
#include <set>

#include "core/app/frameservices.h"
#include "core/app/gamestateservices.h"
#include "core/app/platformevent.h"
#include "core/app/tasklist.h"
#include "core/windows/platformlink.h"
#include "core/windows/scriptservices.h"
#include "foundation/guid.h"
#include "foundation/tstring.h"
#include "scriptedsprites/animationhost.h"

class TAssetManager;
class TDxDisplayHandler;
class TPlatformData;
class TPlatformDisplayHost;
class TTask;
class TTexture;
class TTextureData;
class TWindowManager;

class TPlatform : public TFrameServices,
                  public TGameStateServices,
                  public TPlatformLink,
                  public TScriptServices,
                  public TAnimationHost {
public:
    // Becomes the instance, then fills the settings (defaults, computer id,
    // "::assets/settings.xml"), makes the window script, sets the data roots,
    // builds the file index, loads the string tables and, when the data has
    // a display device, makes the display as the renderer's back end.
    explicit TPlatform(std::unique_ptr<TPlatformData> data);
    // Tears down the managers, the renderer, the game state and the platform
    // data, then empties the settings and the file index.
    ~TPlatform() override;
    TPlatform(const TPlatform&) = delete;
    TPlatform& operator=(const TPlatform&) = delete;

    // Null before construction and once teardown has deleted the renderer.
    static TPlatform* GetInstance();
    TPlatformData& GetData() { return *mData; }

    uint32_t Timer() const override;
    void Sleep(uint32_t milliseconds);
    // The exit code is not kept: the pump's quit event ends the game loop.
    void PostQuit(int exitCode) override;
    void GetEvent(TPlatformEvent& event);

    void OpenWindow();
    // The text is UTF-8 in UTF-8 mode, else Windows-1252.
    void SetWindowTitle(const TString& title);
    bool IsActiveWindow() const override;
    bool IsFullScreen() const;
    bool SetFullScreen(bool on);
    // Opens the address in a browser: embedded, in the program given by
    // "-host=" when there is one; else in the desktop's browser.
    bool OpenBrowser(const TString& address) override;

    // Texts in the engine's encoding, as SetWindowTitle; false when the
    // clipboard refused the text.
    bool PutClipboardText(const TString& text) override;
    // Empty when the clipboard holds no text.
    TString GetClipboardText() const override;

    // Makes the root screen on first use and sizes it, sets the display mode
    // and the renderer's view to (0, 0, width, height). A size of 0 or below
    // is refused (logged).
    void SetDisplay(int width, int height, bool fullScreen);
    bool IsDisplayReady() const;
    // Switches the display to low-memory video.
    void OutOfVideoMemory();
    // Null without a display.
    std::unique_ptr<TTextureData> CreateTextureData();

    // Tells the display only when the state changes.
    void ShowSystemCursor(bool show) override;
    bool IsSystemCursorShown() const override;
    // The cursor image with its hot spot goes to the display.
    void SetCursor(const std::shared_ptr<TTexture>& image, int hotX, int hotY, int flags);

    TWindowManager* GetWindowManager() const;
    TAssetManager* GetAssetManager() const;
    const TStringTable* GetStringTable() const override;
    // Null before StartSound.
    TSoundManager* GetSoundManager() override;
    // Makes the sound manager when there is none and starts it; false when
    // the audio device could not be opened.
    bool StartSound();

    // The platform task list (owns its tasks), run on idle ticks and in frames.
    void AddTask(TTask* task);
    bool RemoveTask(TTask* task);
    TTaskList& GetTaskList() override;
    // Tasks the display runs after it rebuilt lost surfaces (owned).
    void AddRestoreTask(TTask* task);
    bool RemoveRestoreTask(TTask* task);
    void RunRestoreTasks();

    // The next value of the platform's Mersenne-Twister generator.
    uint32_t Rand() override;
    TGuid CreateGuid();
    const TString& GetGameName() const;
    const TString& GetGameVersion() const;

    // Frame services for the window manager.
    bool IsHosted() const override;
    // No part of the game asks for relative mouse motion.
    bool IsRelativeMouse() const override { return false; }
    // False without a display.
    bool IsFrameDone() const override;
    bool CanDraw() const override;
    bool BeginDraw() override;
    void EndDraw(bool present) override;
    // False for a texture that is not shared (the renderer holds its target).
    bool BeginRenderTarget(TTexture* target) override;
    void EndRenderTarget() override;

    // Game-state services.
    void PublishGameStateFunctions() override;
    bool IsHostedMode() const override;
    host::Channel* GetHostChannel() override;
    host::Handle GetHostWindow() const override;
    bool HasMouseCapture() const override;
    void ReleaseMouseCapture() override;
    void SetArrowCursor() override;
    void RestoreCursor() override;
    void UpdateSystemCursor() override;

    // Movie-window services.
    void SetMouseBlocked(bool blocked) override;
    void FlipToGdiSurface() override;
    void ResetMouseImage() override;
    void FocusGameWindow() override;

    // Script services.
    std::unique_ptr<flash::Player> CreateMoviePlayer() override;

private:
    // The settings store's hook: acts on "vsync", "memorymax" and
    // "viewportscale", and tells the renderer of every change.
    static void OnSettingChanged(const TString& key, const TString& value);
    // The clock of tasks that have none; set only while the instance lives.
    static uint32_t TaskTimer();
    void ApplySetting(const TString& key, const TString& value);

    void SeedRandom();
    void CreateWindowScript();
    void LoadStringTables();
    void AddStringFiles(const TString& root);
    void PublishIdentity();
    void CreateDisplay();
    // The movie the window script keeps is closed while its window manager lives.
    void StopWindowScriptMovie();

    TTaskList mRestoreTasks;
    std::unique_ptr<TPlatformData> mData;
    std::unique_ptr<TPlatformDisplayHost> mDisplayHost;
    // Owned by the renderer as its back end; null without a display device.
    TDxDisplayHandler* mDisplayHandler = nullptr;
    // Settings changed before the display existed: it hears of them once made.
    std::set<TString> mKeysBeforeDisplay;
};
