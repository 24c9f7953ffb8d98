#include "game/utilities/trimspaces.h"

TString TrimSpaces(const TString& text) {
    int first = 0;
    int end = text.Length();
    while (first < end && text.CharAt(first) == ' ') ++first;
    while (end > first && text.CharAt(end - 1) == ' ') --end;
    return text.SubString(first, end - first);
}
