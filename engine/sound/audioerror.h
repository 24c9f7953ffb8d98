// The log line of a failed audio call: the result's number, the source
// module and the place in it.
#pragma once

#include "platform/audio/result.h"

// Writes "DX Error: (empty text) (0x<result>), File <module>, Line <line>".
void LogAudioError(audio::Result result, const char* module, int line);
