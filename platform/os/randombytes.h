// Random bytes from the operating system's generator.
#pragma once

#include <cstddef>

namespace os {

// Fills the buffer from /dev/urandom; false when the generator cannot be read.
bool RandomBytes(void* buffer, size_t count);

}  // namespace os
