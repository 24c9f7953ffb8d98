// The player of this system: there is none, so no control can be started and
// callers take their path for a missing player.
#pragma once

#include "platform/flash/player.h"

namespace flash {

class UnavailablePlayer : public Player {
public:
    bool Start(const std::string& /*controlId*/, bool /*input*/) override { return false; }
    int MajorVersion() const override { return 0; }
    bool SetMovie(const std::string& /*path*/) override { return false; }
    bool SetLoop(bool /*loop*/) override { return false; }
    bool Stop() override { return false; }
    bool Play() override { return false; }
    bool GetVariable(const std::string& /*name*/, std::string& /*value*/) override { return false; }
    bool SetVariable(const std::string& /*name*/, const std::string& /*value*/) override { return false; }
    bool IsPlaying(bool& /*playing*/) const override { return false; }
    void Close() override {}
};

}  // namespace flash
