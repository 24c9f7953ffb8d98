#include "foundation/xmlnode.h"

#include "foundation/xmlescape.h"
#include "tests/foundation/zxmldata.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Parses a document and returns its first top-level element.
TXmlNode* First(TXmlNode& document, const std::string& text)
{
    document.ParseString(text.c_str());
    TString name;
    TXmlNode* node = nullptr;
    document.ResetChildIterator();
    return document.NextChild(name, node) ? node : nullptr;
}

std::vector<std::string> ChildNames(TXmlNode& node)
{
    std::vector<std::string> names;
    TString name;
    TXmlNode* child = nullptr;
    node.ResetChildIterator();
    while (node.NextChild(name, child)) {
        names.push_back(name.c_str());
    }
    return names;
}

std::string Written(TXmlNode& node)
{
    TString out;
    node.WriteToString(out);
    return out.c_str();
}

TEST(XmlNodeTest, TextWhitespaceIsNormalised)
{
    TXmlNode document;
    TXmlNode* a = First(document, "<a>  a   b\n c </a>");
    ASSERT_NE(a, nullptr);
    EXPECT_STREQ(a->GetText().c_str(), "a b c");

    TXmlNode other;
    // Quotes in text are dropped, and "=" is a token of its own.
    EXPECT_STREQ(First(other, "<a>x=y  \"q  r\"</a>")->GetText().c_str(), "x = y q  r");
}

TEST(XmlNodeTest, QuotedAndBareAttributesRoundTrip)
{
    TXmlNode document;
    TXmlNode* a = First(document, "<a x=1 y=\"2 3\" z/>");
    ASSERT_NE(a, nullptr);
    bool quoted = true;
    EXPECT_STREQ(a->GetAttribute("x", &quoted).c_str(), "1");
    EXPECT_FALSE(quoted);
    EXPECT_STREQ(a->GetAttribute("y", &quoted).c_str(), "2 3");
    EXPECT_TRUE(quoted);
    // An attribute without "=" is dropped.
    TString name;
    TString value;
    a->ResetAttributeIterator();
    ASSERT_TRUE(a->NextAttribute(name, value));
    ASSERT_TRUE(a->NextAttribute(name, value));
    EXPECT_FALSE(a->NextAttribute(name, value));
    EXPECT_STREQ(a->GetAttribute("z", &quoted).c_str(), "");
    EXPECT_FALSE(quoted);
    EXPECT_FALSE(a->HasChildren());

    EXPECT_EQ(Written(*a), "<a\n    x=1\n    y=\"2 3\">\n</a>\n");
}

TEST(XmlNodeTest, RepeatedAttributesAndSetAttribute)
{
    TXmlNode document;
    TXmlNode* a = First(document, "<a k=first k=second></a>");
    ASSERT_NE(a, nullptr);
    EXPECT_STREQ(a->GetAttribute("k").c_str(), "first");
    a->SetAttribute("k", "changed");
    a->SetAttributeInt("n", -42);
    bool quoted = false;
    EXPECT_STREQ(a->GetAttribute("k", &quoted).c_str(), "changed");
    EXPECT_TRUE(quoted);

    TString name;
    TString value;
    std::vector<std::string> pairs;
    a->ResetAttributeIterator();
    while (a->NextAttribute(name, value)) {
        pairs.push_back(std::string(name.c_str()) + "=" + value.c_str());
    }
    EXPECT_EQ(pairs, (std::vector<std::string>{"k=changed", "k=second", "n=-42"}));
}

TEST(XmlNodeTest, EmptyElementsAndUnmatchedClosingTags)
{
    TXmlNode document;
    TXmlNode* r = First(document, "<r><a/><b /><c x=1/><br/>text<d>one</wrong>two</r>");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(ChildNames(*r), (std::vector<std::string>{"a", "b", "c", "br", "d"}));
    for (const char* name : {"a", "b", "c", "br"}) {
        EXPECT_FALSE(r->FindChild(name)->HasChildren()) << name;
        EXPECT_STREQ(r->FindChild(name)->GetText().c_str(), "") << name;
    }
    EXPECT_STREQ(r->FindChild("c")->GetAttribute("x").c_str(), "1");
    // Closing tags are not matched against the open element.
    EXPECT_STREQ(r->FindChild("d")->GetText().c_str(), "one");
    EXPECT_STREQ(r->GetText().c_str(), "text two");
    EXPECT_EQ(r->FindChild("A"), nullptr);
}

TEST(XmlNodeTest, DeclarationsAndCommentsArePseudoElements)
{
    TXmlNode document;
    document.ParseString("<?xml version=\"1.0\"?><!DOCTYPE doc><!-- a > b --><r/>");
    EXPECT_EQ(ChildNames(document), (std::vector<std::string>{"?xml", "!DOCTYPE", "!--", "r"}));
    EXPECT_STREQ(document.FindChild("?xml")->GetAttribute("version").c_str(), "1.0");
    // A ">" inside a comment ends it; the rest is text of the container.
    EXPECT_STREQ(document.GetText().c_str(), "b -- >");
}

TEST(XmlNodeTest, EntityTable)
{
    const struct
    {
        const char* document;
        const char* text;
    } cases[] = {
        {"<a>&#65;</a>", "A"},
        {"<a>B&#x41;C</a>", "B"}, // hexadecimal is not supported: the byte 0 ends the text
        {"<a>&nbsp;x</a>", "&nbsp;x"},
        {"<a>&amp;&quot;&apos;&gt;</a>", "&\"'>"},
        {"<a>&lt;b&gt; &#60;c></a>", "<b> <c >"}, // escaped "<" stays text, never a tag
        {"<a>&amp</a>", "&amp"},
        {"<a>&#99999999999999999999;</a>", "\xFF"},
    };
    for (const auto& c : cases) {
        TXmlNode document;
        TXmlNode* a = First(document, c.document);
        ASSERT_NE(a, nullptr) << c.document;
        EXPECT_STREQ(a->GetText().c_str(), c.text) << c.document;
        EXPECT_FALSE(a->HasChildren()) << c.document;
    }
}

TEST(XmlNodeTest, EscapeForms)
{
    EXPECT_STREQ(XmlEscape("a\n\xC3\xA9<&>\"'").c_str(), "a&#10;&#195;&#169;&lt;&amp;&gt;&quot;&apos;");
    bool leading = false;
    EXPECT_STREQ(XmlUnescape("&lt;x", 5, &leading).c_str(), "<x");
    EXPECT_TRUE(leading);
    EXPECT_STREQ(XmlUnescape("x&lt;", 5, &leading).c_str(), "x<");
    EXPECT_FALSE(leading);
    EXPECT_STREQ(XmlUnescape("&bogus;", 7, &leading).c_str(), "&bogus;");
    EXPECT_FALSE(leading);
}

TEST(XmlNodeTest, EveryByteSurvivesWriteThenParse)
{
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += char(b);
    }
    TXmlNode root("r");
    TXmlNode* e = root.AddChild("e");
    e->SetAttribute("v", all.c_str());
    e->AddText(all.c_str());
    const std::string written = Written(root);

    TXmlNode document;
    TXmlNode* r = First(document, written);
    ASSERT_NE(r, nullptr);
    TXmlNode* back = r->FindChild("e");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetAttribute("v").c_str(), all);
    // In text, the one blank separates tokens and "=" comes back between blanks.
    std::string text = all;
    text.replace(text.find('='), 1, " = ");
    EXPECT_EQ(back->GetText().c_str(), text);
}

TEST(XmlNodeTest, Utf8SequencesAreReadAsOneCharacter)
{
    TXmlNode document;
    TXmlNode* r = First(document, "<r v=\xC3\xA9>\xE2<b>c</r>");
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->GetAttribute("v").c_str(), "\xC3\xA9");
    // The lead byte E2 takes "<b" with it, so no tag starts there.
    EXPECT_FALSE(r->HasChildren());
    EXPECT_STREQ(r->GetText().c_str(), "\xE2<b > c");

    // Continuation bytes past the end read as 0xFF.
    TXmlNode truncated;
    const char bytes[] = {'<', 'a', '>', 'x', '\xF0'};
    truncated.ParseString(bytes, sizeof(bytes));
    EXPECT_STREQ(truncated.FindChild("a")->GetText().c_str(), "x\xF0\xFF\xFF\xFF");
}

TEST(XmlNodeTest, DocumentContainerRoundTrip)
{
    TXmlNode container;
    container.AddChild("data1")->SetAttribute("data", "abc");
    container.AddChild("data2")->SetAttributeInt("data", 17);
    const std::string written = Written(container);
    EXPECT_EQ(written.substr(0, 3), "<>\n");

    TXmlNode document;
    document.ParseString(written.c_str());
    EXPECT_EQ(ChildNames(document), (std::vector<std::string>{"data1", "data2"}));
    EXPECT_STREQ(document.FindChild("data2")->GetAttribute("data").c_str(), "17");
}

TEST(XmlNodeTest, InputEndingInsideATagKeepsWhatWasBuilt)
{
    TXmlNode document;
    TXmlNode* r = First(document, "<r>t<a x=\"1\" y=\"unterminated");
    ASSERT_NE(r, nullptr);
    TXmlNode* a = r->FindChild("a");
    ASSERT_NE(a, nullptr);
    EXPECT_STREQ(a->GetAttribute("x").c_str(), "1");
    EXPECT_STREQ(a->GetAttribute("y").c_str(), "unterminated");
    EXPECT_STREQ(r->GetText().c_str(), "t");
}

int Depth(TXmlNode& node)
{
    TString name;
    TXmlNode* child = nullptr;
    node.ResetChildIterator();
    return node.NextChild(name, child) ? 1 + Depth(*child) : 0;
}

std::string Nested(int levels)
{
    std::string text;
    for (int i = 0; i < levels; ++i) {
        text += "<n>";
    }
    text += "core";
    for (int i = 0; i < levels; ++i) {
        text += "</n>";
    }
    return text + "<after/>";
}

TEST(XmlNodeTest, NestingDepthIsCapped)
{
    TXmlNode shallow;
    shallow.ParseString(Nested(200).c_str());
    EXPECT_EQ(Depth(shallow), 200);
    EXPECT_NE(shallow.FindChild("after"), nullptr);

    TXmlNode deep;
    deep.ParseString(Nested(100000).c_str());
    EXPECT_EQ(Depth(deep), 257); // the container's child plus 256 nested levels
    EXPECT_EQ(deep.FindChild("after"), nullptr); // the parse stopped
}

TEST(XmlNodeTest, ClearEmptiesTheNode)
{
    TXmlNode document;
    TXmlNode* a = First(document, "<a x=1>t<b/></a>");
    a->Clear();
    EXPECT_FALSE(a->HasChildren());
    EXPECT_STREQ(a->GetText().c_str(), "");
    EXPECT_STREQ(a->GetAttribute("x").c_str(), "");
    EXPECT_EQ(Written(*a), "<>\n</>\n");
}

TEST(XmlNodeTest, CompressedDocuments)
{
    const std::string plain = "<settings><vsync>1</vsync></settings>";
    TXmlNode valid;
    const std::string good = MakeZxml(plain);
    valid.ParseString(good.data(), int(good.size()));
    ASSERT_NE(valid.FindChild("settings"), nullptr);
    EXPECT_STREQ(valid.FindChild("settings")->FindChild("vsync")->GetText().c_str(), "1");

    std::string corrupt = good;
    corrupt[14] = char(corrupt[14] ^ 0x55);
    std::string badMagicStream = good;
    badMagicStream[12] = 0;
    const struct
    {
        const char* what;
        std::string data;
    } broken[] = {
        {"plain length 0", MakeZxml(plain, 0)},
        {"corrupt stream", corrupt},
        {"bad stream header", badMagicStream},
        {"truncated", good.substr(0, good.size() - 5)},
        {"header only", good.substr(0, 12)},
        {"short header", good.substr(0, 9)},
        {"plain length too small", MakeZxml(plain, 5)},
        {"plain length beyond the cap", MakeZxml(plain, 0x7FFFFFFF)},
        {"plain length beyond what the data can hold", MakeZxml(plain, 1 << 20)},
        {"packed length beyond the data", MakeZxml(plain, -1, 0xFFFFFF)},
        {"packed length wraps", MakeZxml(plain, -1, 0xFFFFFFFE)},
    };
    for (const auto& c : broken) {
        TXmlNode document;
        document.ParseString(c.data.data(), int(c.data.size()));
        EXPECT_FALSE(document.HasChildren()) << c.what;
        EXPECT_STREQ(document.GetText().c_str(), "") << c.what;
    }

    // Without its length a compressed buffer is not read at all.
    TXmlNode noLength;
    noLength.ParseString(good.c_str());
    EXPECT_FALSE(noLength.HasChildren());
}

class XmlFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_FALSE(mFolder.Path().empty()); }

    TString Write(const std::string& name, const std::string& content)
    {
        mFolder.Write(name, content);
        return ("::" + (mFolder / name)).c_str();
    }

    TempFolder mFolder;
};

TEST_F(XmlFileTest, LoadsPlainAndCompressedFiles)
{
    TXmlNode plain;
    // "x=1/>" steps back over two bytes of the file.
    EXPECT_TRUE(plain.LoadFile(Write("plain.xml", "<a>text<e x=1/><f/>more</a>")));
    TXmlNode* a = plain.FindChild("a");
    ASSERT_NE(a, nullptr);
    EXPECT_STREQ(a->GetText().c_str(), "text more");
    EXPECT_EQ(ChildNames(*a), (std::vector<std::string>{"e", "f"}));
    EXPECT_STREQ(a->FindChild("e")->GetAttribute("x").c_str(), "1");

    TXmlNode packed;
    EXPECT_TRUE(packed.LoadFile(Write("packed.xml", MakeZxml("<b v=2/>"))));
    EXPECT_STREQ(packed.FindChild("b")->GetAttribute("v").c_str(), "2");

    TXmlNode tiny;
    EXPECT_TRUE(tiny.LoadFile(Write("tiny.xml", "<c")));
    EXPECT_NE(tiny.FindChild("c"), nullptr);

    TXmlNode broken;
    EXPECT_TRUE(broken.LoadFile(Write("broken.xml", MakeZxml("<b/>").substr(0, 14))));
    EXPECT_FALSE(broken.HasChildren());

    TXmlNode missing;
    EXPECT_FALSE(missing.LoadFile(("::" + (mFolder / "absent.xml")).c_str()));
    EXPECT_FALSE(missing.HasChildren());
}

} // namespace
