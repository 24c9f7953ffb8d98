// Row-major float matrices for row vectors: a point is (x, y, 1) times the
// matrix, so the last row holds the translation.
#pragma once

#include "foundation/vector.h"

// 2-D affine transform.
struct TMat3 {
    float m[3][3];

    TMat3();  // identity
    TMat3(float m00, float m01, float m02, float m10, float m11, float m12, float m20, float m21, float m22);

    void SetIdentity();
    TMat3& operator*=(const TMat3& other);

    TVec3 TransformVector(const TVec3& v) const;
    TVec2 TransformPoint(const TVec2& p) const;

    // These change only the upper-left 2x2 block (block times rotation or
    // scale), so they act in the object's own space, before its translation.
    void Rotate(float angle);  // radians
    void Scale(float sx, float sy);
    void Scale(float s);

private:
    void MultiplyBlock(float b00, float b01, float b10, float b11);
};

TMat3 operator*(const TMat3& a, const TMat3& b);

struct TMat4 {
    float m[4][4];

    TMat4();  // identity
    TMat4(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13, float m20,
          float m21, float m22, float m23, float m30, float m31, float m32, float m33);

    // Left-handed perspective projection for row vectors; fov in radians.
    // The shift moves the centre of projection off the middle of the view
    // (x is mirrored); a shift of exactly +-1 stands for -10000.
    void SetPerspective(float nearPlane, float farPlane, float fov, float aspect, const TVec2& shift);
};
