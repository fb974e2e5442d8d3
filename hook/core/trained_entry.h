// One trained dialog: a fixed 4868-byte record, identical in memory, in the shared state and in
// the database file (little-endian, no padding). Its `length` field is the version mark: files
// written by older versions hold shorter records whose fields are a leading part of this one.
#pragma once

#include "hook/core/compat.h"
#include "hook/core/sizes.h"

namespace vn {

constexpr int kTrainedRecordSize = 4868;
constexpr int kMaxTrainedEntries = 50;
constexpr int kTrainedSlots = 52; // two scratch slots beyond the 50 entries, used by training
constexpr int kFileTypeSlots = 40;
constexpr int kFileTypeSize = 101;

enum TrainedDialogKind : uint16_t { kTrainedOpen = 0, kTrainedSave = 1, kTrainedFolder = 2 };

struct TrainedEntry {
    uint16_t length;          // 4868 in memory and in files written by us
    char appName[kTitleSize]; // shown in the editor
    char moduleName[256]; // executable name without folder and extension; compared ignoring case
    char originalTitle[kTitleSize]; // title in the creation record
    char finalTitle[kTitleSize];    // title as shown when trained; title of the replacement dialog
    uint8_t reserved498[2];
    uint32_t style;   // creation record style
    uint32_t exStyle; // creation record extended style
    int32_t width;    // creation record size
    int32_t height;
    uint16_t enabled;    // 0: recognised and left alone
    uint16_t dialogKind; // TrainedDialogKind
    uint16_t addButton;  // 1: add a button; 0: replace the whole dialog
    uint16_t reserved522;
    uint16_t dialogClass; // created with the dialog class: unhandled messages go to DefDlgProc
    uint16_t autoOpenClose;
    uint16_t hideOriginal;
    uint16_t longNames;    // 0: names are handed over in short form
    uint16_t autoExtended; // already extended as a standard dialog when trained
    uint16_t fileNameId;   // control id of the file name box, 0 for none
    uint16_t reserved536;
    uint16_t typesListId; // control id of the file types list, 0 for none
    uint8_t reserved540[4];
    int16_t buttonOffsetX; // offset of the added button from the file name box
    int16_t buttonOffsetY;
    uint16_t matchPartial; // matchTitle is a prefix of the current title
    char defaultExt[20];   // without the dot
    char matchTitle[256];
    char fileTypes[kFileTypeSlots][kFileTypeSize]; // "Description|*.a;*.b", ends at the first empty
    uint8_t reserved4866[2];
};

VN_CHECK_SIZE(TrainedEntry, kTrainedRecordSize);
VN_CHECK_OFFSET(TrainedEntry, length, 0);
VN_CHECK_OFFSET(TrainedEntry, appName, 2);
VN_CHECK_OFFSET(TrainedEntry, moduleName, 82);
VN_CHECK_OFFSET(TrainedEntry, originalTitle, 338);
VN_CHECK_OFFSET(TrainedEntry, finalTitle, 418);
VN_CHECK_OFFSET(TrainedEntry, reserved498, 498);
VN_CHECK_OFFSET(TrainedEntry, style, 500);
VN_CHECK_OFFSET(TrainedEntry, exStyle, 504);
VN_CHECK_OFFSET(TrainedEntry, width, 508);
VN_CHECK_OFFSET(TrainedEntry, height, 512);
VN_CHECK_OFFSET(TrainedEntry, enabled, 516);
VN_CHECK_OFFSET(TrainedEntry, dialogKind, 518);
VN_CHECK_OFFSET(TrainedEntry, addButton, 520);
VN_CHECK_OFFSET(TrainedEntry, reserved522, 522);
VN_CHECK_OFFSET(TrainedEntry, dialogClass, 524);
VN_CHECK_OFFSET(TrainedEntry, autoOpenClose, 526);
VN_CHECK_OFFSET(TrainedEntry, hideOriginal, 528);
VN_CHECK_OFFSET(TrainedEntry, longNames, 530);
VN_CHECK_OFFSET(TrainedEntry, autoExtended, 532);
VN_CHECK_OFFSET(TrainedEntry, fileNameId, 534);
VN_CHECK_OFFSET(TrainedEntry, reserved536, 536);
VN_CHECK_OFFSET(TrainedEntry, typesListId, 538);
VN_CHECK_OFFSET(TrainedEntry, reserved540, 540);
VN_CHECK_OFFSET(TrainedEntry, buttonOffsetX, 544);
VN_CHECK_OFFSET(TrainedEntry, buttonOffsetY, 546);
VN_CHECK_OFFSET(TrainedEntry, matchPartial, 548);
VN_CHECK_OFFSET(TrainedEntry, defaultExt, 550);
VN_CHECK_OFFSET(TrainedEntry, matchTitle, 570);
VN_CHECK_OFFSET(TrainedEntry, fileTypes, 826);
VN_CHECK_OFFSET(TrainedEntry, reserved4866, 4866);

// The classifier's test of a new window against an entry: equal creation data, the creation
// title equal to originalTitle ignoring case (a null title matches only an empty one), and the
// module name equal ignoring case.
bool MatchesCreation(const TrainedEntry& entry, uint32_t style, uint32_t exStyle, int32_t width,
                     int32_t height, const char* titleOrNull, const char* moduleName);

// Whether training would record the same dialog again: equal creation data, originalTitle and
// finalTitle equal as written, module names equal ignoring case.
bool IsSameDialog(const TrainedEntry& a, const TrainedEntry& b);

// Entries that the creation match cannot tell apart except by title: equal creation data and
// module names equal ignoring case. Whether a and b are different entries is the caller's test.
bool IsSibling(const TrainedEntry& a, const TrainedEntry& b);

} // namespace vn
