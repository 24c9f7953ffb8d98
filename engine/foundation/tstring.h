// The engine's text type: an 8-bit, NUL-terminated string held through a
// shared, reference-counted buffer. Copies share the buffer; a writer first
// takes a private copy when the buffer is shared (copy on write).
#pragma once

#include <atomic>
#include <cstdarg>
#include <cstdint>

// Shared buffer behind one or more TStrings.
struct TStringRep {
    char* text;               // NUL-terminated bytes
    std::atomic<int> refs;    // number of TStrings pointing here
    int capacity;             // size of text in bytes, terminator included
    int length;               // bytes before the first NUL, kept by every writer
};

class TString {
public:
    // Flag bits of FindChar, Find and Replace.
    enum {
        kIgnoreCase = 1,  // compare after toupper
        kReplaceAll = 2,  // Replace every occurrence, not only the first
        kBackwards = 4,   // search from the end; start counts from the end
    };

    TString() = default;
    TString(const char* text);
    TString(const char* buffer, int count);
    TString(const TString& other);
    TString(TString&& other) noexcept;
    ~TString();

    TString& operator=(const TString& other);
    TString& operator=(TString&& other) noexcept;
    TString& operator=(const char* text);

    int Length() const;
    const char* c_str() const;
    char CharAt(int index) const;
    int ToInt() const;
    float ToFloat() const;

    // -1, 0 or 1, comparing bytes as unsigned values; empty equals "".
    int Compare(const TString& other) const;
    bool operator==(const TString& other) const { return Compare(other) == 0; }
    bool operator<(const TString& other) const { return Compare(other) < 0; }

    int FindChar(char c, int flags = 0, int start = 0) const;
    int Find(const TString& needle, int flags = 0, int start = 0) const;

    TString SubString(int start, int count = -1) const;
    TString operator+(const TString& other) const;
    TString operator+(char c) const;

    static TString Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static TString VFormat(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
    void SetFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // UTF-8 form of one code point; empty for non-characters and values past U+10FFFF.
    static TString FromWide(uint32_t codePoint);

    TString& operator+=(const TString& other);
    TString& operator+=(char c);
    void Append(const char* buffer, int count);
    // Copies count bytes to position (-1: at the end); returns position + count.
    int WriteAt(int position, const void* buffer, int count, bool terminate);
    void Reserve(int capacity);
    void ToLower();
    void Erase(int position, int count = -1);
    void Replace(const TString& search, const TString& replacement, int flags = 0, int start = 0);

private:
    explicit TString(TStringRep* rep) : mRep(rep) {}
    static TStringRep* NewRep(int capacity);
    static TStringRep* NewRep(const char* bytes, int count, int capacity);
    void Release();
    void Unshare();
    void GrowTo(int capacity);
    // The length once bytes before from are known to hold no NUL.
    void MeasureFrom(int from);
    void UpdateLengthAfterWrite(int position, int count, bool terminate);

    TStringRep* mRep = nullptr;
};
