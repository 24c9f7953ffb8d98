#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <string>

#include "platform/os/library.h"
#include "tests/support/tempfolder.h"

namespace {

std::string ExecutableFolder() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string full(path, length > 0 ? size_t(length) : 0);
    return full.substr(0, full.rfind('/') + 1);
}

std::string BaseName(const std::string& path) {
    return path.substr(path.rfind('/') + 1);
}

TEST(Library, OpensALibraryAndFindsItsExports) {
    os::Library library;
    ASSERT_TRUE(library.Open(HANDLER_MODULE)) << library.Error();
    EXPECT_TRUE(library.IsOpen());
    EXPECT_NE(library.Symbol("CreateHandler"), nullptr);
    EXPECT_EQ(library.Symbol("NoSuchExport"), nullptr);
    EXPECT_NE(library.Error().find("NoSuchExport"), std::string::npos) << library.Error();
    library.Close();
    EXPECT_FALSE(library.IsOpen());
    EXPECT_EQ(library.Symbol("CreateHandler"), nullptr);
}

TEST(Library, MissingOrBrokenLibrariesSayWhy) {
    TempFolder temp;
    temp.Write("broken.so", "not a library");
    for (const std::string& name : {temp / "missing.so", temp / "broken.so", std::string()}) {
        os::Library library;
        EXPECT_FALSE(library.Open(name)) << name;
        EXPECT_FALSE(library.IsOpen());
        EXPECT_FALSE(library.Error().empty()) << name;
    }
}

TEST(Library, WindowsNamesAreLookedUpBesideTheExecutable) {
    const std::string folder = ExecutableFolder();
    EXPECT_EQ(os::LibraryPath("harness.dll"), folder + "harness.so");
    EXPECT_EQ(os::LibraryPath("some\\folder\\Host.DLL"), folder + "Host.so");
    EXPECT_EQ(os::LibraryPath("/abs/plain.so"), "/abs/plain.so");
    EXPECT_EQ(os::LibraryPath("dll"), "dll");

    // The test library lies beside this program.
    std::string base = BaseName(HANDLER_MODULE);
    ASSERT_EQ(base.substr(base.size() - 3), ".so");
    os::Library library;
    EXPECT_TRUE(library.Open("elsewhere/" + base.substr(0, base.size() - 3) + ".dll")) << library.Error();
}

TEST(Library, OpeningAgainReplacesTheLibrary) {
    os::Library library;
    ASSERT_TRUE(library.Open(HANDLER_MODULE));
    ASSERT_TRUE(library.Open(HANDLER_MODULE_NODESTROY));
    EXPECT_NE(library.Symbol("CreateHandler"), nullptr);
    EXPECT_EQ(library.Symbol("DestroyHandler"), nullptr);
}

}  // namespace
