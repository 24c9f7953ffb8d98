// The engine's XML element tree: a tolerant reader of plain and compressed
// ("ZXML") documents, and a writer.
#pragma once

#include "foundation/tstring.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class TGetChar;

struct TXmlAttribute {
    TString name;
    TString value;
    bool quoted = false; // written in double quotes, or set through SetAttribute
};

class TXmlNode {
public:
    TXmlNode();
    explicit TXmlNode(const TString& name);
    virtual ~TXmlNode();
    TXmlNode(const TXmlNode&) = delete;
    TXmlNode& operator=(const TXmlNode&) = delete;

    // Parser callbacks, overridable by readers that build something else.
    virtual TXmlNode* CreateChild(const TString& name);
    virtual void OnClose(const TString& token);
    virtual void AddText(const TString& token);
    virtual void AddAttribute(const TString& name, const TString& value, bool quoted);

    // Parses a file (plain or compressed) into this node's children; false
    // when the file cannot be opened. Bad content never fails: it gives
    // whatever the token rules build, or nothing for a broken compressed file.
    bool LoadFile(const TString& name);
    // Parses a NUL-terminated text, or length bytes. A compressed buffer is
    // only read when its length is given.
    void ParseString(const char* text, int length = -1);

    TXmlNode* FindChild(const TString& name) const;
    void ResetChildIterator() { mChildCursor = 0; }
    bool NextChild(TString& name, TXmlNode*& node);
    void ResetAttributeIterator() { mAttributeCursor = 0; }
    bool NextAttribute(TString& name, TString& value);

    // The first attribute of that name; empty when absent.
    TString GetAttribute(const TString& name, bool* quoted = nullptr) const;
    TString GetText() const;
    bool HasChildren() const { return !mChildren.empty(); }

    TXmlNode* AddChild(const TString& name) { return CreateChild(name); }
    void SetAttribute(const TString& name, const TString& value);
    void SetAttributeInt(const TString& name, int number);
    void Clear();

    // The node and its subtree, 4 blanks of indent per level.
    void WriteToString(TString& out);

private:
    void ParseChildren(TGetChar& source);
    TXmlNode* ParseTag(TGetChar& source, bool& closed);
    void ParseCompressed(const char* data, size_t size);
    void Write(std::string& out, int indent) const;
    const TXmlAttribute* FindAttribute(const TString& name) const;

    std::string mText; // tokens joined by single blanks
    size_t mWriteHint = 4096;
    TString mName;
    std::vector<std::unique_ptr<TXmlNode>> mChildren;
    size_t mChildCursor = 0;
    std::vector<TXmlAttribute> mAttributes;
    size_t mAttributeCursor = 0;
};
