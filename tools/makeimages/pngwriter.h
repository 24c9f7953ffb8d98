// Writes 8-bit RGBA rows as a PNG file, beside its place first and then
// renamed, so a reader never sees half a file.
#pragma once

#include <string>
#include <vector>

namespace makeimages {

// False (with a message on standard error) when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgba);

}  // namespace makeimages
