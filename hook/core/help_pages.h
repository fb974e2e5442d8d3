// Help: every Help button, F1 and help menu item of the system names a context number, and the
// help page of each is an HTML file in the "help" folder beside the program, which the manager
// and the library open alike. Nothing here talks to Win32.
#pragma once

#include "hook/core/compat.h"

namespace vn {

constexpr unsigned kHelpContents = 0; // the table of contents
constexpr const char* kHelpFolderName = "help";

// The page of a context number: "index.html" for the contents, "topic-N.html" otherwise.
void HelpPageName(unsigned context, char* buf, size_t size);

// The path of that page in the help folder of programFolder; false when it does not fit.
bool HelpPagePath(const char* programFolder, unsigned context, char* buf, size_t size);

} // namespace vn
