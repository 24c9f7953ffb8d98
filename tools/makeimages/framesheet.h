// Frame sheets: the frames of an animation side by side in one picture, and
// the sequence file that names the picture, places each frame with its
// registration point and its named points, and plays the frames in turn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/makeimages/canvas.h"

namespace makeimages {

// A named point of a frame, in the frame's pixels.
struct FrameAnchor {
    std::string name;
    int x;
    int y;
};

struct FrameSheet {
    int width;
    int height;
    // Where the frame stands, in its pixels.
    int regx;
    int regy;
    int count;
    // Draws frame n on the sheet with the frame's left edge at left.
    std::function<void(Canvas& sheet, float left, int frame)> draw;
    std::function<std::vector<FrameAnchor>(int frame)> anchors;
};

// Appends a frame number to a script's comma-separated frame list.
void AppendFrame(std::string& list, int frame);

// Writes FOLDER/PATH.png and FOLDER/PATH.xml, with the animation script;
// without one "DoAnim" plays the frames in turn.
bool WriteFrameSheet(const std::string& folder, const std::string& path, const FrameSheet& sheet,
                     const std::string& script = "");

}  // namespace makeimages
