// Base64 with "=" padding and no line breaks, over caller-provided buffers.
#pragma once

#include <cstdint>

int Base64EncodedSize(int n);
// Writes Base64EncodedSize(n) characters, no terminating NUL; returns the count.
int Base64Encode(const uint8_t* input, int n, char* output);

int Base64DecodedSize(int n);
// Needs Base64DecodedSize(n) bytes of output; returns the number of bytes decoded.
// Text whose length is not a multiple of 4 is taken as padded with "=".
int Base64Decode(const char* text, int n, uint8_t* output);
