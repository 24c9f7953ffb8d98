#include "foundation/xmlnode.h"

#include "foundation/debuglog.h"
#include "foundation/xmlescape.h"
#include "foundation/xmltokenizer.h"

#include <zlib.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr char kCompressedMagic[4] = {'Z', 'X', 'M', 'L'};
constexpr size_t kCompressedHeader = 12;
// Limits that keep a hostile document from taking the process down.
constexpr uint32_t kMaxPlainLength = 64u << 20;
constexpr uint64_t kMaxInflateRatio = 1032; // the most deflate can expand
constexpr int kMaxDepth = 256;
constexpr int kIndentStep = 4;

bool IsCompressed(const char* data, size_t size)
{
    return size >= sizeof(kCompressedMagic) && std::memcmp(data, kCompressedMagic, sizeof(kCompressedMagic)) == 0;
}

uint32_t ReadU32LE(const char* bytes)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    return uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
}

bool IsSpecialTag(const TString& name)
{
    return name == TString("?xml") || name == TString("!DOCTYPE") || std::strncmp(name.c_str(), "!--", 3) == 0;
}

// A pending "/" or "?" right before ">" (as in "/>" and "?>") makes the element empty.
bool EndsWithoutContent(const TString& pending)
{
    return pending.CharAt(0) == '/' || pending.CharAt(0) == '?';
}

} // namespace

TXmlNode::TXmlNode() = default;

TXmlNode::TXmlNode(const TString& name) : mName(name) {}

TXmlNode::~TXmlNode() = default;

TXmlNode* TXmlNode::CreateChild(const TString& name)
{
    mChildren.push_back(std::make_unique<TXmlNode>(name));
    return mChildren.back().get();
}

void TXmlNode::OnClose(const TString&) {}

void TXmlNode::AddText(const TString& token)
{
    if (!mText.empty()) {
        mText += ' ';
    }
    mText += token.c_str();
}

void TXmlNode::AddAttribute(const TString& name, const TString& value, bool quoted)
{
    mAttributes.push_back({name, value, quoted});
}

bool TXmlNode::LoadFile(const TString& name)
{
    TGetCharFile source(name);
    if (!source.IsOpen()) {
        return false;
    }
    char magic[sizeof(kCompressedMagic)];
    size_t got = 0;
    for (int byte; got < sizeof(magic) && (byte = source.GetChar()) >= 0; ++got) {
        magic[got] = char(byte);
    }
    if (IsCompressed(magic, got)) {
        std::vector<char> data;
        if (!source.ReadAll(data, long(kMaxPlainLength))) {
            DebugLog("ERROR: TXmlNode::LoadFile: cannot read compressed file %s", name.c_str());
            return true;
        }
        ParseCompressed(data.data(), data.size());
        return true;
    }
    source.Rewind();
    ParseChildren(source);
    return true;
}

void TXmlNode::ParseString(const char* text, int length)
{
    if (text == nullptr) {
        return;
    }
    const size_t size = length >= 0 ? size_t(length) : std::strlen(text);
    if (IsCompressed(text, size)) {
        if (length < 0) {
            DebugLog("ERROR: TXmlNode::ParseString: compressed document given without its length");
            return;
        }
        ParseCompressed(text, size);
        return;
    }
    TGetCharString source(text, size);
    ParseChildren(source);
}

void TXmlNode::ParseCompressed(const char* data, size_t size)
{
    if (size < kCompressedHeader) {
        DebugLog("ERROR: TXmlNode: compressed document of %zu bytes has no header", size);
        return;
    }
    const uint32_t packedLength = ReadU32LE(data + 4);
    const uint32_t plainLength = ReadU32LE(data + 8);
    if (packedLength > size - kCompressedHeader || plainLength > kMaxPlainLength ||
        plainLength > uint64_t(packedLength) * kMaxInflateRatio) {
        DebugLog("ERROR: TXmlNode: compressed document header (%u, %u) does not fit its %zu bytes", packedLength,
                 plainLength, size);
        return;
    }
    if (plainLength == 0) {
        return;
    }
    std::vector<char> plain(plainLength);
    uLongf inflated = plainLength;
    const int result = uncompress(reinterpret_cast<Bytef*>(plain.data()), &inflated,
                                  reinterpret_cast<const Bytef*>(data + kCompressedHeader), packedLength);
    if (result != Z_OK) {
        DebugLog("ERROR: TXmlNode: compressed document does not inflate (zlib %d)", result);
        return;
    }
    TGetCharString source(plain.data(), inflated);
    ParseChildren(source);
}

void TXmlNode::ParseChildren(TGetChar& source)
{
    TXmlToken token;
    for (;;) {
        XmlNextToken(source, token);
        if (token.IsEmpty()) {
            return;
        }
        if (!token.IsMarkup('<')) {
            AddText(token.text);
            continue;
        }
        bool closed = false;
        TXmlNode* child = ParseTag(source, closed);
        if (child != nullptr) {
            if (source.depth >= kMaxDepth) {
                DebugLog("ERROR: TXmlNode: elements nested deeper than %d, rest of the document ignored", kMaxDepth);
                source.End();
                return;
            }
            ++source.depth;
            child->ParseChildren(source);
            --source.depth;
        }
        if (closed) {
            return;
        }
    }
}

TXmlNode* TXmlNode::ParseTag(TGetChar& source, bool& closed)
{
    enum { kName, kAttribute, kValue } state = kName;
    TXmlNode* node = nullptr;
    bool special = false;
    TString pending;
    TXmlToken token;
    for (;;) {
        XmlNextToken(source, token);
        if (token.IsEmpty() && !(state == kValue && token.quoted)) {
            return nullptr; // the input ended inside the tag
        }
        if (token.IsMarkup('>')) {
            if (special || EndsWithoutContent(pending)) {
                OnClose(pending);
                return nullptr;
            }
            return node;
        }
        switch (state) {
        case kName:
            if (!token.entity && token.text.CharAt(0) == '/') {
                // A closing tag: "/" alone or run together with the name, which
                // is never matched against the open element.
                closed = true;
                OnClose(token.text);
            } else {
                node = CreateChild(token.text);
                special = IsSpecialTag(token.text);
            }
            state = kAttribute;
            break;
        case kAttribute:
            if (token.IsMarkup('=')) {
                state = kValue;
            } else {
                pending = token.text;
            }
            break;
        case kValue:
            if (node != nullptr) {
                node->AddAttribute(pending, token.text, token.quoted);
            }
            pending = TString();
            state = kAttribute;
            break;
        }
    }
}

TXmlNode* TXmlNode::FindChild(const TString& name) const
{
    for (const auto& child : mChildren) {
        if (child->mName == name) {
            return child.get();
        }
    }
    return nullptr;
}

bool TXmlNode::NextChild(TString& name, TXmlNode*& node)
{
    if (mChildCursor >= mChildren.size()) {
        return false;
    }
    node = mChildren[mChildCursor++].get();
    name = node->mName;
    return true;
}

bool TXmlNode::NextAttribute(TString& name, TString& value)
{
    if (mAttributeCursor >= mAttributes.size()) {
        return false;
    }
    const TXmlAttribute& attribute = mAttributes[mAttributeCursor++];
    name = attribute.name;
    value = attribute.value;
    return true;
}

const TXmlAttribute* TXmlNode::FindAttribute(const TString& name) const
{
    for (const TXmlAttribute& attribute : mAttributes) {
        if (attribute.name == name) {
            return &attribute;
        }
    }
    return nullptr;
}

TString TXmlNode::GetAttribute(const TString& name, bool* quoted) const
{
    const TXmlAttribute* attribute = FindAttribute(name);
    if (quoted != nullptr) {
        *quoted = attribute != nullptr && attribute->quoted;
    }
    return attribute != nullptr ? attribute->value : TString();
}

TString TXmlNode::GetAttribute(const TString& name, const TString& fallback) const
{
    const TXmlAttribute* attribute = FindAttribute(name);
    return attribute != nullptr ? attribute->value : fallback;
}

TString TXmlNode::GetText() const
{
    return TString(mText.c_str(), int(mText.size()));
}

void TXmlNode::SetAttribute(const TString& name, const TString& value)
{
    for (TXmlAttribute& attribute : mAttributes) {
        if (attribute.name == name) {
            attribute.value = value;
            attribute.quoted = true;
            return;
        }
    }
    mAttributes.push_back({name, value, true});
}

void TXmlNode::SetAttributeInt(const TString& name, int number)
{
    SetAttribute(name, TString::Format("%d", number));
}

void TXmlNode::Clear()
{
    mChildren.clear();
    mAttributes.clear();
    mChildCursor = 0;
    mAttributeCursor = 0;
    mText.clear();
    mName = TString();
}

void TXmlNode::WriteToString(TString& out)
{
    std::string buffer;
    buffer.reserve(mWriteHint);
    Write(buffer, 0);
    if (buffer.size() > mWriteHint) {
        mWriteHint = buffer.size() + 1;
    }
    out = TString(buffer.c_str(), int(buffer.size()));
}

void TXmlNode::Write(std::string& out, int indent) const
{
    out.append(indent, ' ');
    out += '<';
    out += mName.c_str();
    for (const TXmlAttribute& attribute : mAttributes) {
        out += '\n';
        out.append(indent + kIndentStep, ' ');
        out += XmlEscape(attribute.name).c_str();
        out += '=';
        const char* quote = attribute.quoted ? "\"" : "";
        out += quote;
        out += XmlEscape(attribute.value).c_str();
        out += quote;
    }
    out += ">\n";
    if (!mText.empty()) {
        out.append(indent, ' ');
        out += XmlEscape(GetText()).c_str();
        out += '\n';
    }
    for (const auto& child : mChildren) {
        child->Write(out, indent + kIndentStep);
    }
    out.append(indent, ' ');
    out += "</";
    out += XmlEscape(mName).c_str();
    out += ">\n";
}
