// Volumes from callers are factors from 0 (silent) to 1 (full).
#pragma once

#include <algorithm>
#include <cmath>

// The volume within 0..1; NaN counts as silence.
inline float ClampVolume(float volume) {
    return std::isnan(volume) ? 0.0f : std::clamp(volume, 0.0f, 1.0f);
}
