#include "foundation/stringtable.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "foundation/bytefinder.h"
#include "foundation/debuglog.h"
#include "foundation/readfile.h"
#include "foundation/xmlescape.h"
#include "foundation/zxml.h"

namespace {

const char kMissingText[] = "#####";
const int kArgumentCount = 5;

// A cell of a row: the text between the ">" after a "<Data" and the next "<".
struct TCell {
    std::string_view text;
    size_t end;  // position of the "<" that ends the text
};

// Searches of the text of one file; the cell marks are found through
// finders, so that rows whose cells run far cost no rescans.
struct TCellSearch {
    explicit TCellSearch(std::string_view text)
        : text(text), closers(text.data(), text.size(), '>'), openers(text.data(), text.size(), '<') {}

    // The first cell whose "<Data" lies at or after from and before rowEnd.
    bool FindCell(size_t from, size_t rowEnd, TCell& cell) {
        size_t data = text.substr(0, rowEnd).find("<Data", from);
        if (data == std::string_view::npos) {
            return false;
        }
        size_t open = closers.Find(data);
        if (open == text.size()) {
            return false;
        }
        size_t close = openers.Find(open + 1);
        if (close == text.size()) {
            return false;
        }
        cell.text = text.substr(open + 1, close - open - 1);
        cell.end = close;
        return true;
    }

    std::string_view text;
    TByteFinder closers;
    TByteFinder openers;
};

TString Decode(std::string_view text) {
    return XmlUnescape(text.data(), static_cast<int>(text.size()), nullptr);
}

// -1 unless the body is all digits; 0 for the value 0 or past the argument count.
int ArgumentNumber(const TString& body) {
    const char* digits = body.c_str();
    if (digits[std::strspn(digits, "0123456789")] != '\0') {
        return -1;
    }
    int number = 0;
    // Stops once past the count, so long runs of digits cannot overflow.
    for (const char* p = digits; *p && number <= kArgumentCount; ++p) {
        number = number * 10 + (*p - '0');
    }
    return number <= kArgumentCount ? number : 0;
}

}  // namespace

bool TStringTable::Load(const TString& fileName) {
    Clear();
    return AddFile(fileName);
}

bool TStringTable::AddFile(const TString& fileName) {
    std::string contents;
    if (!ReadWholeFile(fileName, contents)) {
        return false;
    }
    std::string plain;
    if (IsZxml(contents.data(), contents.size())) {
        InflateZxml(contents.data(), contents.size(), plain);  // logs, and gives no rows, when broken
        contents.swap(plain);
    }
    // The text is read as a C string would be: it ends at its first zero byte.
    AddRows(std::string_view(contents.c_str()));
    return true;
}

void TStringTable::AddRows(std::string_view text) {
    static const std::string_view kRow = "<Row";
    TCellSearch search(text);
    size_t row = text.find(kRow);
    while (row != std::string_view::npos) {
        size_t nextRow = text.find(kRow, row + 1);
        size_t rowEnd = nextRow == std::string_view::npos ? text.size() : nextRow;
        TCell label;
        if (search.FindCell(row + 1, rowEnd, label)) {
            TCell value;
            bool hasValue = search.FindCell(label.end + 1, rowEnd, value);
            mStrings[Decode(label.text)] = hasValue ? Decode(value.text) : TString();
        }
        row = nextRow;
    }
}

TString TStringTable::GetString(const TString& label, const TString& arg1, const TString& arg2, const TString& arg3,
                                const TString& arg4, const TString& arg5) const {
    const TString* const args[kArgumentCount] = {&arg1, &arg2, &arg3, &arg4, &arg5};
    auto found = mStrings.find(label);
    bool ok = found != mStrings.end();
    std::string result;
    if (ok) {
        const std::string_view text(found->second.c_str(), found->second.Length());
        size_t i = 0;
        while (ok && i < text.size()) {
            // The run up to the next escape goes in whole.
            const size_t percent = std::min(text.find('%', i), text.size());
            result.append(text, i, percent - i);
            i = percent;
            if (i == text.size()) {
                break;
            }
            const size_t close = text.find('%', i + 1);
            std::string_view body;
            if (close == std::string_view::npos) {
                DebugLog("Non-matched percent (%%) escape found in string %s, '%s'", label.c_str(), text.data());
                body = text.substr(i + 1);
                ++i;
            } else {
                body = text.substr(i + 1, close - i - 1);
                i = close + 1;
            }
            ok = AppendEscape(TString(body.data(), static_cast<int>(body.size())), args, result);
        }
    }
    if (!ok) {
        DebugLog(" ##### : Missing string for label '%s'", label.c_str());
        return TString(kMissingText);
    }
    return TString(result.data(), static_cast<int>(result.size()));
}

bool TStringTable::AppendEscape(const TString& body, const TString* const args[], std::string& result) const {
    if (body.Length() == 0) {
        result += '%';
        return true;
    }
    int number = ArgumentNumber(body);
    if (number < 0) {
        return AppendLabel(body, result);
    }
    if (number == 0) {
        return false;
    }
    const TString& arg = *args[number - 1];
    const int length = arg.Length();
    if (arg.CharAt(0) != '%') {
        result.append(arg.c_str(), length);
        return true;
    }
    if (length == 2) {
        if (arg.CharAt(1) != '%') {
            return false;
        }
        result += '%';
        return true;
    }
    // "%label%": the text of that label.
    if (length > 2 && arg.CharAt(length - 1) == '%') {
        return AppendLabel(arg.SubString(1, length - 2), result);
    }
    return false;
}

bool TStringTable::AppendLabel(const TString& label, std::string& result) const {
    auto found = mStrings.find(label);
    if (found == mStrings.end()) {
        return false;
    }
    result.append(found->second.c_str(), found->second.Length());
    return true;
}

void TStringTable::GetFlashLabels(std::vector<TString>& labels) const {
    static const char kFlashPrefix[] = "FLASH_";
    bool any = false;
    for (const auto& [label, text] : mStrings) {
        if (std::strncmp(label.c_str(), kFlashPrefix, sizeof kFlashPrefix - 1) == 0) {
            labels.push_back(label);
            any = true;
        }
    }
    if (any) {
        return;
    }
    for (const auto& [label, text] : mStrings) {
        int first = 0;
        int second = 0;
        // Any non-zero count, end of input included, as the movie labels were matched.
        if (std::sscanf(label.c_str(), "flash%2d_%2d", &first, &second) != 0) {
            labels.push_back(label);
        }
    }
}
