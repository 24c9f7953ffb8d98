#include "foundation/vector.h"

#include <cmath>

TVec2& TVec2::operator+=(const TVec2& other) {
    x += other.x;
    y += other.y;
    return *this;
}

TVec2& TVec2::operator-=(const TVec2& other) {
    x -= other.x;
    y -= other.y;
    return *this;
}

TVec2& TVec2::operator*=(float s) {
    x *= s;
    y *= s;
    return *this;
}

TVec2& TVec2::operator/=(float s) {
    x /= s;
    y /= s;
    return *this;
}

float TVec2::Length() const {
    return std::sqrt(LengthSquared());
}

void TVec2::Normalize() {
    float length = Length();
    if (length != 0.0f) {
        *this /= length;
    }
}

TVec3& TVec3::operator+=(const TVec3& other) {
    x += other.x;
    y += other.y;
    z += other.z;
    return *this;
}
