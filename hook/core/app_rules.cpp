#include "hook/core/app_rules.h"

#include "hook/core/text.h"

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
            flags.excluded[kExcludeFileManagement] = flags.excluded[kExcludeSizing] =
                flags.excluded[kExcludeLastFolder] = 1;
        else if (!strcmp(title, "New Project"))
            flags.excluded[kExcludeSizing] = 1;
    }
    // The management console chooses its own folders.
    if (!strcmp(module, "mmc"))
        flags.excluded[kExcludeLastFolder] = 1;
    if (!CompareNoCase(module, "Pkzipw", sizeof "Pkzipw") && traits.hasPkzipControl)
        flags.excluded[kExcludeSizing] = 1;
    if (strstr(title, "PKZIP") && traits.hasBrandLabel && traits.brandLabelText &&
        strstr(traits.brandLabelText, "PKWARE"))
        flags.excluded[kExcludeFileManagement] = flags.excluded[kExcludeSizing] =
            flags.excluded[kExcludeLastFolder] = 1;
}

bool LeaveDialogAlone(const char* title) {
    // The wizard's dialog breaks when its file dialog is rearranged.
    return title && strstr(title, "New Project Wizard");
}

bool IsGrowthCommand(unsigned command) {
    return command == 35 || command == 3109;
}

bool AddsRowsToOwnGrowth(const char* module) {
    return module && (!strcmp(module, "CORELDRW") || !strcmp(module, "Omnipage"));
}

} // namespace vn
