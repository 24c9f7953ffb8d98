#include "game/level/datafile.h"

#include "foundation/debuglog.h"
#include "foundation/xmlnode.h"

bool ReadDataFile(const TString& fileName, const char* element, const char* reader,
                  const std::function<void(TXmlNode&)>& read) {
    TXmlNode document;
    if (!document.LoadFile(fileName)) {
        DebugLog("%s: cannot read %s", reader, fileName.c_str());
        return false;
    }
    bool found = false;
    TString name;
    TXmlNode* child = nullptr;
    for (document.ResetChildIterator(); document.NextChild(name, child);) {
        if (name != element) continue;
        found = true;
        read(*child);
    }
    if (!found) DebugLog("%s: no \"%s\" element in %s", reader, element, fileName.c_str());
    return found;
}
