#include "sound/soundinstance.h"

#include "sound/sound.h"

void TSoundInstance::MoveToQueuedSound(TSoundStream* stream) {
    mSound = mQueuedSound;
    mQueuedSound.reset();
    mStream = stream;
}
