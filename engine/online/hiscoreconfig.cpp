#include "online/hiscoreconfig.h"

#include "foundation/xmlnode.h"

void THiscoreConfig::Load(const TString& fileName) {
    TXmlNode file;
    if (!file.LoadFile(fileName)) {
        return;
    }
    TXmlNode* root = file.FindChild("hiscore");
    if (!root) {
        return;
    }
    TXmlNode* named = root->FindChild("language");
    if (named && named->GetText().Length() > 0) {
        language = named->GetText();
        languageFixed = true;
    }
    if (TXmlNode* node = root->FindChild("defaulterror")) {
        defaultError = node->GetText();
    }
}
