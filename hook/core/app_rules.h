// Applications whose file dialogs break when they are extended, and how far each is left alone.
#pragma once

#include "dialog_setup.h"

namespace vn {

// What the rules need to know of the dialog besides its module and title.
struct DialogTraits {
    bool hasPkzipControl; // one of the controls 1116, 1174, 1191
    bool hasControl1024;  // control 1024 exists
    const char* text1024; // its text (at most 79 characters), or null
};

// Adds the exclusions the known applications need to flags.
void ApplyApplicationRules(const char* module, const char* title, const DialogTraits& traits,
                           ExcludeFlags& flags);

} // namespace vn
