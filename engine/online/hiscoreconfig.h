// The optional hiscore configuration "::hiscore.xml": the language sent with
// every request and the message shown when a request fails.
#pragma once

#include "foundation/tstring.h"

struct THiscoreConfig {
    TString language = "en";
    bool languageFixed = false; // the file named the language
    TString defaultError;       // empty: the client's own message

    // Reads the file when it exists; anything it lacks keeps its default.
    void Load(const TString& fileName = "::hiscore.xml");
};
