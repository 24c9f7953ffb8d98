#include "foundation/readfile.h"

#include "foundation/file.h"

bool ReadWholeFile(const TString& name, std::string& contents) {
    TFile file;
    if (!file.Open(name, kFileReadBinary)) {
        return false;
    }
    long size = file.GetSize();
    contents.assign(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    contents.resize(file.Read(contents.data(), contents.size()));
    return true;
}
