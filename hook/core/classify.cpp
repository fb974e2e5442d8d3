#include "hook/core/classify.h"

#include "hook/core/text.h"
#include "hook/core/control_ids.h"
#include "hook/core/trained_entry.h"

#include <cstring>

namespace vn {
namespace {

// Window styles, as the platform defines them.
constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsCaption = 0x00C00000;
constexpr uint32_t kWsSysMenu = 0x00080000;
constexpr uint32_t kWsExDlgModalFrame = 0x00000001;

// The standard file dialog's controls that count towards recognising it.
constexpr uint32_t kPrintGroupBox = kIdPrintGroupBox;
constexpr uint32_t kComdlgProbe = kIdComboDropList;
constexpr uint32_t kListTwo = kIdShellView;
constexpr uint32_t kCountedIds[] = {kIdHiddenLabel, kIdTypesLabel, kIdNameLabel,
                                    kIdLookInLabel, kIdFileList,   kIdNameEdit,
                                    kIdFileTypes,   kIdLookIn,     kListTwo};

// The item dialog's template: the direct children it creates, in their order, before anything
// else is created in it (the shell's browser comes only in its initialisation).
constexpr uint32_t kItemTemplate[] = {kIdNameLabel, kIdNameEdit,   kIdTypesLabel,  kIdFileTypes,
                                      1 /* OK */,   kIdOkDropDown, 2 /* Cancel */, kIdHelpButton};
constexpr int kItemTemplateLength =
    static_cast<int>(sizeof kItemTemplate / sizeof kItemTemplate[0]);

bool IsCounted(uint32_t id) {
    for (uint32_t counted : kCountedIds)
        if (id == counted)
            return true;
    return false;
}

// Whether text (an upper-cased file name) contains needle.
bool Contains(const char* text, const char* needle) {
    return strstr(text, needle) != nullptr;
}

void OwnerModuleUpper(ClassifyHost& host, Handle32 parent, char* buf, size_t size) {
    buf[0] = 0;
    if (parent)
        host.OwnerModuleFile(parent, buf, size);
    buf[size - 1] = 0;
    for (char* p = buf; *p; ++p)
        if (*p >= 'a' && *p <= 'z')
            *p = static_cast<char>(*p - 'a' + 'A');
}

void RecordRecentWindow(SharedState& s, const CreationInfo& info, Handle32 window,
                        const char* module) {
    int next = s.recentWindowNext;
    if (next < 0 || next >= kRecentWindowSlots)
        next = 0;
    RecentWindow& r = s.recentWindows[next];
    r.window = window;
    r.style = info.style;
    r.exStyle = info.exStyle;
    r.isDialogClass = IsDialogClass(info);
    r.width = info.width;
    r.height = info.height;
    CopyText(r.title, sizeof r.title, info.title);
    CopyText(r.moduleName, sizeof r.moduleName, module);
    s.recentWindowNext = static_cast<int16_t>((next + 1) % kRecentWindowSlots);
    int count = ClampCount(s.recentWindowCount, kRecentWindowSlots);
    s.recentWindowCount = static_cast<int16_t>(count < kRecentWindowSlots ? count + 1 : count);
}

// The first trained entry created like this window, or -1.
int FindTrainedMatch(const SharedState& s, const CreationInfo& info, const char* module) {
    int count = TrainedCount(s);
    for (int i = 0; i < count; ++i)
        if (MatchesCreation(s.trainedEntries[i], info.style, info.exStyle, info.width, info.height,
                            info.title, module))
            return i;
    return -1;
}

bool TrainingRuns(const SharedState& s) {
    return s.trainingSelecting || s.trainingActive || s.trainingWindowOpen;
}

void ClassifyCandidate(SharedState& s, ClassifyWatch& w, ClassifyHost& host,
                       const CreationInfo& info, Handle32 window, const char* module) {
    RecordRecentWindow(s, info, window, module);
    w.fileDialogPending = 0;

    if (!host.TrainedActiveFor(module) && TrainedCount(s) >= 1) {
        int match = FindTrainedMatch(s, info, module);
        if (match >= 0 && !TrainingRuns(s) && s.notSoCommonEnabled) {
            w.trainedMatchPending = 1;
            w.matchedTrainedIndex = match;
            w.candidateWindow = window;
        }
    }

    // With standard dialogs switched off, only the standard dialog that stands in for a trained
    // one is still extended.
    if (!s.commonEnabled) {
        Handle32 owner = s.replacementOwner;
        if (!(s.notSoCommonEnabled && owner && (owner == info.parent || owner == window)))
            return;
    }
    if (!info.classAtom || info.classAtom != kDialogClassAtom)
        return;
    w.comdlgControlSeen = 0;
    w.listTwoSeen = 0;
    w.fileControlCount = 0;
    w.itemStep = 0;
    w.candidateWindow = window;
    w.fileDialogPending = 1;
}

// Follows the item dialog's order among the candidate's direct children. Returns whether the
// order is complete with this window: the dialog is the library's item dialog. Its first control
// is one the classic count checks too: a dialog not made by the library ends the watch there.
bool FollowItemOrder(ClassifyWatch& w, const CreationInfo& info) {
    if (w.itemStep < 0 || !info.parent || info.parent != w.candidateWindow)
        return false;
    if (w.itemStep >= kItemTemplateLength || info.controlId != kItemTemplate[w.itemStep]) {
        w.itemStep = -1;
        return false;
    }
    w.itemStep = w.itemStep + 1;
    return w.itemStep == kItemTemplateLength;
}

} // namespace

bool IsDialogCandidate(const CreationInfo& info) {
    if (info.style & kWsChild)
        return false;
    return info.classAtom == kDialogClassAtom || (info.exStyle & kWsExDlgModalFrame) ||
           (info.style & kWsCaption) == kWsCaption;
}

uint32_t IsDialogClass(const CreationInfo& info) {
    if (info.classAtom)
        return info.classAtom == kDialogClassAtom ? 1 : 0;
    if (!info.className)
        return 0;
    return (!strcmp(info.className, "bordlg") || !strcmp(info.className, "TfFileDlg")) ? 1 : 0;
}

void Classify(SharedState& s, ClassifyWatch& w, ClassifyHost& host, const CreationInfo& info,
              Handle32 window) {
    const char* module = host.ModuleName();
    if (IsDialogCandidate(info)) {
        ClassifyCandidate(s, w, host, info, window, module);
        return;
    }

    // The match is acted on at the dialog's own first child: a window of anything else (a tooltip,
    // another dialog's control) says nothing about the matched dialog.
    if (w.trainedMatchPending && info.parent && info.parent == w.candidateWindow) {
        Handle32 candidate = w.candidateWindow;
        if (!host.HasTrainedSlot(candidate) && !host.HasTrainedSlot(host.ParentOf(candidate))) {
            int index = w.matchedTrainedIndex;
            w.trainedMatchPending = 0;
            w.fileDialogPending = 0;
            if (index >= 0 && index < TrainedCount(s))
                host.HandTrainedMatch(index, candidate);
            return;
        }
    }
    if (!w.fileDialogPending)
        return;

    if (FollowItemOrder(w, info)) {
        // Decided once, before the dialog's initialisation; the watch ends first, since the
        // set-up may create windows that pass through here again.
        w.fileDialogPending = 0;
        w.itemStep = -1;
        host.SetUpFileDialog(w.candidateWindow, module, TrainingRuns(s), DialogKind::kItem);
        return;
    }

    const uint32_t id = info.controlId;
    const Handle32 parent = info.parent;
    char owner[264];
    uint32_t parentStyle = parent ? host.WindowStyle(parent) : 0;
    bool inChildDialog = (parentStyle & kWsChild) &&
                         (parentStyle & (kWsCaption | kWsSysMenu)) != (kWsCaption | kWsSysMenu);
    if (!inChildDialog) {
        if (id == kPrintGroupBox) {
            w.fileDialogPending = 0;
            w.fileControlCount = 0;
            return;
        }
        if (IsCounted(id)) {
            OwnerModuleUpper(host, parent, owner, sizeof owner);
            if (Contains(owner, "COMMDLG.DLL") || Contains(owner, "COMDLG32.DLL")) {
                w.fileControlCount = w.fileControlCount + 1;
            } else {
                w.fileDialogPending = 0;
                w.fileControlCount = 0;
            }
        }
    }
    if (id == kComdlgProbe && !w.listTwoSeen) {
        OwnerModuleUpper(host, parent, owner, sizeof owner);
        if (Contains(owner, "COMDLG32.DLL"))
            w.comdlgControlSeen = 1;
    } else if (id == kListTwo) {
        w.comdlgControlSeen = 0;
        w.listTwoSeen = 1;
    }

    if (w.fileControlCount < kFileControlsToDecide)
        return;
    // The decision is made once per watch. What it works on is copied out first: setting the
    // dialog up may create windows (the disabling dialog) that pass through here again.
    w.fileDialogPending = 0;
    const Handle32 candidate = w.candidateWindow;
    const bool comdlg = w.comdlgControlSeen != 0;
    const bool training = TrainingRuns(s);
    char dialogModule[kListEntrySize];
    if (!(parent && host.HasTrainedSlot(parent) &&
          host.TrainedSlotModule(parent, dialogModule, sizeof dialogModule)))
        CopyText(dialogModule, sizeof dialogModule, module);
    if (!comdlg || !candidate)
        return;
    host.SetUpFileDialog(candidate, dialogModule, training, DialogKind::kClassic);
}

} // namespace vn
