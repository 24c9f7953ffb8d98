// Feeds arbitrary bytes to the named values as "values.xml", once as plain
// text and once deflated in the "ZXML" form, then makes every read and change
// the game makes on every name the bytes declare or a modifier refers to.
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/tstring.h"
#include "foundation/virtualfiles.h"
#include "foundation/xmlnode.h"
#include "fuzz/zxmlbytes.h"
#include "game/shell/managersingleton.h"
#include "game/shell/valuemanager.h"

namespace {

// Every "name" and modifier key of the document, in document order.
void CollectNames(TXmlNode& node, std::vector<TString>& names) {
    for (const char* attribute : {"name", "byval", "upgrade", "plot"}) {
        TString name = node.GetAttribute(attribute);
        if (name.Length() > 0) names.push_back(name);
    }
    TString element;
    TXmlNode* child = nullptr;
    for (node.ResetChildIterator(); node.NextChild(element, child);) {
        CollectNames(*child, names);
    }
}

void Exercise(VValueManager& values, const TString& name) {
    values.GetReal(name, 1.5f);
    values.GetInt(name, -3);
    values.GetUint(name, 3u);
    values.GetMin(name);
    values.GetMax(name);
    for (bool clamp : {false, true}) {
        values.ScaleWithinLimits(name, 2.5f, clamp);
        values.OffsetWithinLimits(name, -7.0f, clamp);
    }
    values.AddToValue(name, 1e30f, 0.0f, true);
    values.SubtractFromValue(name, 0.25f, 0.0f, true);
    values.SetValue(name, -1e30f, true);
    values.GetInt(name, 0);
    values.GetUint(name, 0u);
}

void Run(const std::string& file, const std::string& plain) {
    static const char kNothing = 0;
    RegisterMemoryFile("values.xml", file.empty() ? &kNothing : file.data(), file.size());
    LoadManagedValues();
    std::shared_ptr<VValueManager> values = VValueManager::Get();
    TXmlNode document;
    document.ParseString(plain.data(), static_cast<int>(plain.size()));
    std::vector<TString> names;
    CollectNames(document, names);
    for (const TString& name : names) {
        Exercise(*values, name);
    }
    values->SaveAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string plain(reinterpret_cast<const char*>(data), size);
    Run(plain, plain);
    Run(ZxmlBytes(plain), plain);
    ReleaseManagerSingleton<VValueManager>();
    ClearVirtualFiles();
    return 0;
}
