#include "foundation/xmlnode.h"

#include "foundation/debuglog.h"
#include "foundation/xmlescape.h"
#include "foundation/xmltokenizer.h"
#include "foundation/zxml.h"

#include <cstdint>
#include <cstring>

namespace {

// Compressed files larger than this are not read.
constexpr long kMaxCompressedFile = 64l << 20;
constexpr int kMaxDepth = 256;
constexpr int kIndentStep = 4;

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
    char magic[4];
    size_t got = 0;
    for (int byte; got < sizeof(magic) && (byte = source.GetChar()) >= 0; ++got) {
        magic[got] = char(byte);
    }
    if (IsZxml(magic, got)) {
        std::vector<char> data;
        if (!source.ReadAll(data, kMaxCompressedFile)) {
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
    if (IsZxml(text, size)) {
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
    std::string plain;
    if (!InflateZxml(data, size, plain)) {
        return;
    }
    TGetCharString source(plain.data(), plain.size());
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
