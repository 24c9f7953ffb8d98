// Inputs that once took time growing with the square of their size: each is
// run at two sizes, so that the ratio of the two times shows the growth
// (about 2 for linear work, about 4 for quadratic).
#include "foundation/debuglog.h"
#include "foundation/packfile.h"
#include "foundation/prefs.h"
#include "foundation/settings.h"
#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "foundation/xmlnode.h"
#include "tests/foundation/legacyprefs.h"
#include "tests/support/tempfolder.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

const char kKey[] = "QmVyZ2FtbzEy";

// Character references without their ";", in one text token.
void XmlReferencesWithoutEnd(benchmark::State& state) {
    std::string text = "<a>";
    for (int64_t i = 0; i < state.range(0); ++i) text += "&#";
    text += "</a>";
    for (auto _ : state) {
        TXmlNode document;
        document.ParseString(text.c_str());
        benchmark::DoNotOptimize(document.HasChildren());
    }
}
BENCHMARK(XmlReferencesWithoutEnd)->Arg(200000)->Arg(400000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Rows without a "<Data" cell.
void StringTableRowsWithoutCells(benchmark::State& state) {
    std::string text;
    for (int64_t i = 0; i < state.range(0); ++i) text += "<Row>x</Row>";
    RegisterMemoryFile("rows.xml", text.c_str(), text.size());
    for (auto _ : state) {
        TStringTable table;
        benchmark::DoNotOptimize(table.Load("rows.xml"));
    }
    RegisterMemoryFile("rows.xml", nullptr, 0);
}
BENCHMARK(StringTableRowsWithoutCells)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

// Expanding one long text with an argument every kilobyte.
void StringTableLongText(benchmark::State& state) {
    std::string body;
    while (body.size() < static_cast<size_t>(state.range(0))) body += std::string(1000, 'w') + "%1%";
    const std::string text = "<Row><Data>long</Data><Data>" + body + "</Data></Row>";
    RegisterMemoryFile("long.xml", text.c_str(), text.size());
    TStringTable table;
    table.Load("long.xml");
    for (auto _ : state) benchmark::DoNotOptimize(table.GetString("long", "arg").Length());
    RegisterMemoryFile("long.xml", nullptr, 0);
}
BENCHMARK(StringTableLongText)->Arg(64 * 1024)->Arg(128 * 1024)->Unit(benchmark::kMillisecond)->Iterations(1);

// A legacy prefs file holding one long value, loaded (and converted) once.
std::string LegacyPrefs(size_t valueSize) {
    TXmlNode inner;
    TXmlNode* install = inner.AddChild("install");
    install->SetAttribute("qminstallkey", "bench");
    install->AddChild("global")->SetAttribute("blob", std::string(valueSize, 'v').c_str());
    TString text;
    inner.WriteToString(text);
    return LegacyPrefsFile(text, kKey);
}

void LegacyPrefsChecksum(benchmark::State& state) {
    TempFolder folder;
    SetDataFolders(folder.Path().c_str(), folder.Path().c_str(), folder.Path().c_str());
    SetSetting(kSettingEncryptionKey, kKey);
    const std::string legacy = LegacyPrefs(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        folder.Write("prefs.dat", legacy);
        state.ResumeTiming();
        TPrefs prefs(false);
        benchmark::DoNotOptimize(prefs.GetNumUsers());
    }
    ClearSettings();
    SetDataFolders("", "", "");
    ClearVirtualFiles();
}
BENCHMARK(LegacyPrefsChecksum)->Arg(128 * 1024)->Arg(256 * 1024)->Unit(benchmark::kMillisecond)->Iterations(1);

// A pack whose index is all nameless entries, mounted with the log on.
void PackOfNamelessEntries(benchmark::State& state) {
    TempFolder folder;
    std::string pack = "QMPK";
    const uint32_t count = static_cast<uint32_t>(state.range(0));
    for (int shift = 0; shift < 32; shift += 8) pack += static_cast<char>(count >> shift);
    pack.append(static_cast<size_t>(count) * 9, '\0');
    folder.Write("nameless.qmp", pack);
    SetLogFolder((folder / "log").c_str());
    for (auto _ : state) {
        TVirtualFileTable table;
        benchmark::DoNotOptimize(AddPackFile(table, TString("::") + (folder / "nameless.qmp").c_str()));
    }
    SetLogFolder(nullptr);
}
BENCHMARK(PackOfNamelessEntries)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
