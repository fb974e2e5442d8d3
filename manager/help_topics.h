// The help context numbers of the manager's windows; the pages of the numbers are found by
// hook/core/help_pages.h, which the library's dialogs use too.
#pragma once

#include "hook/core/help_pages.h"

namespace vn {

constexpr unsigned kHelpConfiguration = 1025;
constexpr unsigned kHelpIntroduction = 1038;
constexpr unsigned kHelpTrainedEntry = 770; // "Trained Application Configuration"
constexpr unsigned kHelpFileType = 771;     // "Add/Edit File Type"

} // namespace vn
