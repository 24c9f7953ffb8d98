#include "foundation/matrix.h"

#include <cmath>

TMat3::TMat3() {
    SetIdentity();
}

TMat3::TMat3(float m00, float m01, float m02, float m10, float m11, float m12, float m20, float m21, float m22)
    : m{{m00, m01, m02}, {m10, m11, m12}, {m20, m21, m22}} {}

void TMat3::SetIdentity() {
    *this = TMat3(1, 0, 0, 0, 1, 0, 0, 0, 1);
}

TMat3 operator*(const TMat3& a, const TMat3& b) {
    TMat3 product;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            product.m[row][column] =
                a.m[row][0] * b.m[0][column] + a.m[row][1] * b.m[1][column] + a.m[row][2] * b.m[2][column];
        }
    }
    return product;
}

TMat3& TMat3::operator*=(const TMat3& other) {
    *this = *this * other;
    return *this;
}

TVec3 TMat3::TransformVector(const TVec3& v) const {
    return TVec3(v.x * m[0][0] + v.y * m[1][0] + v.z * m[2][0], v.x * m[0][1] + v.y * m[1][1] + v.z * m[2][1],
                 v.x * m[0][2] + v.y * m[1][2] + v.z * m[2][2]);
}

TVec2 TMat3::TransformPoint(const TVec2& p) const {
    return TVec2(p.x * m[0][0] + p.y * m[1][0] + m[2][0], p.x * m[0][1] + p.y * m[1][1] + m[2][1]);
}

void TMat3::MultiplyBlock(float b00, float b01, float b10, float b11) {
    for (int row = 0; row < 2; ++row) {
        float a0 = m[row][0];
        float a1 = m[row][1];
        m[row][0] = a0 * b00 + a1 * b10;
        m[row][1] = a0 * b01 + a1 * b11;
        m[row][2] = 0;
    }
}

void TMat3::Rotate(float angle) {
    float c = std::cos(angle);
    float s = std::sin(angle);
    MultiplyBlock(c, s, -s, c);
}

void TMat3::Scale(float sx, float sy) {
    MultiplyBlock(sx, 0, 0, sy);
}

void TMat3::Scale(float s) {
    Scale(s, s);
}

TMat4::TMat4() : TMat4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1) {}

TMat4::TMat4(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13, float m20,
             float m21, float m22, float m23, float m30, float m31, float m32, float m33)
    : m{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}} {}

namespace {

const float kEdgeShift = -10000.0f;

float ShiftTerm(float shift) {
    float size = std::fabs(shift);
    return size == 1.0f ? kEdgeShift : shift / (1.0f - size);
}

}  // namespace

void TMat4::SetPerspective(float nearPlane, float farPlane, float fov, float aspect, const TVec2& shift) {
    float c = std::cos(fov / 2) / std::sin(fov / 2);
    float inverseAspect = 1.0f / aspect;
    float depth = farPlane - nearPlane;
    *this = TMat4(c / inverseAspect, 0, 0, 0,
                  0, c, 0, 0,
                  ShiftTerm(-shift.x), ShiftTerm(shift.y), farPlane / depth, 1,
                  0, 0, -nearPlane * farPlane / depth, 0);
}
