#include "core/platform/commandline.h"

bool IsHostedMode(const TString& commandLine) {
    return commandLine.Find("-pq=") >= 0;
}

TString GetHostProgram(const TString& commandLine) {
    const TString kSwitch = "-host=";
    int start = commandLine.Find(kSwitch);
    if (start < 0) return TString();
    start += kSwitch.Length();
    int end = start;
    while (end < commandLine.Length() && commandLine.CharAt(end) != ' ' && commandLine.CharAt(end) != '\t') ++end;
    return commandLine.SubString(start, end - start);
}
