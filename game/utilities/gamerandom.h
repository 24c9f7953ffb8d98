// The game's own random generator, apart from the platform's, the
// platform's generator that the shop floor draws from, and draws of a float
// within a range.
#pragma once

#include <cstdint>

class TRandom;

// Made on first use and seeded from the platform's generator; lives until
// the process ends.
TRandom& GetGameRandom();
// The platform generator's next number, through the animation host; 0, with
// a log line, while no host is installed.
uint32_t PlatformRandom();
// a + (b - a) x u with u in [0, 1) from the generator's next value; a may
// exceed b.
float RandomFloat(TRandom& generator, float a, float b);
// The same for a value already drawn.
float RandomFloat(uint32_t drawn, float a, float b);
