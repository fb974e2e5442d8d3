// The decisions taken when a standard file dialog has been recognised, before it is taken over:
// exclusion lists, "Ignore Modules", dialogs known to break when extended, and the keys held
// while the dialog opens. Also the effect of the answer given in the disabling dialog.
#pragma once

#include "hook/core/shared_state.h"

namespace vn {

struct KeyState {
    bool shift;
    bool ctrl;
    bool alt;
};

// Whether a key setting ("Disable Key", "Disable Key No Prompt": 0 none, 1 Ctrl, 2 Shift,
// 3 Ctrl+Shift) is met by the keys held now.
bool KeySettingMet(int32_t setting, const KeyState& keys);

enum class SetupDecision {
    kLeaveAlone,   // the dialog stays as the application made it
    kAskDisabling, // show the disabling dialog, then decide again from the flags
    kTakeOver,     // extend it, with the exclusion flags found
};

// Decides whether a recognised dialog of module is extended. The settings and exclusion lists of
// s must have been read. flags receives the exclusions that apply to this dialog.
SetupDecision DecideSetup(const SharedState& s, const char* module, const char* title,
                          const char* ignoreModules, const KeyState& keys, ExcludeFlags& flags);

// What the user answered in the disabling dialog.
struct DisablingAnswer {
    bool ok;                     // OK rather than Cancel
    bool checked[kExcludeKinds]; // the three check boxes, in ExcludeKind order
    bool permanent;              // "Permanently disable" rather than "Temporarily disable"
    bool allDialogs;             // "Disable for ALL dialogs of this application"
};

// The answer's effect: the flags of the dialog being opened, the choices to be written into the
// exclusion lists (with this dialog's title) when it closes, and the lists to which the module is
// to be added at once.
struct DisablingEffect {
    ExcludeFlags flags;
    uint32_t pending[kExcludeKinds];
    bool addNow[kExcludeKinds];
    bool notifyManager;
};

// Applies an answer to the flags the dialog had before it was shown.
DisablingEffect ApplyDisablingAnswer(const DisablingAnswer& answer, const ExcludeFlags& before);

} // namespace vn
