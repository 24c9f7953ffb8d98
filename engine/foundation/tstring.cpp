#include "foundation/tstring.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const int kMinCapacity = 16;
const int kFormatBufferSize = 4096;

// Capacity for a text of n bytes built from a buffer, a substring or a sum.
int SmallCapacity(int n) {
    return n >= kMinCapacity - 1 ? n + 1 : kMinCapacity;
}

bool SameByte(char a, char b, int flags) {
    if (flags & TString::kIgnoreCase) {
        return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
    }
    return a == b;
}

}  // namespace

// Buffers are zero-filled so that bytes never written read as terminators.
TStringRep* TString::NewRep(int capacity) {
    return new TStringRep{new char[capacity](), {1}, capacity, 0};
}

TStringRep* TString::NewRep(const char* bytes, int count, int capacity) {
    TStringRep* rep = NewRep(capacity);
    if (count > 0) {
        std::memcpy(rep->text, bytes, count);
        rep->length = static_cast<int>(strnlen(rep->text, count));
    }
    return rep;
}

TString::TString(const char* text) {
    if (!text) {
        mRep = NewRep(kMinCapacity);
        return;
    }
    int length = static_cast<int>(std::strlen(text));
    mRep = NewRep(text, length, length + 1);
}

TString::TString(const char* buffer, int count) {
    if (count < 0 || (!buffer && count > 0)) {
        return;
    }
    mRep = NewRep(buffer, count, SmallCapacity(count));
}

TString::TString(const TString& other) : mRep(other.mRep) {
    if (mRep) {
        mRep->refs.fetch_add(1, std::memory_order_relaxed);
    }
}

TString::TString(TString&& other) noexcept : mRep(other.mRep) {
    other.mRep = nullptr;
}

TString::~TString() {
    Release();
}

void TString::Release() {
    if (mRep && mRep->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete[] mRep->text;
        delete mRep;
    }
    mRep = nullptr;
}

TString& TString::operator=(const TString& other) {
    if (mRep != other.mRep) {
        TString copy(other);
        std::swap(mRep, copy.mRep);
    }
    return *this;
}

TString& TString::operator=(TString&& other) noexcept {
    if (this != &other) {
        Release();
        mRep = other.mRep;
        other.mRep = nullptr;
    }
    return *this;
}

TString& TString::operator=(const char* text) {
    // Built before releasing, since text may point into this string.
    return *this = TString(text);
}

int TString::Length() const {
    return mRep ? mRep->length : 0;
}

const char* TString::c_str() const {
    return mRep ? mRep->text : "";
}

char TString::CharAt(int index) const {
    return index >= 0 && index < Length() ? mRep->text[index] : 0;
}

void TString::MeasureFrom(int from) {
    mRep->length = from + static_cast<int>(strnlen(mRep->text + from, mRep->capacity - from));
}

int TString::ToInt() const {
    return std::atoi(c_str());
}

float TString::ToFloat() const {
    return static_cast<float>(std::atof(c_str()));
}

int TString::Compare(const TString& other) const {
    int result = std::strcmp(c_str(), other.c_str());
    return (result > 0) - (result < 0);
}

int TString::FindChar(char c, int flags, int start) const {
    int length = Length();
    if (start < 0 || start >= length) {
        return -1;
    }
    const char* text = c_str();
    if (flags & kBackwards) {
        for (int i = length - 1 - start; i >= 0; --i) {
            if (SameByte(text[i], c, flags)) {
                return i;
            }
        }
        return -1;
    }
    for (int i = start; i < length; ++i) {
        if (SameByte(text[i], c, flags)) {
            return i;
        }
    }
    return -1;
}

int TString::Find(const TString& needle, int flags, int start) const {
    int length = Length();
    int needleLength = needle.Length();
    int last = length - needleLength;
    if (start < 0 || start >= length || last < 0) {
        return -1;
    }
    const char* text = c_str();
    const char* wanted = needle.c_str();
    auto matchesAt = [&](int position) {
        for (int i = 0; i < needleLength; ++i) {
            if (!SameByte(text[position + i], wanted[i], flags)) {
                return false;
            }
        }
        return true;
    };
    if (flags & kBackwards) {
        for (int position = last - start; position >= 0; --position) {
            if (matchesAt(position)) {
                return position;
            }
        }
        return -1;
    }
    for (int position = start; position <= last; ++position) {
        if (matchesAt(position)) {
            return position;
        }
    }
    return -1;
}

TString TString::SubString(int start, int count) const {
    int length = Length();
    if (start < 0 || start >= length || count == 0) {
        return TString();
    }
    int available = length - start;
    if (count < 0 || count > available) {
        count = available;
    }
    return TString(c_str() + start, count);
}

TString TString::operator+(const TString& other) const {
    int length = Length();
    int otherLength = other.Length();
    TString result(NewRep(c_str(), length, SmallCapacity(length + otherLength)));
    std::memcpy(result.mRep->text + length, other.c_str(), otherLength);
    result.mRep->length = length + otherLength;
    return result;
}

TString TString::operator+(char c) const {
    int length = Length();
    TString result(NewRep(c_str(), length, SmallCapacity(length + 1)));
    result.mRep->text[length] = c;
    result.mRep->length = length + (c != 0);
    return result;
}

TString TString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    TString result = VFormat(format, args);
    va_end(args);
    return result;
}

TString TString::VFormat(const char* format, va_list args) {
    if (!format) {
        return TString();
    }
    char local[kFormatBufferSize];
    va_list pass;
    va_copy(pass, args);
    int length = std::vsnprintf(local, sizeof local, format, pass);
    va_end(pass);
    // The C library reports the full length even when the text was cut, so a
    // negative result is a conversion error that a second pass cannot mend.
    if (length < 0) {
        return TString();
    }
    if (length < kFormatBufferSize) {
        return TString(local);
    }
    TString result;
    result.Reserve(length + 1);
    va_copy(pass, args);
    std::vsnprintf(result.mRep->text, length + 1, format, pass);
    va_end(pass);
    result.MeasureFrom(0);
    return result;
}

void TString::SetFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    *this = VFormat(format, args);
    va_end(args);
}

TString TString::FromWide(uint32_t codePoint) {
    char bytes[4];
    int count = 0;
    if (codePoint < 0x80) {
        bytes[count++] = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        bytes[count++] = static_cast<char>(0xC0 | (codePoint >> 6));
        bytes[count++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint <= 0xFFFF) {
        if (codePoint == 0xFEFF || codePoint >= 0xFFFE) {
            return TString();
        }
        bytes[count++] = static_cast<char>(0xE0 | (codePoint >> 12));
        bytes[count++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint <= 0x10FFFF) {
        bytes[count++] = static_cast<char>(0xF0 | (codePoint >> 18));
        bytes[count++] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        bytes[count++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        return TString();
    }
    return TString(bytes, count);
}

void TString::Unshare() {
    if (mRep && mRep->refs.load(std::memory_order_acquire) > 1) {
        int length = Length();
        TString copy(NewRep(mRep->text, length, length + 1));
        std::swap(mRep, copy.mRep);
    }
}

// Gives an unshared string a buffer of at least the capacity, keeping its bytes.
void TString::GrowTo(int capacity) {
    if (mRep && mRep->capacity >= capacity) {
        return;
    }
    TString grown(NewRep(capacity));
    if (mRep) {
        std::memcpy(grown.mRep->text, mRep->text, mRep->capacity);
        grown.mRep->length = mRep->length;
    }
    std::swap(mRep, grown.mRep);
}

TString& TString::operator+=(const TString& other) {
    // Holding the other text keeps it alive and makes Unshare copy when it is this string.
    TString tail(other);
    int length = Length();
    int tailLength = tail.Length();
    if (tailLength == 0) {
        return *this;
    }
    Unshare();
    GrowTo(length + tailLength + 1);
    std::memcpy(mRep->text + length, tail.c_str(), tailLength);
    mRep->text[length + tailLength] = 0;
    mRep->length = length + tailLength;
    return *this;
}

TString& TString::operator+=(char c) {
    int length = Length();
    Unshare();
    GrowTo(length + 2);
    mRep->text[length] = c;
    mRep->text[length + 1] = 0;
    mRep->length = length + (c != 0);
    return *this;
}

void TString::Append(const char* buffer, int count) {
    *this += TString(buffer, count);
}

int TString::WriteAt(int position, const void* buffer, int count, bool terminate) {
    if (position < -1 || count < 0 || (!buffer && count > 0)) {
        return -1;
    }
    int length = Length();
    if (position == -1) {
        position = length;
    }
    long long needed = static_cast<long long>(position) + count + 1;
    if (needed > INT_MAX / 2) {
        return -1;
    }
    Unshare();
    long long capacity = mRep ? mRep->capacity : kMinCapacity;
    while (capacity < needed) {
        capacity *= 2;
    }
    GrowTo(static_cast<int>(capacity));
    if (position > length) {
        std::memset(mRep->text + length, 0, position - length);
    }
    if (count > 0) {
        std::memcpy(mRep->text + position, buffer, count);
    }
    if (terminate) {
        mRep->text[position + count] = 0;
    }
    UpdateLengthAfterWrite(position, count, terminate);
    return position + count;
}

// Bytes written past the terminator leave the length alone; a NUL among the
// written bytes ends the text there; a write reaching the old end joins any
// bytes still lying after it.
void TString::UpdateLengthAfterWrite(int position, int count, bool terminate) {
    const int length = mRep->length;
    if (position > length) {
        return;
    }
    const void* zero = std::memchr(mRep->text + position, 0, count);
    if (zero) {
        mRep->length = static_cast<int>(static_cast<const char*>(zero) - mRep->text);
    } else if (terminate) {
        mRep->length = position + count;
    } else if (position + count >= length) {
        MeasureFrom(position + count);
    }
}

void TString::Reserve(int capacity) {
    capacity = std::max({capacity, Length() + 1, kMinCapacity});
    TString reserved(NewRep(capacity));
    if (mRep) {
        std::memcpy(reserved.mRep->text, mRep->text, std::min(mRep->capacity, capacity));
        reserved.mRep->length = mRep->length;
    }
    std::swap(mRep, reserved.mRep);
}

void TString::ToLower() {
    if (Length() == 0) {
        return;
    }
    Unshare();
    for (char* p = mRep->text; *p; ++p) {
        *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    }
}

void TString::Erase(int position, int count) {
    int length = Length();
    if (position < 0 || position >= length || count == 0) {
        return;
    }
    int available = length - position;
    if (count < 0 || count > available) {
        count = available;
    }
    Unshare();
    std::memmove(mRep->text + position, mRep->text + position + count, available - count + 1);
    mRep->length = length - count;
}

void TString::Replace(const TString& search, const TString& replacement, int flags, int start) {
    // Copies keep both texts intact should either be this string.
    TString wanted(search);
    TString inserted(replacement);
    int wantedLength = wanted.Length();
    int insertedLength = inserted.Length();
    // An empty search text would match everywhere and never advance.
    if (wantedLength == 0 || Length() == 0) {
        return;
    }
    Unshare();
    int offset = start;
    for (;;) {
        int position = Find(wanted, flags, offset);
        if (position < 0) {
            return;
        }
        int length = Length();
        int newLength = length - wantedLength + insertedLength;
        GrowTo(newLength + 1);
        char* text = mRep->text;
        if (insertedLength != wantedLength) {
            std::memmove(text + position + insertedLength, text + position + wantedLength,
                         length - position - wantedLength + 1);
        }
        std::memcpy(text + position, inserted.c_str(), insertedLength);
        mRep->length = newLength;
        if (!(flags & kReplaceAll)) {
            return;
        }
        if (flags & kBackwards) {
            // The next match must end where this one began.
            if (position < wantedLength) {
                return;
            }
            offset = newLength - position;
        } else {
            offset = position + insertedLength;
        }
    }
}
