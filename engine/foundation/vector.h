// Float vectors: TVec2 (also a 2-D point or size), TVec3 (rows of TMat3) and
// TVec4 (rows of TMat4).
#pragma once

struct TVec2 {
    float x = 0;
    float y = 0;

    TVec2() = default;
    TVec2(float xValue, float yValue) : x(xValue), y(yValue) {}
    // From a pair of floats in memory.
    explicit TVec2(const float* xy) : x(xy[0]), y(xy[1]) {}

    TVec2& operator+=(const TVec2& other);
    TVec2& operator-=(const TVec2& other);
    TVec2& operator*=(float s);
    TVec2& operator/=(float s);
    TVec2 operator-() const { return TVec2(-x, -y); }
    bool operator==(const TVec2& other) const = default;

    TVec2 operator+(const TVec2& other) const { return TVec2(x + other.x, y + other.y); }
    TVec2 operator-(const TVec2& other) const { return TVec2(x - other.x, y - other.y); }
    TVec2 operator*(float s) const { return TVec2(x * s, y * s); }

    static float Dot(const TVec2& a, const TVec2& b) { return a.x * b.x + a.y * b.y; }
    float LengthSquared() const { return Dot(*this, *this); }
    float Length() const;
    // Scales to length 1; a zero vector stays as it is.
    void Normalize();
};

inline TVec2 operator*(float s, const TVec2& v) {
    return v * s;
}

struct TVec3 {
    float x = 0;
    float y = 0;
    float z = 0;

    TVec3() = default;
    TVec3(float xValue, float yValue, float zValue) : x(xValue), y(yValue), z(zValue) {}
    TVec3(const TVec2& xy, float zValue) : x(xy.x), y(xy.y), z(zValue) {}

    TVec3& operator+=(const TVec3& other);
    bool operator==(const TVec3& other) const = default;
};

struct TVec4 {
    float x = 0;
    float y = 0;
    float z = 0;
    float w = 0;

    TVec4() = default;
    TVec4(float xValue, float yValue, float zValue, float wValue) : x(xValue), y(yValue), z(zValue), w(wValue) {}
    bool operator==(const TVec4& other) const = default;
};
