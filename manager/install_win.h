// The installation step for this user: records the program folder and the data folder in the
// registry values that the manager and the library read at start.
#pragma once

#include <windows.h>

namespace vn {

// Creates the data folder (requested, or "%APPDATA%\Vantor" when empty) and writes "Program
// Path" (the folder of this program) and "Data Path". On failure says why in a message box.
// Returns the program's exit status: 0 when both values were written.
int InstallForUser(const char* requestedDataFolder);

} // namespace vn
