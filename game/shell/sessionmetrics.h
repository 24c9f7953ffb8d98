// The records of a play session declared to the game state at start-up: the
// session record with its values and timers, and four progress checkpoints.
#pragma once

// Does nothing before the game state can exist.
void DeclareSessionMetrics();
