// Compiled script files. Each file is compiled once, in a scratch interpreter
// state, and kept as byte code in the asset cache while anything holds it;
// every later run only loads the byte code.
#pragma once

#include <memory>
#include <string>

#include "foundation/asset.h"
#include "foundation/tstring.h"

class TScriptCode : public TAsset {
public:
    static const TAssetClassId ClassId;

    TScriptCode(const char* bytes, int length);

    const char* GetClassName() const override { return "TScriptCode"; }
    bool IsA(TAssetClassId id) const override { return id == ClassId || TAsset::IsA(id); }

    // The cached code of the file, else compiles it and caches the result.
    // An empty searchPath means "assets/?;../?;?". On a compile error the
    // message goes to error (when given), nothing is cached and the result
    // is null.
    static std::shared_ptr<TScriptCode> Get(const TString& fileName, const TString& searchPath, TString* error);

    TString GetCode() const { return mCode; }
    int GetSize() const { return mSize; }

private:
    TString mCode;  // may hold zero bytes
    int mSize;
};

// Where scripts look for files they require.
extern const TString kScriptSearchPath;

// Reads a script file through the engine's file layer: text mode, unless the
// first byte is neither white space nor printable (byte code), then binary.
bool ReadScriptFile(const char* fileName, std::string& contents);
// Makes the interpreter's file loading read through ReadScriptFile, the
// first time it is called.
void InstallScriptFileReader();
