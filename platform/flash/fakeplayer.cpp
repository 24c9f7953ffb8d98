#include "platform/flash/fakeplayer.h"

namespace flash {

bool FakePlayer::Take(const std::string& operation, const std::string& argument) {
    calls.push_back(argument.empty() ? operation : operation + " " + argument);
    return started && operation != failing;
}

bool FakePlayer::Start(const std::string& id, bool takesInput) {
    calls.push_back("Start " + id);
    if (!available) return false;
    started = true;
    controlId = id;
    input = takesInput;
    return true;
}

bool FakePlayer::SetMovie(const std::string& path) {
    if (!Take("SetMovie", path)) return false;
    movie = path;
    return true;
}

bool FakePlayer::SetLoop(bool on) {
    if (!Take("SetLoop", on ? "1" : "0")) return false;
    loop = on;
    return true;
}

bool FakePlayer::Stop() {
    if (!Take("Stop")) return false;
    playing = false;
    return true;
}

bool FakePlayer::Play() {
    if (!Take("Play")) return false;
    playing = true;
    return true;
}

bool FakePlayer::GetVariable(const std::string& name, std::string& value) {
    if (!Take("GetVariable", name)) return false;
    auto found = variables.find(name);
    value = found == variables.end() ? std::string() : found->second;
    return true;
}

bool FakePlayer::SetVariable(const std::string& name, const std::string& value) {
    if (!Take("SetVariable", name + "=" + value)) return false;
    variables[name] = value;
    return true;
}

bool FakePlayer::IsPlaying(bool& answer) const {
    if (!started || failing == "IsPlaying") return false;
    answer = playing;
    return true;
}

void FakePlayer::Close() {
    calls.push_back("Close");
    started = false;
}

}  // namespace flash
