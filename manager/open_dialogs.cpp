#include "manager/open_dialogs.h"

#include <algorithm>

namespace vn {

namespace {

bool IsStillOpen(const OpenDialog& record, WindowProbe& probe) {
    return probe.Exists(record.dialog) && probe.OwnerOf(record.dialog) == record.owner;
}

} // namespace

bool OpenDialogList::Opened(uint32_t dialog, WindowProbe& probe) {
    if (dialog == 0)
        return false;
    uint32_t owner = probe.OwnerOf(dialog);
    for (OpenDialog& record : records_) {
        if (record.dialog == dialog) {
            record.owner = owner;
            return true;
        }
    }
    if (records_.size() >= kMaxRecords) {
        // Make room by forgetting the dialogs that are gone; they can no longer hold up quitting.
        records_.erase(std::remove_if(records_.begin(), records_.end(),
                                      [&](const OpenDialog& r) { return !IsStillOpen(r, probe); }),
                       records_.end());
        if (records_.size() >= kMaxRecords)
            return false;
    }
    records_.push_back({dialog, owner});
    return true;
}

bool OpenDialogList::Closed(uint32_t dialog) {
    auto it = std::find_if(records_.begin(), records_.end(),
                           [&](const OpenDialog& r) { return r.dialog == dialog; });
    if (it == records_.end())
        return false;
    records_.erase(it);
    return true;
}

bool OpenDialogList::AnyStillOpen(WindowProbe& probe) const {
    for (const OpenDialog& record : records_)
        if (IsStillOpen(record, probe))
            return true;
    return false;
}

} // namespace vn
