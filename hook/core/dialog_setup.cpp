#include "hook/core/dialog_setup.h"

#include "hook/core/app_rules.h"
#include "hook/core/settings.h"
#include "hook/core/text.h"

#include <cstring>

namespace vn {

bool KeySettingMet(int32_t setting, const KeyState& keys) {
    switch (setting) {
    case 1:
        return keys.ctrl && !keys.shift;
    case 2:
        return keys.shift && !keys.ctrl;
    case 3:
        return keys.shift && keys.ctrl;
    default:
        return false;
    }
}

SetupDecision DecideSetup(const SharedState& s, const char* module, const char* title,
                          const char* ignoreModules, const KeyState& keys, ExcludeFlags& flags) {
    module = module ? module : "";
    title = title ? title : "";
    // Only whole-module entries count here; entries naming a title are applied once the title
    // is known for certain, when the dialog initialises.
    flags.excluded[kExcludeFileManagement] = MatchExclude(s.excludes, module, nullptr) ? 1 : 0;
    flags.excluded[kExcludeSizing] = MatchExclude(s.sizeExcludes, module, nullptr) ? 1 : 0;
    flags.excluded[kExcludeLastFolder] = MatchExclude(s.lastDirExcludes, module, nullptr) ? 1 : 0;
    if (flags.All())
        return SetupDecision::kLeaveAlone;
    if (ignoreModules && ignoreModules[0] && module[0] && strstr(ignoreModules, module))
        return SetupDecision::kLeaveAlone;
    if (LeaveDialogAlone(title))
        return SetupDecision::kLeaveAlone;
    if (keys.alt)
        return SetupDecision::kTakeOver;
    if (KeySettingMet(s.settings.disableKeyNoPrompt, keys))
        return SetupDecision::kLeaveAlone;
    if (KeySettingMet(s.settings.disableKey, keys))
        return ExcludeCount(s.excludes) >= kMaxExcludes ? SetupDecision::kLeaveAlone
                                                        : SetupDecision::kAskDisabling;
    return SetupDecision::kTakeOver;
}

DisablingEffect ApplyDisablingAnswer(const DisablingAnswer& answer, const ExcludeFlags& before) {
    DisablingEffect effect = {};
    effect.flags = before;
    if (!answer.ok)
        return effect;
    for (int i = 0; i < 3; ++i) {
        uint32_t checked = answer.checked[i] ? 1 : 0;
        if (!answer.permanent) {
            effect.flags.excluded[i] = checked;
        } else if (!answer.allDialogs) {
            // This dialog only: recorded with its title when it closes; extended fully now.
            effect.pending[i] = checked;
            effect.flags.excluded[i] = 0;
        } else {
            effect.addNow[i] = answer.checked[i];
            effect.flags.excluded[i] = checked;
        }
    }
    effect.notifyManager = answer.permanent && answer.allDialogs;
    return effect;
}

} // namespace vn
