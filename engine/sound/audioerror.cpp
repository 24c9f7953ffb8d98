#include "sound/audioerror.h"

#include "foundation/debuglog.h"

void LogAudioError(audio::Result result, const char* module, int line) {
    DebugLog("DX Error: %s (0x%x), File %s, Line %d", "", static_cast<unsigned>(result), module, line);
}
