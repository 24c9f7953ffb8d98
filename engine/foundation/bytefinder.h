// Repeated forward searches for one byte in a text, remembering the last
// answer so that many searches over a stretch without the byte scan it once.
#pragma once

#include <cstring>

class TByteFinder {
public:
    TByteFinder(const char* text, size_t length, char byte) : mText(text), mLength(length), mByte(byte) {}

    // Index of the first occurrence at or after from, or the length when there is none.
    size_t Find(size_t from)
    {
        // A remembered answer at or after from is still the first: nothing
        // lies between the earlier start it was found from and it.
        if (mKnown && mNext >= from) {
            return mNext;
        }
        const void* found = from < mLength ? std::memchr(mText + from, mByte, mLength - from) : nullptr;
        mNext = found != nullptr ? size_t(static_cast<const char*>(found) - mText) : mLength;
        mKnown = true;
        return mNext;
    }

private:
    const char* mText;
    size_t mLength;
    char mByte;
    size_t mNext = 0;
    bool mKnown = false;
};
