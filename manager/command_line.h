// The command line of vantor.exe and the folders that the installation step records. Nothing
// here talks to Win32.
//
//   vantor.exe                       start (or bring up the running copy's configuration)
//   vantor.exe /install [FOLDER]     record the program folder and the data folder (FOLDER, or
//                                    "%APPDATA%\Vantor") for this user, then end
//   vantor.exe /quit                 close the running copy as "Close Vantor" does, then end
#pragma once

#include "hook/core/sizes.h"

namespace vn {

enum class StartMode {
    kRun,
    kInstall,
    kQuit,
    kUsage // an argument that is not understood: show how to call the program
};

struct StartRequest {
    StartMode mode;
    char dataFolder[kPathSize]; // /install's folder as given; empty for the default
};

// Reads the arguments (the command line without the program's name, as WinMain gets it).
// Switches start with "/" or "-" and ignore case; double quotes group blanks into an argument.
StartRequest ParseCommandLine(const char* arguments);

// The name of the data folder under the user's application data folder.
constexpr const char* kDataFolderName = "Vantor";

// Longest data folder accepted: its files, the longest being the trained database's temporary
// copy "vantor.dat.tmp", must still fit in a path of 260 characters.
constexpr size_t kMaxDataFolderLength = 260 - 15;

enum class InstallFolderError { kNone, kNoProgramFolder, kNoDataFolder, kDataFolderTooLong };

// Works out the two folders the installation records: the folder of the program file
// programPath (ending before its last backslash), and the data folder: requested when given
// (already made absolute), else appData + "\Vantor". Each output holds kPathSize bytes.
InstallFolderError InstallFolders(const char* programPath, const char* appData,
                                  const char* requested, char* programFolder, char* dataFolder);

} // namespace vn
