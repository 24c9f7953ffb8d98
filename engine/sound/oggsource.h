// Ogg Vorbis streams opened over the engine's data: a block of memory that
// the stream owns, or an open file that it reads as it decodes. Closing the
// stream (ov_clear) frees the block or closes the file.
#pragma once

// The header's own stdio callback sets are not used.
#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cstdint>
#include <memory>
#include <vector>

class TFile;

struct TOggStreamClose {
    void operator()(OggVorbis_File* stream) const;
};
using TOggStreamPtr = std::unique_ptr<OggVorbis_File, TOggStreamClose>;

// An open stream over the bytes, or null when they hold no Vorbis stream.
TOggStreamPtr OpenOggMemory(std::vector<uint8_t> bytes);
// An open stream reading the file, which it closes when it goes; null (the
// file closed) when the file holds no Vorbis stream.
TOggStreamPtr OpenOggFile(TFile* file);

// Decodes little-endian signed 16-bit PCM into `destination`, whole frames of
// `frameBytes` only, until `bytes` are written or the stream ends. Returns the
// bytes written; `ended` is set when the stream ended or failed. Gaps in the
// data are skipped a bounded number of times.
uint32_t ReadOggPcm(OggVorbis_File* stream, uint8_t* destination, uint32_t bytes, uint32_t frameBytes, bool* ended);
