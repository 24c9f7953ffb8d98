#include "runtime/testharness.h"

#include <unistd.h>

#include "foundation/debuglog.h"
#include "platform/host/socketchannel.h"

namespace {

const char* const kHookExport = "TestHook";
const uint32_t kQuitMessage = 0x12;

}  // namespace

void TTestHarness::Offer(TString& commandLine) {
    // Most runs have no harness: only one that is there but unusable is reported.
    if (access(os::LibraryPath(mLibraryName.c_str()).c_str(), F_OK) != 0) return;
    if (!mLibrary.Open(mLibraryName.c_str())) {
        mProblem = TString::Format("cannot load %s: %s", mLibraryName.c_str(), mLibrary.Error().c_str());
        return;
    }
    auto hook = reinterpret_cast<TTestHookFunction>(mLibrary.Symbol(kHookExport));
    if (!hook) {
        mProblem = TString::Format("%s lacks the export %s", mLibraryName.c_str(), kHookExport);
        return;
    }
    const char* text = commandLine.c_str();
    mWindow = hook(&text);
    // The harness's text need not outlive the call: it is copied now.
    if (text != commandLine.c_str()) commandLine = TString(text ? text : "");
}

void TTestHarness::LogProblems() const {
    if (mProblem.Length() > 0) DebugLog("Test harness skipped: %s", mProblem.c_str());
}

void TTestHarness::PostQuit() {
    if (mWindow == host::kNoWindow) return;
    // A channel made with no inbox only posts; it leaves the handle open.
    host::SocketChannel channel(host::kNoWindow);
    if (!channel.Post(mWindow, kQuitMessage, 0, 0)) DebugLog("Test harness: quit not delivered to %d", mWindow);
}
