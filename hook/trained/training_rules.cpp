#include "hook/trained/training_rules.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsExDlgModalFrame = 0x00000001;
// No window chain is this deep; a longer one is a loop of owners.
constexpr int kMaxAncestors = 64;

bool IsDialogLike(TrainingHost& host, Handle32 w) {
    return (host.ExStyle(w) & kWsExDlgModalFrame) ||
           (!(host.Style(w) & kWsChild) && (host.Style(w) & kWsCaption) == kWsCaption);
}

bool ClassIs(TrainingHost& host, Handle32 w, const char* name) {
    char cls[64] = "";
    if (w)
        host.ClassName(w, cls, sizeof cls);
    cls[sizeof cls - 1] = 0;
    return CompareNoCase(cls, name, strlen(name)) == 0 && strlen(cls) >= strlen(name);
}

bool IsDirectChild(TrainingHost& host, Handle32 w, Handle32 dialog) {
    return w && (host.Style(w) & kWsChild) && host.ParentOf(w) == dialog;
}

} // namespace

Handle32 SelectionTarget(TrainingHost& host, Handle32 window) {
    Handle32 target = 0;
    if (!window)
        return 0;
    if (IsDialogLike(host, window)) {
        target = window;
    } else if (host.Style(window) & kWsChild) {
        Handle32 w = host.ParentOf(window);
        for (int depth = 0; w && depth < kMaxAncestors && !target; ++depth, w = host.ParentOf(w))
            if (IsDialogLike(host, w))
                target = w;
    }
    if (target && (host.Style(target) & kWsChild)) {
        Handle32 parent = host.ParentOf(target);
        if (parent && ClassIs(host, parent, "#32770"))
            target = parent;
    }
    return target;
}

PointedControl PointAt(TrainingHost& host, Handle32 window, int x, int y, Handle32 dialog,
                       Handle32 trainingWindow) {
    if (!window || !dialog)
        return {false, 0};
    if (trainingWindow && (window == trainingWindow || host.IsChildOf(window, trainingWindow)))
        return {false, 0};
    Handle32 w = window;
    bool counts = false;
    uint32_t id = 0;
    if (w == dialog) {
        w = host.ChildAtPoint(dialog, x, y);
        counts = true;
    } else if (!IsDirectChild(host, w, dialog) && host.IsChildOf(w, dialog)) {
        // The parts of a combo box (its edit field, its list) stand for the combo box.
        Handle32 parent = host.ParentOf(w);
        if (ClassIs(host, w, "COMBOBOX")) {
            counts = true;
            id = host.ControlId(w);
        } else if (ClassIs(host, parent, "COMBOBOX")) {
            counts = true;
            id = host.ControlId(parent);
        } else if (IsDirectChild(host, parent, dialog)) {
            w = parent;
        } else if (IsDirectChild(host, host.ParentOf(parent), dialog)) {
            w = host.ParentOf(parent);
        }
    }
    if (!counts && !IsDirectChild(host, w, dialog) && host.PointInWindow(dialog, x, y)) {
        // Something of the dialog's own that is not a child window of it.
        counts = true;
        id = host.ControlId(window);
    }
    bool inDialog = w && w != dialog && host.IsChildOf(w, dialog);
    if (inDialog && !(counts && id))
        id = host.ControlId(w);
    if (!inDialog && !counts)
        return {false, 0};
    return {true, id & 0xFFFF};
}

TrainedEntry* EntryUnderTraining(SharedState& s) {
    if (s.trainedState < 0 || s.trainedState >= kTrainedSlots)
        return nullptr;
    return &s.trainedEntries[s.trainedState];
}

PointStep RecordPointedId(SharedState& s, uint32_t id) {
    TrainedEntry* entry = EntryUnderTraining(s);
    if (!s.trainingActive || !entry)
        return PointStep::kIgnored;
    if (s.trainingStep == 0) {
        entry->fileNameId = static_cast<uint16_t>(id);
    } else {
        entry->typesListId = static_cast<uint16_t>(id);
        s.trainingActive = 0;
    }
    s.trainingStep = s.trainingStep + 1;
    if (s.trainingActive)
        return PointStep::kNext;
    int count = TrainedCount(s);
    if (count >= kMaxTrainedEntries)
        return PointStep::kFull;
    if (entry != &s.trainedEntries[count])
        s.trainedEntries[count] = *entry;
    s.trainedEntries[count].length = kTrainedRecordSize;
    s.trainedState = count;
    s.trainedCount = count + 1;
    return PointStep::kStored;
}

bool FillFromRecentWindows(const SharedState& s, Handle32 dialog, TrainedEntry& entry) {
    int count = ClampCount(s.recentWindowCount, kRecentWindowSlots);
    int slot = ClampCount(s.recentWindowNext, kRecentWindowSlots - 1);
    for (int seen = 0; seen < count; ++seen) {
        slot = slot == 0 ? kRecentWindowSlots - 1 : slot - 1;
        const RecentWindow& r = s.recentWindows[slot];
        if (!dialog || r.window != dialog)
            continue;
        entry.style = r.style;
        entry.exStyle = r.exStyle;
        entry.dialogClass = r.isDialogClass ? 1 : 0;
        entry.width = r.width;
        entry.height = r.height;
        CopyField(entry.originalTitle, sizeof entry.originalTitle, r.title, sizeof r.title);
        CopyField(entry.moduleName, sizeof entry.moduleName, r.moduleName, sizeof r.moduleName);
        return true;
    }
    return false;
}

void AppNameFromTitle(const char* title, char* out, size_t cap) {
    char text[100];
    CopyText(text, sizeof text, title);
    if (char* dash = strstr(text, " - "))
        *dash = 0;
    CopyText(out, cap < kTitleSize ? cap : kTitleSize, text);
}

int FindKnownEntry(const SharedState& s, const TrainedEntry& entry) {
    int count = TrainedCount(s);
    for (int i = 0; i < count; ++i)
        if (&s.trainedEntries[i] != &entry && IsSameDialog(s.trainedEntries[i], entry))
            return i;
    return -1;
}

void RemoveEntry(SharedState& s, int index) {
    int count = TrainedCount(s);
    if (index < 0 || index >= count)
        return;
    if (index != count - 1)
        s.trainedEntries[index] = s.trainedEntries[count - 1];
    memset(&s.trainedEntries[count - 1], 0, sizeof s.trainedEntries[count - 1]);
    s.trainedCount = count - 1;
}

} // namespace vn
