// What the window functions of scripts ask of the platform: its clock, the
// clipboard, the string table and the movie player of this system. The
// platform facade provides them.
#pragma once

#include <cstdint>
#include <memory>

#include "foundation/tstring.h"

class TStringTable;

namespace flash {
class Player;
}

class TScriptServices {
public:
    virtual ~TScriptServices() = default;

    // Platform milliseconds.
    virtual uint32_t Timer() const = 0;
    // False when the clipboard refused the text.
    virtual bool PutClipboardText(const TString& text) = 0;
    // Null while no table is loaded.
    virtual const TStringTable* GetStringTable() const = 0;
    // A player for a new movie.
    virtual std::unique_ptr<flash::Player> CreateMoviePlayer() = 0;
};
