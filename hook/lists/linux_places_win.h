// The Linux desktop's folders of a taken-over dialog under Wine: read once per dialog, when its
// favourite folders list is first filled, and kept with the dialog's slot. Nothing is read on
// Windows, where Wine's exports are missing, nor while the setting is off.
#pragma once

#include "hook/core/dialog_record.h"
#include "hook/lists/linux_places.h"

namespace vn {

// The places of record's dialog; null when there are none to show (not under Wine, the setting
// off, no file, or nothing in them that exists).
const LinuxPlaces* PlacesOfDialog(const DialogRecord& record);

} // namespace vn
