// Rewriting a file so that a crash or a failed write never leaves it half written.
#pragma once

#include <cstddef>
#include <string>

namespace os {

// Writes the bytes to a new temporary file in the same folder, flushes it to
// disk and renames it over path. On failure the old file is left as it was,
// the temporary file is removed and error (when given) says what failed.
// Temporary files of the same target left by an earlier, interrupted call
// (path + "." + six letters or digits) are removed first.
bool ReplaceFile(const std::string& path, const void* data, size_t size, std::string* error = nullptr);

}  // namespace os
