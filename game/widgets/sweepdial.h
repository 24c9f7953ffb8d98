// A dial that also fills the sector swept from its start angle to its
// current angle with a second image, cut along the window's border as a fan
// of triangles about the centre.
#pragma once

#include <memory>
#include <vector>

#include "foundation/vector.h"
#include "game/widgets/dial.h"

class KSweepDial : public KDial {
public:
    static TWindow* Create();
    static TWindowClassId ClassId() { return &Create; }

    const char* GetClassName() const override;
    bool IsA(TWindowClassId id) const override;
    // Reads the sweep keys and allocates the fan once.
    void PostInit(const TWindowStyle& style) override;
    // The sweep (when the value is not 0) under the needle and overlay.
    void PostDraw() override;
    void SetValue(float value) override;

    // Where the ray from the centre at the angle (0 up, clockwise) leaves
    // the window, for a window and centre taken at set-up.
    TVec2 EdgePoint(float angle) const;
    // Rebuilds the fan from the start angle to the current angle.
    void BuildSweep();

    int GetSegmentCount() const { return mSegments; }
    int GetTriangleCount() const { return mTriangles; }
    const std::vector<TRenderVertex>& GetVertices() const { return mVertices; }
    const std::vector<uint16_t>& GetIndices() const { return mIndices; }

    static constexpr int kDefaultSegments = 32;
    // Vertex N, the centre, must stay within 16-bit indices.
    static constexpr int kMaxSegments = 65535;
    // 2 pi / 64: the far end of a sweep reaches a little past its angle.
    static constexpr float kOvershoot = 0.09817477f;

private:
    void AllocateFan();
    void SetEdgeVertex(int index, float angle);

    std::shared_ptr<TTexture> mSweep;
    int mSegments = kDefaultSegments;
    float mStartAngle = 0;
    float mCurrentAngle = 0;
    float mAspect = 0;
    int mWidth = 0;
    int mHeight = 0;
    std::vector<TRenderVertex> mVertices;
    std::vector<uint16_t> mIndices;
    int mTriangles = 0;
    bool mBuilt = false;
};
