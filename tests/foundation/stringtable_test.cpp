#include "foundation/stringtable.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "foundation/debuglog.h"
#include "foundation/virtualfiles.h"
#include "tests/support/tempfolder.h"
#include "tests/foundation/zxmldata.h"

namespace {

std::string Row(const std::string& label, const std::string& text) {
    return "<Row ss:Height=\"12\">\n  <Cell><Data ss:Type=\"String\">" + label +
           "</Data></Cell>\n  <Cell><Data ss:Type=\"String\">" + text + "</Data></Cell>\n</Row>\n";
}

std::string Sheet(const std::string& rows) {
    return "<?xml version=\"1.0\"?>\n<Workbook><Worksheet><Table>\n" + rows + "</Table></Worksheet></Workbook>\n";
}

class TStringTableTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(mLogFolder.Path().empty());
        SetLogFolder(mLogFolder.Path().c_str());
    }
    void TearDown() override {
        for (const std::string& name : mNames) {
            RegisterMemoryFile(name.c_str(), nullptr, 0);
        }
        SetLogFolder(nullptr);
    }
    // Makes a readable file of that name holding the text.
    void AddFile(const std::string& name, const std::string& text) {
        mTexts.push_back(std::make_unique<std::string>(text));
        mNames.push_back(name);
        RegisterMemoryFile(name.c_str(), mTexts.back()->data(), mTexts.back()->size());
    }
    std::string Log() const { return mLogFolder.Read("logfile.txt"); }

    TStringTable mTable;
    TempFolder mLogFolder;
    std::vector<std::unique_ptr<std::string>> mTexts;
    std::vector<std::string> mNames;
};

TEST_F(TStringTableTest, ExpansionCases) {
    AddFile("strings.xml", Sheet(Row("score", "Score: %1%") + Row("pct", "100%%") + Row("trail", "100%") +
                                 Row("six", "a %6% b") + Row("zero", "%0%") + Row("ref", "[%ok_label%]") +
                                 Row("ok_label", "OK %1%") + Row("badref", "x %nothing% y") +
                                 Row("all", "%1%-%2%-%3%-%4%-%5%") + Row("title", "The Title") +
                                 Row("plain", "no escapes") + Row("lead", "%05% items") +
                                 Row("open", "50% off") + Row("12ab", "twelve") + Row("digitsfirst", "[%12ab%]") +
                                 Row("manydigits", "%99999999999%")));
    ASSERT_TRUE(mTable.Load("strings.xml"));
    struct Case {
        const char* label;
        const char* arg1;
        const char* expected;
    };
    const Case cases[] = {
        {"score", "250", "Score: 250"},
        {"score", "%%", "Score: %"},
        {"score", "", "Score: "},
        {"score", "%title%", "Score: The Title"},
        {"score", "%missing%", "#####"},
        {"score", "%x", "#####"},
        {"score", "%", "#####"},
        {"score", "%abc", "#####"},
        {"pct", "", "100%"},
        {"trail", "", "100%"},
        {"six", "", "#####"},
        {"zero", "", "#####"},
        {"ref", "", "[OK %1%]"},
        {"badref", "", "#####"},
        {"plain", "ignored", "no escapes"},
        {"lead", "", " items"},
        {"open", "", "#####"},
        {"digitsfirst", "", "[twelve]"},  // digits then letters name a label, not an argument
        {"manydigits", "", "#####"},
        {"absent", "", "#####"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(mTable.GetString(c.label, c.arg1).c_str(), c.expected) << c.label << " with " << c.arg1;
    }
    EXPECT_STREQ(mTable.GetString("all", "a", "b", "c", "d", "e").c_str(), "a-b-c-d-e");
    EXPECT_STREQ(mTable.GetString("lead", "", "", "", "", "five").c_str(), "five items");
}

TEST_F(TStringTableTest, FailuresAreLogged) {
    AddFile("strings.xml", Sheet(Row("trail", "100%") + Row("six", "%6%")));
    ASSERT_TRUE(mTable.Load("strings.xml"));
    mTable.GetString("trail");
    mTable.GetString("six");
    mTable.GetString("absent");
    const std::string log = Log();
    EXPECT_NE(log.find(": Non-matched percent (%) escape found in string trail, '100%'\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find(":  ##### : Missing string for label 'six'\n"), std::string::npos) << log;
    EXPECT_NE(log.find(":  ##### : Missing string for label 'absent'\n"), std::string::npos) << log;
}

TEST_F(TStringTableTest, RowsAreScannedAsPlainText) {
    const std::string rows =
        Row("first", "one &amp; &lt;two&gt; &#65;") +
        "<Row><Cell><Data>only_label</Data></Cell></Row>\n"  // label and no data cell
        "<Row><Cell></Cell></Row>\n"                          // no label at all
        "<Row><Cell><Data ss:Type=\"String\">marked</Data></Cell><Cell><ss:Data><B>bold</B> rest</ss:Data></Cell>"
        "</Row>\n" +
        Row("third", "extra") + "<Row><Cell><Data>last</Data></Cell><Cell><Data>x";  // ends at the sheet's closing tags
    AddFile("strings.xml", Sheet(rows) + "<Row>");
    ASSERT_TRUE(mTable.Load("strings.xml"));
    EXPECT_STREQ(mTable.GetString("first").c_str(), "one & <two> A");
    EXPECT_STREQ(mTable.GetString("only_label").c_str(), "");
    EXPECT_STREQ(mTable.GetString("marked").c_str(), "");  // the cell text is cut at its first "<"
    EXPECT_STREQ(mTable.GetString("third").c_str(), "extra");
    EXPECT_STREQ(mTable.GetString("last").c_str(), "x");
}

TEST_F(TStringTableTest, CellTextMayRunPastTheNextRow) {
    // Only the "<Data" has to lie inside the row; its text starts after the next ">".
    AddFile("spill.xml", "<Row><Data <Row>spilt</Row><Row><Data>kept</Data><Data>yes</Data></Row>");
    ASSERT_TRUE(mTable.Load("spill.xml"));
    EXPECT_STREQ(mTable.GetString("spilt").c_str(), "");
    EXPECT_STREQ(mTable.GetString("kept").c_str(), "yes");
}

TEST_F(TStringTableTest, TextCellOfALastRowWithoutClosingMarkIsDropped) {
    AddFile("cut.xml", "<Row><Data>label</Data><Data>never closed");
    ASSERT_TRUE(mTable.Load("cut.xml"));
    EXPECT_STREQ(mTable.GetString("label").c_str(), "");
    AddFile("cut2.xml", "<Row><Data>label2");
    ASSERT_TRUE(mTable.AddFile("cut2.xml"));
    EXPECT_STREQ(mTable.GetString("label2").c_str(), "#####");
}

TEST_F(TStringTableTest, AddFileReplacesWhileLoadClearsFirst) {
    AddFile("a.xml", Sheet(Row("one", "1a") + Row("two", "2a")));
    AddFile("b.xml", Sheet(Row("two", "2b") + Row("three", "3b")));
    AddFile("empty.xml", "");
    ASSERT_TRUE(mTable.Load("a.xml"));
    ASSERT_TRUE(mTable.AddFile("b.xml"));
    EXPECT_STREQ(mTable.GetString("one").c_str(), "1a");
    EXPECT_STREQ(mTable.GetString("two").c_str(), "2b");
    EXPECT_STREQ(mTable.GetString("three").c_str(), "3b");

    EXPECT_FALSE(mTable.AddFile("missing.xml"));
    EXPECT_STREQ(mTable.GetString("one").c_str(), "1a");
    EXPECT_TRUE(mTable.AddFile("empty.xml"));

    ASSERT_TRUE(mTable.Load("b.xml"));
    EXPECT_STREQ(mTable.GetString("one").c_str(), "#####");
    EXPECT_STREQ(mTable.GetString("two").c_str(), "2b");
    mTable.Clear();
    EXPECT_STREQ(mTable.GetString("two").c_str(), "#####");
}

TEST_F(TStringTableTest, FlashLabels) {
    AddFile("with.xml", Sheet(Row("FLASH_intro", "a") + Row("flash01_02", "b") + Row("FLASH_outro", "c")));
    AddFile("without.xml",
            Sheet(Row("flash01_02", "b") + Row("flash7", "c") + Row("flashy", "d") + Row("other", "e") +
                  Row("flash", "f")));
    std::vector<TString> labels;
    ASSERT_TRUE(mTable.Load("with.xml"));
    mTable.GetFlashLabels(labels);
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_STREQ(labels[0].c_str(), "FLASH_intro");
    EXPECT_STREQ(labels[1].c_str(), "FLASH_outro");

    labels.clear();
    ASSERT_TRUE(mTable.Load("without.xml"));
    mTable.GetFlashLabels(labels);
    std::vector<std::string> names;
    for (const TString& label : labels) {
        names.push_back(label.c_str());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"flash", "flash01_02", "flash7"}));
}

TEST_F(TStringTableTest, CompressedFilesAreInflatedFirst) {
    const std::string packed = MakeZxml(Sheet(Row("packed", "from ZXML") + Row("other", "two")));
    AddFile("packed.xml", packed);
    AddFile("broken.xml", packed.substr(0, packed.size() / 2));
    ASSERT_TRUE(mTable.Load("packed.xml"));
    EXPECT_STREQ(mTable.GetString("packed").c_str(), "from ZXML");
    EXPECT_STREQ(mTable.GetString("other").c_str(), "two");
    EXPECT_TRUE(mTable.AddFile("broken.xml"));  // opens, but gives no rows
    EXPECT_STREQ(mTable.GetString("packed").c_str(), "from ZXML");
    EXPECT_NE(Log().find("ERROR: InflateZxml"), std::string::npos) << Log();
}

}  // namespace
