// Shared helpers of the script host tests: a log in a temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "foundation/debuglog.h"

// Sends the debug log to a temporary folder for the life of the object.
class TestLog {
public:
    TestLog() {
        std::string pattern = (std::filesystem::temp_directory_path() / "scripthost-XXXXXX").string();
        if (mkdtemp(pattern.data())) mFolder = pattern;
        SetLogFolder(mFolder.c_str());
    }
    ~TestLog() {
        SetLogFolder(nullptr);
        std::filesystem::remove_all(mFolder);
    }
    TestLog(const TestLog&) = delete;
    TestLog& operator=(const TestLog&) = delete;

    std::string Text() const {
        std::ifstream in(mFolder / "logfile.txt");
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Contains(const std::string& piece) const { return Text().find(piece) != std::string::npos; }
    size_t Count(const std::string& piece) const {
        std::string text = Text();
        size_t count = 0;
        for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + piece.size())) ++count;
        return count;
    }

private:
    std::filesystem::path mFolder;
};
