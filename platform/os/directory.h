// Iteration over the entries of one folder.
#pragma once

#include <dirent.h>

#include <string>

namespace os {

class DirectoryIterator {
public:
    DirectoryIterator() = default;
    ~DirectoryIterator() { Close(); }
    DirectoryIterator(const DirectoryIterator&) = delete;
    DirectoryIterator& operator=(const DirectoryIterator&) = delete;

    // Starts listing a folder; false when it cannot be read.
    bool Open(const std::string& folder);

    // The next entry other than "." and "..". With a null isFolder, folders are
    // skipped. Returns false at the end, and then closes the listing.
    bool Next(std::string& name, bool* isFolder);

    void Close();

private:
    DIR* mDir = nullptr;
    std::string mFolder;
};

}  // namespace os
