// Localised texts by label, read from spreadsheets saved as XML (one row per
// label: label cell, text cell), plain or compressed.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/tstring.h"

class TStringTable {
public:
    // Clears the table, then AddFile.
    bool Load(const TString& fileName);
    // Reads the rows of one file, replacing equal labels; false when the file
    // cannot be opened (the table is unchanged then).
    bool AddFile(const TString& fileName);

    // The label's text with its escapes expanded: "%%" is "%", "%1%".."%5%"
    // the arguments, "%name%" the text of another label. A missing label or a
    // bad escape gives "#####" and a log line.
    TString GetString(const TString& label, const TString& arg1 = TString(), const TString& arg2 = TString(),
                      const TString& arg3 = TString(), const TString& arg4 = TString(),
                      const TString& arg5 = TString()) const;

    // Appends the labels beginning "FLASH_", or, when there are none, those of
    // the form "flash%2d_%2d".
    void GetFlashLabels(std::vector<TString>& labels) const;

    void Clear() { mStrings.clear(); }

private:
    void AddRows(std::string_view text);
    bool AppendEscape(const TString& body, const TString* const args[], std::string& result) const;
    bool AppendLabel(const TString& label, std::string& result) const;

    std::map<TString, TString> mStrings;
};
