// Character sources and the token reader of the XML parser.
#pragma once

#include "foundation/tstring.h"

#include <vector>

class TFile;

// A byte source with its own push-back stack, so any number of bytes can be
// stepped back over whatever the underlying source is.
class TGetChar {
public:
    virtual ~TGetChar() = default;

    // The next byte 0..255, or -1 at the end (and always after End).
    int GetChar();
    // Pushes a byte back; returns it, or -1 for a negative byte.
    int UngetChar(int byte);
    // Reads one character: a byte and, when it starts a UTF-8 sequence, its
    // continuation bytes (0xFF for those past the end). Returns the number of
    // bytes put in group, 0 at the end.
    int GetUtf8(char group[4]);
    void Rewind();
    // Stops the source: every later read gives -1.
    void End() { mEnded = true; }

    int depth = 0; // nesting depth of the element being parsed

protected:
    virtual int ReadByte() = 0;
    virtual void RewindSource() = 0;

private:
    std::vector<unsigned char> mPushedBack;
    bool mEnded = false;
};

// Bytes of a memory buffer (not owned).
class TGetCharString : public TGetChar {
public:
    TGetCharString(const char* data, size_t size) : mData(data), mSize(size) {}

protected:
    int ReadByte() override;
    void RewindSource() override { mPosition = 0; }

private:
    const char* mData;
    size_t mSize;
    size_t mPosition = 0;
};

// Bytes of a file opened by virtual name for binary reading.
class TGetCharFile : public TGetChar {
public:
    explicit TGetCharFile(const TString& name);
    ~TGetCharFile() override;
    TGetCharFile(const TGetCharFile&) = delete;
    TGetCharFile& operator=(const TGetCharFile&) = delete;

    bool IsOpen() const { return mFile != nullptr; }
    // The whole file from its start; false when it is larger than limit or unreadable.
    bool ReadAll(std::vector<char>& out, long limit);

protected:
    int ReadByte() override;
    void RewindSource() override;

private:
    TFile* mFile;
};

struct TXmlToken {
    TString text;        // unescaped
    bool quoted = false; // written in double quotes
    bool entity = false; // began with an entity, so it is never mark-up

    bool IsEmpty() const { return text.Length() == 0; }
    bool IsMarkup(char c) const { return !entity && text.Length() == 1 && text.CharAt(0) == c; }
};

// Reads the next token: "<", ">" or "=" alone, a double-quoted run, or a run
// up to whitespace or mark-up. A "/" right before ">" is a token of its own.
// The token is empty at the end of the input.
void XmlNextToken(TGetChar& source, TXmlToken& token);
