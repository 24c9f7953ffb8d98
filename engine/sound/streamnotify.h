// What a stream tells the sound data it played: that it is done with it.
#pragma once

class TSoundStream;

class TStreamNotify {
public:
    virtual ~TStreamNotify() = default;
    // On the main thread: the stream no longer plays this data.
    virtual void OnStreamDone(TSoundStream* stream) = 0;
};
