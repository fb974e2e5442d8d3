#include "app_rules.h"

#include "text.h"

#include <cstring>

namespace vn {

void ApplyApplicationRules(const char* module, const char* title, const DialogTraits& traits,
                           ExcludeFlags& flags) {
    module = module ? module : "";
    title = title ? title : "";
    // Visual Basic's project dialogs: opening a project must stay as it is, a new project may
    // not grow.
    if (strstr(module, "Vb5") || strstr(module, "VB6")) {
        if (!strcmp(title, "Open Project"))
            flags.excluded[kFileManagement] = flags.excluded[kSizing] =
                flags.excluded[kLastFolder] = 1;
        else if (!strcmp(title, "New Project"))
            flags.excluded[kSizing] = 1;
    }
    // The management console chooses its own folders.
    if (!strcmp(module, "mmc"))
        flags.excluded[kLastFolder] = 1;
    if (!CompareNoCase(module, "Pkzipw", 80) && traits.hasPkzipControl)
        flags.excluded[kSizing] = 1;
    if (strstr(title, "PKZIP") && traits.hasControl1024 && traits.text1024 &&
        strstr(traits.text1024, "PKWARE"))
        flags.excluded[kFileManagement] = flags.excluded[kSizing] = flags.excluded[kLastFolder] = 1;
}

} // namespace vn
