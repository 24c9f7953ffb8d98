// A movie played over the game by a player control (intros, cut scenes):
// loaded from the asset folder on disk, optionally with its text variables
// filled from the string table, and taken down again. While it is shown the
// window manager draws no frames; a movie that takes no input blocks the
// mouse, one that does keeps the mouse buttons from the game.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/tstring.h"
#include "platform/flash/player.h"

class TPlatformLink;
class TWindowManager;

class TFlashMovie {
public:
    // Saves the platform's system-cursor flag. The first form plays on this
    // system's player.
    explicit TFlashMovie(const TString& name);
    TFlashMovie(const TString& name, std::unique_ptr<flash::Player> player);
    // Closes the movie.
    ~TFlashMovie();
    TFlashMovie(const TFlashMovie&) = delete;
    TFlashMovie& operator=(const TFlashMovie&) = delete;

    // Starts the control, loads the movie and plays it; with localise its
    // text variables are filled first. False, with everything undone and the
    // cursor state restored, when any step fails.
    bool Play(bool loop, bool localise, bool input);
    // The control's "Playing" property; false when it cannot be read.
    bool IsPlaying();
    // Takes the movie down, clears the window manager's movie flags and
    // paints one frame of the root screen; nothing when none is shown.
    void Close();

    // Calls a control method with up to two texts (null for none); a text
    // result goes to result when given. False for an unknown method or a
    // refused call.
    bool CallMethod(const char* name, const char* first = nullptr, const char* second = nullptr,
                    TString* result = nullptr);
    // With put, sets the property from the first value given (text, flag,
    // number); without, reads it into flag or number. False for an unknown
    // property, a value of the wrong kind or a refused call.
    bool Property(const char* name, bool put, const char* text, bool* flag, int32_t* number);
    // The control's major version; 0 without a control.
    int GetFlashVersion() const;

private:
    struct TControlChoice {
        TString id;
        int minimum;
    };

    static TControlChoice ChooseControl(bool localise);
    bool StartControl(const TControlChoice& control, bool input);
    bool LoadMovie(bool loop, bool localise);
    void SetTextVariables();
    void RepaintScreen(TWindowManager* manager, TPlatformLink* platform);
    // Lifts the mouse blocker and restores the system cursor state.
    void RestorePlatform();

    TString mName;
    std::unique_ptr<flash::Player> mPlayer;
    bool mSavedCursorShown;
    bool mBlocking = false;
    bool mInput = false;
    bool mShown = false;
};
