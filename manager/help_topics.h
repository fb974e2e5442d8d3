// Help: every Help button and help menu item names a context number; the help pages for them
// are HTML files in the "help" folder beside the program. Nothing here talks to Win32.
#pragma once

#include "hook/core/compat.h"

namespace vn {

constexpr unsigned kHelpContents = 0; // the table of contents
constexpr unsigned kHelpConfiguration = 1025;
constexpr unsigned kHelpIntroduction = 1038;
constexpr unsigned kHelpTrainedEntry = 770; // "Trained Application Configuration"
constexpr unsigned kHelpFileType = 771;     // "Add/Edit File Type"

constexpr const char* kHelpFolderName = "help";

// The page of a context number: "index.html" for the contents, "topic-N.html" otherwise.
void HelpPageName(unsigned context, char* buf, size_t size);

// The path of that page in the help folder of programFolder; false when it does not fit.
bool HelpPagePath(const char* programFolder, unsigned context, char* buf, size_t size);

} // namespace vn
