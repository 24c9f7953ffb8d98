// Script services for tests whose scripts need no clock, clipboard, strings
// or movies.
#pragma once

#include <cstdint>
#include <memory>

#include "core/windows/scriptservices.h"
#include "platform/flash/player.h"

class NullScriptServices : public TScriptServices {
public:
    uint32_t Timer() const override { return 0; }
    bool PutClipboardText(const TString&) override { return false; }
    const TStringTable* GetStringTable() const override { return nullptr; }
    std::unique_ptr<flash::Player> CreateMoviePlayer() override { return nullptr; }
};
