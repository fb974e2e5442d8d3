// Applications whose file dialogs break when they are extended, and how far each is left alone.
#pragma once

#include "hook/core/settings_block.h"

namespace vn {

// PKZIP's own controls, by which its dialogs are known.
constexpr int kPkzipControlIds[] = {1116, 1174, 1191};

// What the rules need to know of the dialog besides its module and title.
struct DialogTraits {
    bool hasPkzipControl;       // one of kPkzipControlIds exists
    bool hasBrandLabel;         // control kIdBrandLabel exists
    const char* brandLabelText; // its text (at most 79 characters), or null
};

// Adds the exclusions the known applications need to flags.
void ApplyApplicationRules(const char* module, const char* title, const DialogTraits& traits,
                           ExcludeFlags& flags);

// Dialogs that must not be taken over at all, known by their title.
bool LeaveDialogAlone(const char* title);

// CorelDraw and Omnipage grow their file dialog themselves (commands 35 and 3109 open a preview
// area); such a growth is made larger by the rows the library added, or the rows would cover it.
bool IsGrowthCommand(unsigned command);
bool AddsRowsToOwnGrowth(const char* module);

} // namespace vn
