#include "game/utilities/localised.h"

#include "foundation/stringtable.h"
#include "runtime/platform.h"

TString Localised(const TString& label) {
    TPlatform* platform = TPlatform::GetInstance();
    const TStringTable* strings = platform ? platform->GetStringTable() : nullptr;
    return strings ? strings->GetString(label) : label;
}
