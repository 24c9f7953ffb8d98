#include "foundation/xmltokenizer.h"

#include "foundation/file.h"
#include "foundation/xmlescape.h"

#include <string>

namespace {

constexpr size_t kTokenReserve = 256;

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsMarkupChar(char c)
{
    return c == '<' || c == '>' || c == '=';
}

int ContinuationBytes(int lead)
{
    if (lead >= 0xF0) {
        return 3;
    }
    if (lead >= 0xE0) {
        return 2;
    }
    return lead >= 0xC0 ? 1 : 0;
}

// Reads up to whitespace or mark-up; the stopper is pushed back, and so is a
// "/" that ends the run right before ">".
void ReadBareRun(TGetChar& source, std::string& raw)
{
    char group[4];
    for (int count; (count = source.GetUtf8(group)) > 0;) {
        if (count == 1 && (IsSpace(group[0]) || IsMarkupChar(group[0]))) {
            source.UngetChar(static_cast<unsigned char>(group[0]));
            if (group[0] == '>' && raw.size() > 1 && raw.back() == '/') {
                source.UngetChar('/');
                raw.pop_back();
            }
            return;
        }
        raw.append(group, count);
    }
}

void ReadQuotedRun(TGetChar& source, std::string& raw)
{
    char group[4];
    for (int count; (count = source.GetUtf8(group)) > 0 && group[0] != '"';) {
        raw.append(group, count);
    }
}

} // namespace

int TGetChar::GetChar()
{
    if (mEnded) {
        return -1;
    }
    if (!mPushedBack.empty()) {
        const int byte = mPushedBack.back();
        mPushedBack.pop_back();
        return byte;
    }
    return ReadByte();
}

int TGetChar::UngetChar(int byte)
{
    if (byte < 0) {
        return -1;
    }
    mPushedBack.push_back(static_cast<unsigned char>(byte));
    return byte;
}

int TGetChar::GetUtf8(char group[4])
{
    const int lead = GetChar();
    if (lead < 0) {
        return 0;
    }
    group[0] = char(lead);
    const int more = ContinuationBytes(lead);
    for (int i = 1; i <= more; ++i) {
        const int byte = GetChar();
        group[i] = char(byte < 0 ? 0xFF : byte);
    }
    return more + 1;
}

void TGetChar::Rewind()
{
    mPushedBack.clear();
    mEnded = false;
    RewindSource();
}

int TGetCharString::ReadByte()
{
    return mPosition < mSize ? static_cast<unsigned char>(mData[mPosition++]) : -1;
}

TGetCharFile::TGetCharFile(const TString& name) : mFile(FileOpen(name, kFileReadBinary)) {}

TGetCharFile::~TGetCharFile()
{
    if (mFile != nullptr) {
        FileClose(mFile);
    }
}

int TGetCharFile::ReadByte()
{
    return mFile != nullptr ? FileGetc(mFile) : -1;
}

void TGetCharFile::RewindSource()
{
    if (mFile != nullptr) {
        FileSeek(mFile, 0, kSeekStart);
    }
}

bool TGetCharFile::ReadAll(std::vector<char>& out, long limit)
{
    if (mFile == nullptr) {
        return false;
    }
    const long size = mFile->GetSize();
    if (size < 0 || size > limit) {
        return false;
    }
    Rewind();
    out.resize(size_t(size));
    return FileRead(mFile, out.data(), out.size()) == out.size();
}

void XmlNextToken(TGetChar& source, TXmlToken& token)
{
    std::string raw;
    raw.reserve(kTokenReserve);
    token.quoted = false;
    char group[4];
    int count;
    while ((count = source.GetUtf8(group)) == 1 && IsSpace(group[0])) {
    }
    if (count == 1 && IsMarkupChar(group[0])) {
        raw = group[0];
    } else if (count == 1 && group[0] == '"') {
        token.quoted = true;
        ReadQuotedRun(source, raw);
    } else if (count > 0) {
        raw.assign(group, count);
        ReadBareRun(source, raw);
    }
    token.text = XmlUnescape(raw.data(), int(raw.size()), &token.entity);
}
