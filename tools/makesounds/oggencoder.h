// Encodes float samples to an Ogg Vorbis file with libvorbisenc. The stream
// serial number is fixed, so the same samples always give the same bytes.
#pragma once

#include <string>
#include <vector>

namespace makesounds {

// One vector of samples (-1..1) per channel, all of the same length.
using Channels = std::vector<std::vector<float>>;

// The encoded file, or empty when the encoder refuses the format.
std::string EncodeOgg(const Channels& channels, int sampleRate, float quality);

}  // namespace makesounds
