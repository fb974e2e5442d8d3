// The one record that the manager and every hooked process share. It lives in a named file
// mapping of the user's session (see shared_state_win.cpp); code reaches it only through
// Shared() and treats every value in it as untrusted: any process of the desktop that maps it
// could have written anything. The layout is fixed-width and pointer-free so that 32- and 64-bit
// processes see the same bytes; window and hook handles are kept as 32-bit values, which is all
// of a user handle that is significant on either bitness.
#pragma once

#include "hook/core/compat.h"
#include "hook/core/settings_block.h"
#include "hook/core/sizes.h"
#include "hook/core/trained_entry.h"

namespace vn {

constexpr int kListEntrySize = static_cast<int>(kMaxPath) + 1; // list entries: a path, terminator
constexpr int kListSlots = 100;
constexpr int kRecentWindowSlots = 20;
constexpr int kExtendedDialogSlots = 5;
// The same in 32- and 64-bit builds; a change of layout must change this and the mapping name.
constexpr size_t kSharedStateSize = 395776;

using Handle32 = uint32_t;

// Creation data of one top-level dialog candidate, as offered for training.
struct RecentWindow {
    Handle32 window;
    uint32_t style;
    uint32_t exStyle;
    uint32_t isDialogClass;
    int32_t width;
    int32_t height;
    char title[kTitleSize]; // cut to 79 characters
    char moduleName[256];   // executable name without folder and extension
};
VN_CHECK_SIZE(RecentWindow, 360);

struct ExtendedDialogSlot {
    uint32_t inUse;
    Handle32 dialog;
};

// State of the two training windows (all zero when no training runs).
struct TrainingWindowBlock {
    Handle32 selectionWindow;
    Handle32 selectionControls[4]; // OK, Cancel, Help, text
    Handle32 selectionFont;
    Handle32 selectionOldFont;
    int32_t selectionMetrics[8]; // row y, three button x, button w and h, char width, line height
    Handle32 trainingWindow;
    Handle32 trainingDialog;
    Handle32 trainingButtons[6];
    Handle32 trainingText;
    Handle32 trainingFont;
    Handle32 trainingOldFont;
    int32_t trainingMetrics[10]; // row y, single x, four answer x, w, h, char width, line height
    uint32_t askAction;
    uint32_t askKind;
    uint32_t askKnown;
    uint32_t trainingAbort;
};

// The recent and favourite lists of all applications ("ALLAPPS.vni"), read once per lifetime of
// the shared state.
struct AllAppsLists {
    uint32_t allListsLoaded;
    char allRecentFiles[kListSlots][kListEntrySize];
    char allFavoriteFiles[kListSlots][kListEntrySize];
    char allRecentPaths[kListSlots][kListEntrySize];
    char allFavoritePaths[kListSlots][kListEntrySize];
    int32_t allRecentFilesLast;
    int32_t allRecentPathsLast;
    int32_t allFavoriteFilesLast;
    int32_t allFavoritePathsLast;
    // Changes of each list in memory, in the order RecentFiles, FavoriteFiles, RecentPaths,
    // FavoritePaths (the file's sections carry no "Sequence"): a reader can tell that a list
    // changed since it looked.
    uint32_t allSequence[4];
    // Times the lists mutex was let go, by any process: a process waiting for it keeps waiting
    // while this moves (its holders make progress) and gives up soon when it stands still.
    uint32_t listLockReleases;
};

struct SharedState {
    HookSettings settings;
    ExcludeList excludes;        // "Exclude%d": file management
    ExcludeList sizeExcludes;    // "SizeExclude%d": size enlargement
    ExcludeList lastDirExcludes; // "LastDirExclude%d": open in the last folder
    uint32_t lastPositionKnown;
    uint32_t lastSizeKnown;
    int32_t lastLeft;
    int32_t lastTop;
    int32_t lastWidth;
    int32_t lastHeight;
    uint32_t pathsReady;
    char helpFilePath[kPathSize];
    char iniFilePath[kPathSize];
    char allAppsListPath[kPathSize];
    char programFolder[kPathSize];
    char dataFolder[kPathSize];
    char trainedDbPath[kPathSize];
    uint32_t showUsageNote;
    uint32_t hookCount;
    Handle32 managerWindow;
    Handle32 mouseHook;
    Handle32 cbtHook;
    // The process that installed cbtHook, as PackMark of its id and creation stamp
    // (hook_owner.h); 0 when none. A manager claims it with one 64-bit compare-exchange before it
    // sets its hook, so the field is naturally aligned.
    uint64_t cbtHookOwner;
    uint32_t notSoCommonEnabled;
    uint32_t commonEnabled;
    Handle32 trainingTarget;
    Handle32 candidateWindow;
    uint32_t trainingActive;
    uint32_t trainingSelecting;
    uint32_t trainedMatchPending;
    uint32_t trainingWindowOpen;
    uint32_t fileDialogPending;
    uint32_t comdlgControlSeen;
    uint32_t listTwoSeen;
    int32_t fileControlCount;
    uint32_t trainingStep;
    int32_t matchedTrainedIndex;
    Handle32 replacementOwner;
    ExtendedDialogSlot extendedDialogs[kExtendedDialogSlots];
    RecentWindow recentWindows[kRecentWindowSlots];
    int16_t recentWindowNext;  // 0 to 19
    int16_t recentWindowCount; // 0 to 20
    int32_t trainedState;
    TrainedEntry trainedEntries[kTrainedSlots];
    int32_t trainedCount; // 0 to 50
    TrainingWindowBlock training;
    AllAppsLists lists;
    // The 32-bit library's hook and its installer, kept apart from cbtHook and cbtHookOwner,
    // which are the 64-bit library's: a hook library reaches only processes of its own bitness,
    // so a 64-bit manager holds one hook and its 32-bit companion the other, both at once.
    Handle32 cbtHook32;
    uint32_t reserved32; // keeps cbtHookOwner32 naturally aligned
    uint64_t cbtHookOwner32;
};

static_assert(sizeof(SharedState::trainedEntries) == 253136, "52 trained records of 4868 bytes");
static_assert(sizeof(SharedState::excludes.entries) == 100 * 96, "100 exclusion entries of 96");
VN_CHECK_OFFSET(SharedState, cbtHookOwner, 30704);
VN_CHECK_OFFSET(SharedState, cbtHookOwner32, 395768);
VN_CHECK_SIZE(SharedState, kSharedStateSize);

// Puts the initial values into a zeroed record: the library defaults of the settings and the
// switches that start on.
void InitSharedState(SharedState& s);

// Clamps a count read from shared memory or a file to 0..max before it is used as a bound.
inline int ClampCount(int32_t value, int max) {
    return value < 0 ? 0 : (value > max ? max : value);
}

inline int ExcludeCount(const ExcludeList& list) {
    return ClampCount(list.count, kMaxExcludes);
}
// The fields of the hook that this build's library sets: a library only ever handles the hook of
// its own bitness.
inline Handle32& OwnCbtHook(SharedState& s) {
    return kBuiltFor32Bit ? s.cbtHook32 : s.cbtHook;
}
inline uint64_t& OwnCbtHookOwner(SharedState& s) {
    return kBuiltFor32Bit ? s.cbtHookOwner32 : s.cbtHookOwner;
}

inline int TrainedCount(const SharedState& s) {
    return ClampCount(s.trainedCount, kMaxTrainedEntries);
}

} // namespace vn
