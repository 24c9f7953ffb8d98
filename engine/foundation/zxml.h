// The compressed document form "ZXML": the magic, the little-endian lengths of
// the zlib stream and of the plain text, then the stream.
#pragma once

#include <cstddef>
#include <string>

// True when the buffer begins with the "ZXML" magic.
bool IsZxml(const char* data, size_t size);

// Inflates a "ZXML" buffer into plain. Headers that do not fit the buffer or
// promise more text than a stream of that size can hold, and streams that do
// not inflate, give false and a log line.
bool InflateZxml(const char* data, size_t size, std::string& plain);
