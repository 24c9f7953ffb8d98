// Shared helpers of the script host tests: a log in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "foundation/debuglog.h"
#include "tests/support/tempfolder.h"

// Sends the debug log to a temporary folder for the life of the object.
class TestLog {
public:
    TestLog() { SetLogFolder(mFolder.Path().c_str()); }
    ~TestLog() { SetLogFolder(nullptr); }
    TestLog(const TestLog&) = delete;
    TestLog& operator=(const TestLog&) = delete;

    std::string Text() const { return mFolder.Read("logfile.txt"); }
    bool Contains(const std::string& piece) const { return Text().find(piece) != std::string::npos; }
    size_t Count(const std::string& piece) const {
        std::string text = Text();
        size_t count = 0;
        for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++count;
        return count;
    }

private:
    TempFolder mFolder;
};
