#include "lua/chunkinput.h"

#include <cstring>

namespace script {

bool ChunkInput::refill()
{
    // A reader is not called again once it has reported the end.
    if (ended_)
        return false;
    size_t size = 0;
    const char* piece = reader_(L_, data_, &size);
    if (piece == nullptr || size == 0) {
        ended_ = true;
        return false;
    }
    next_ = piece;
    left_ = size;
    return true;
}

size_t ChunkInput::read(void* out, size_t size)
{
    char* dest = static_cast<char*>(out);
    size_t done = 0;
    while (done < size) {
        if (left_ == 0 && !refill())
            break;
        size_t n = size - done < left_ ? size - done : left_;
        std::memcpy(dest + done, next_, n);
        next_ += n;
        left_ -= n;
        done += n;
    }
    return done;
}

}  // namespace script
