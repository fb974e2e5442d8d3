#include "hook/core/shared_state.h"

#include "hook/core/settings.h"

#include <cstring>

namespace vn {

void InitSharedState(SharedState& s) {
    memset(&s, 0, sizeof s);
    SetLibraryDefaults(s.settings);
    s.showUsageNote = 1;
    s.notSoCommonEnabled = 1;
    s.commonEnabled = 1;
}

} // namespace vn
