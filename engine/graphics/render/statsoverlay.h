// The statistics overlay the renderer draws at the end of a frame while it
// is on. The text layer provides it, since the renderer cannot lay out text;
// the platform hands it to the renderer.
#pragma once

class TRenderer;

class TStatsOverlay {
public:
    virtual ~TStatsOverlay() = default;
    // Called inside the frame, outside any 2D or 3D block.
    virtual void Draw(TRenderer& renderer) = 0;
};
