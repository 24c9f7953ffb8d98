// A fresh temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class TempFolder {
public:
    TempFolder() {
        std::string pattern = std::filesystem::temp_directory_path().string() + "/vandermoot-XXXXXX";
        if (mkdtemp(pattern.data())) mPath = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!mPath.empty()) std::filesystem::remove_all(mPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return mPath; }
    std::string operator/(const std::string& name) const { return mPath + "/" + name; }

    // Writes a file below the folder, creating its sub-folders.
    void Write(const std::string& name, const std::string& bytes) const {
        std::filesystem::path full = *this / name;
        std::filesystem::create_directories(full.parent_path());
        FILE* file = fopen(full.c_str(), "wb");
        if (!file) return;
        fwrite(bytes.data(), 1, bytes.size(), file);
        fclose(file);
    }

    // The bytes of a file below the folder; empty when it cannot be read.
    std::string Read(const std::string& name) const {
        std::string bytes;
        FILE* file = fopen((*this / name).c_str(), "rb");
        if (!file) return bytes;
        char buffer[4096];
        size_t count;
        while ((count = fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
        fclose(file);
        return bytes;
    }

private:
    std::string mPath;
};

// Sets an environment variable for the life of the object and restores it after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : mName(name) {
        const char* old = getenv(name);
        mHad = old != nullptr;
        if (old) mOld = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (mHad) {
            setenv(mName.c_str(), mOld.c_str(), 1);
        } else {
            unsetenv(mName.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string mName;
    std::string mOld;
    bool mHad = false;
};
