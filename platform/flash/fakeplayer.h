// A player for tests: it shows nothing, answers as the test sets it up and
// keeps every call it was asked, in order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/flash/player.h"

namespace flash {

class FakePlayer : public Player {
public:
    bool Start(const std::string& controlId, bool input) override;
    int MajorVersion() const override { return started ? majorVersion : 0; }
    bool SetMovie(const std::string& path) override;
    bool SetLoop(bool loop) override;
    bool Stop() override;
    bool Play() override;
    // A variable never set reads as the empty text.
    bool GetVariable(const std::string& name, std::string& value) override;
    bool SetVariable(const std::string& name, const std::string& value) override;
    bool IsPlaying(bool& playing) const override;
    void Close() override;

    // What the calls answer.
    bool available = true;
    int majorVersion = 10;
    bool playing = true;
    std::map<std::string, std::string> variables;
    // The operation ("SetMovie", "Play", ...) that refuses.
    std::string failing;

    // What was asked: the calls as "Name" or "Name argument[=value]".
    std::vector<std::string> calls;
    bool started = false;
    std::string controlId;
    bool input = false;
    std::string movie;
    bool loop = false;

private:
    // Records the call; false when it must fail.
    bool Take(const std::string& operation, const std::string& argument = std::string());
};

}  // namespace flash
