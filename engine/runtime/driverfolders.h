// The folders the driver sets up at start: where the program lies, where it
// was started, and where it keeps its data.
#pragma once

#include "foundation/tstring.h"

struct TProgramFolders {
    TString executablePath;    // canonical
    TString executableFolder;  // ends in "/"
    TString startupFolder;     // the working folder the program was started in
    TString assetFolder;       // the executable folder's "assets/"
    // Behind "user:", "common:" and "desktop:"; the executable folder until
    // SetUpDataFolders replaces them.
    TString userFolder;
    TString commonFolder;
    TString desktopFolder;
};

// Reads the executable's path and the start-up folder, then makes the
// executable's folder the working folder. False (logged) when the
// executable's path cannot be read; the folders then stay empty.
bool ReadProgramFolders(TProgramFolders& folders);

// The user folder is the per-user data root + publisher + game name, the
// common folder the same below the common root (else the user folder), the
// desktop folder the desktop (else the user folder); none ends in "/" but
// the desktop. Each stays as it was when its root cannot be made.
void SetUpDataFolders(TProgramFolders& folders, const TString& gameName);

// "-wd=": logs the switch and makes the folder current; a folder that
// cannot be entered is logged and the working folder stays.
bool SwitchWorkingFolder(const TString& folder);
