// The cached settings of section "Vantor 3" as the hook library keeps them in the shared state,
// and the three exclusion lists. Plain fixed-width fields only: this block is shared by 32- and
// 64-bit processes. Which key fills which field, and the defaults, are in the key table of
// settings.cpp; the order of the fields below is the order other code relies on.
#pragma once

#include "hook/core/compat.h"

namespace vn {

struct HookSettings {
    uint32_t settingsSerial;
    int32_t colWidth[7]; // "ColWidth0" .. "ColWidth6"
    uint32_t columnWidthsKnown;
    int32_t sort;
    int32_t sortBy;
    int32_t sortOrder;
    int32_t rememberColumnWidths;
    int32_t foldersOnTop;
    int32_t foldersOnBottom;
    uint32_t settingsLoaded;
    int32_t useLastDir;
    int32_t useRecycleBin;
    int32_t centerDialog;
    int32_t useLastPosition;
    int32_t useLastSize;
    int32_t addVnButtons;
    int32_t viewDetails;
    int32_t height32;
    int32_t width32;
    int32_t sizing;
    int32_t lengthenDrive;
    int32_t lenDriveLimit;
    int32_t lenDriveLimitNum;
    int32_t lengthenTypes;
    int32_t lenTypesLimit;
    int32_t lenTypesLimitNum;
    int32_t restoreLastFileType; // fixed 0, no key
    int32_t showFavorites;
    int32_t showRecent;
    int32_t showListHints;
    int32_t recentShown;
    int32_t recentVisible;
    int32_t recentPathOption;
    int32_t disableKey;
    int32_t disableKeyNoPrompt;
    // Three switches that have no key and are never written: each is 1, and the code that reads
    // it (training, the button row, the information line) treats it as a constant.
    int32_t trainingAlwaysOn;
    int32_t buttonRowAlwaysOn;
    int32_t useAccelerators;
    int32_t addVantorButton;
    int32_t addClipButton;
    int32_t addCopyButton;
    int32_t addMoveButton;
    int32_t addRenameButton;
    int32_t addFindButton;
    int32_t addMkDirButton;
    int32_t addDeleteButton;
    int32_t showInfoLine;
    int32_t infoLineAlwaysOn; // no key, always 1 (see trainingAlwaysOn)
    int32_t showInfoFullPath;
    int32_t includeRecentHeaders;
    int32_t includeRecentAll;
    int32_t includeFavoriteAll;
    int32_t dontSaveRemovable;
    int32_t dontSaveRemote;
    int32_t includeAddEditFavs;
    int32_t includeEditRecent;
    uint32_t showListEditEntries; // no key
    // "Include Linux Places": the Linux desktop's folders in the favourite folders list, under
    // Wine only.
    int32_t includeLinuxPlaces;
    uint32_t reserved; // keeps the 64-bit fields that follow in the shared state aligned
};

VN_CHECK_SIZE(HookSettings, 4 * 65);

constexpr int kMaxExcludes = 100;
constexpr int kExcludeEntrySize = 96; // 95 characters and the terminator

// One exclusion list: entries "module" or "module : title", module names compared over 8 chars.
struct ExcludeList {
    char entries[kMaxExcludes][kExcludeEntrySize];
    int32_t count; // 0 to 100; anything else in shared memory is clamped on use
};

VN_CHECK_SIZE(ExcludeList, kMaxExcludes* kExcludeEntrySize + 4);

// The three extensions that can be withheld from one dialog, in the order of the exclusion lists
// "Exclude%d", "SizeExclude%d" and "LastDirExclude%d".
enum ExcludeKind { kExcludeFileManagement = 0, kExcludeSizing = 1, kExcludeLastFolder = 2 };
constexpr int kExcludeKinds = 3;

// One flag per ExcludeKind.
struct ExcludeFlags {
    uint32_t excluded[kExcludeKinds];
    bool All() const { return excluded[0] && excluded[1] && excluded[2]; }
};

} // namespace vn
