// The settling of a level that is over: its result goes into the player's
// progress and the named values, the score goes to the local hiscores, the
// achievements are checked, and the end-of-level dialog
// "scripts/endlevel.lua" is queued for the main script.
#pragma once

#include "foundation/tstring.h"

class RTimer;
class VLevel;

// The level's status for "current_level_total" (0 failed, 1 passed, 2
// mastered). A pass banks the takings, counts a first completion and a
// first mastery, advances the player and saves the named values; a failure
// changes no totals and submits nothing.
int EndStoryLevel(const VLevel& level);
// Records the time played in "endless_time" and submits the worth with it.
void EndEndlessLevel(RTimer* timer);
// Adds the score to the local hiscores with the number as its game data,
// and outside endless mode the medals earned; nothing without a hiscore
// client.
void SubmitLevelScore(int score, int number, bool endless);
