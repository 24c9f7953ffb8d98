#include "platform/os/library.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

namespace os {

namespace {

constexpr char kWindowsSuffix[] = ".dll";
constexpr size_t kWindowsSuffixLength = sizeof kWindowsSuffix - 1;

bool EndsWithWindowsSuffix(const std::string& name) {
    if (name.size() < kWindowsSuffixLength) return false;
    for (size_t i = 0; i < kWindowsSuffixLength; ++i) {
        char c = name[name.size() - kWindowsSuffixLength + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != kWindowsSuffix[i]) return false;
    }
    return true;
}

// The executable's folder with a trailing "/", or "" when it cannot be read.
std::string ExecutableFolder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return std::string();
    std::string full(path, static_cast<size_t>(length));
    size_t slash = full.rfind('/');
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

// The last part of a path written with either separator.
std::string BaseName(const std::string& name) {
    size_t slash = name.find_last_of("/\\");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

std::string LastLoaderError() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

}  // namespace

std::string LibraryPath(const std::string& name) {
    if (!EndsWithWindowsSuffix(name)) return name;
    std::string base = BaseName(name);
    return ExecutableFolder() + base.substr(0, base.size() - kWindowsSuffixLength) + ".so";
}

bool Library::Open(const std::string& name) {
    Close();
    mError.clear();
    if (name.empty()) {
        mError = "no library name";
        return false;
    }
    mHandle = dlopen(LibraryPath(name).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!mHandle) mError = LastLoaderError();
    return mHandle != nullptr;
}

void Library::Close() {
    if (mHandle) dlclose(mHandle);
    mHandle = nullptr;
}

void* Library::Symbol(const char* name) {
    if (!mHandle) {
        mError = "library not open";
        return nullptr;
    }
    dlerror();
    void* address = dlsym(mHandle, name);
    if (!address) mError = LastLoaderError();
    return address;
}

}  // namespace os
