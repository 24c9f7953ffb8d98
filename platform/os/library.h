// Libraries loaded at run time. A name ending ".dll" is looked up as the
// same name ending ".so" in the executable's folder.
#pragma once

#include <string>

namespace os {

class Library {
public:
    Library() = default;
    ~Library() { Close(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Loads the library with every symbol bound now and none shared with
    // later libraries; whatever was open before is closed first. False when
    // it cannot be loaded; Error() says why.
    bool Open(const std::string& name);
    void Close();
    bool IsOpen() const { return mHandle != nullptr; }

    // The address of an exported symbol, or null (Error() says why).
    void* Symbol(const char* name);
    const std::string& Error() const { return mError; }

private:
    void* mHandle = nullptr;
    std::string mError;
};

// The path Open hands to the loader for a name.
std::string LibraryPath(const std::string& name);

}  // namespace os
