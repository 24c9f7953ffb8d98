// Feeds arbitrary bytes to a level definition as its level file, once as
// plain text and once deflated in the "ZXML" form, and to a string table
// whose texts format money; then asks every getter, the lockdown test at the
// extremes and the money texts of the scores.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "foundation/stringtable.h"
#include "foundation/virtualfiles.h"
#include "game/level/customerdata.h"
#include "game/level/level.h"
#include "game/texts/scorerformat.h"
#include "zxmlbytes.h"

namespace {

const char kLevelFile[] = "levels/level07.xml";

// Reads the value so the compiler keeps the call.
template <typename T>
void Use(const T& value) {
    volatile T kept = value;
    (void)kept;
}

void ReadOrders(const std::vector<VChocolateSpec>& orders) {
    for (const VChocolateSpec& order : orders) Use(order.kind + order.shape + order.mix + order.layers);
}

void AskEverything(const ZqLevel& level) {
    Use(level.GetNumber() + level.GetMinutes() + level.GetSeconds() + level.GetMaxLayers() + level.GetChocolateDecay());
    Use(level.GetGoal() + level.GetMastery() + level.GetCustomerDecay());
    Use(level.GetName().Length() + level.GetLocation().Length());
    for (const TString& plot : level.GetPlots()) Use(plot.Length());
    for (const auto& [category, name] : level.GetUpgrades()) Use(category.Length() + name.Length());
    for (const auto& customer : level.GetCustomers()) {
        Use(customer->GetType().Length() + customer->GetName().Length() + customer->GetStation().Length());
        Use(customer->GetStart() + customer->GetEnd() + customer->GetDecay() + customer->GetTip());
        ReadOrders(customer->GetOrders());
    }
    ReadOrders(level.GetAirshipOrders());
    const float extremes[] = {-FLT_MAX, -1.0f, 0.0f, 100.0f, FLT_MAX, INFINITY, -INFINITY, NAN};
    for (float value : extremes) {
        bool inside = level.InLockdown(value);
        // The window holds both ends and nothing outside them.
        if (inside != (level.GetLockdownMin() <= value && value <= level.GetLockdownMax())) std::abort();
    }
    for (const TString& text : {level.GetGoalText(), level.GetMasteryText(), level.VLevel::GetGoalText()}) {
        if (text.Length() == 0) std::abort();
    }
}

// Money from the table's texts, whatever they are: a number always shows.
void FormatWith(const TStringTable& strings, const uint8_t* data, size_t size) {
    int32_t amounts[] = {INT32_MIN, -5, 0, 999, 1000, 999999, 1000000, 2000000000, INT32_MAX, 0};
    if (size >= sizeof(int32_t)) std::memcpy(&amounts[9], data, sizeof(int32_t));
    for (int32_t amount : amounts) {
        if (FormatDigitGroups(amount, &strings, "localizer_currency").Length() == 0) std::abort();
    }
}

void ReadLevel(const std::string& file) {
    static const char kNothing = 0;
    RegisterMemoryFile(kLevelFile, file.empty() ? &kNothing : file.data(), file.size());
    AskEverything(*ZqLevel::Create(7, kLevelFile));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string plain(reinterpret_cast<const char*>(data), size);
    ReadLevel(ZxmlBytes(plain));
    ReadLevel(plain);
    TStringTable strings;
    strings.Load(kLevelFile);
    FormatWith(strings, data, size);
    ClearVirtualFiles();
    return 0;
}
