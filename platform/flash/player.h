// A movie player shown over the game window, driven as a scriptable control:
// load a file, loop, stop, play, named text variables, whether it plays and
// its major version. Texts are UTF-8.
#pragma once

#include <string>

namespace flash {

class Player {
public:
    virtual ~Player() = default;

    // Creates the control named by the identifier over the game window; false
    // when no such control can be made. With input the movie takes the mouse
    // under an arrow cursor, right buttons excepted, so no context menu opens.
    virtual bool Start(const std::string& controlId, bool input) = 0;
    // The control's major version; 0 before Start.
    virtual int MajorVersion() const = 0;

    // Each of these is false when no control was started or it refused.
    virtual bool SetMovie(const std::string& path) = 0;
    virtual bool SetLoop(bool loop) = 0;
    virtual bool Stop() = 0;
    virtual bool Play() = 0;
    virtual bool GetVariable(const std::string& name, std::string& value) = 0;
    virtual bool SetVariable(const std::string& name, const std::string& value) = 0;
    virtual bool IsPlaying(bool& playing) const = 0;

    // Removes the control; nothing when none was started.
    virtual void Close() = 0;
};

}  // namespace flash
