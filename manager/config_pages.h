// The rules of the configuration window's settings pages: which control of which page edits which
// key of the settings key table, which controls are enabled for the check states of a page, and
// what a number field accepts. Nothing here talks to Win32; config_pages_win.cpp moves the values
// between these tables and the controls.
#pragma once

#include "hook/core/settings.h"

namespace vn {

// The pages, in the order of their tabs.
enum class PageId { kMainOptions, kSizePosition, kRecentFavorites, kDisabledDialogs, kTrainedApps };
constexpr int kPageCount = 5;

struct PageInfo {
    PageId id;
    int dialog; // dialog template
    const char* title;
};
extern const PageInfo kPages[kPageCount];

enum class ControlKind : uint8_t {
    kCheck, // a check box: the key is 0 or 1
    kRadio, // a radio group: the key is the index of the checked button
    kNumber // an edit field holding an integer kNumberLow to kNumberHigh
};

constexpr int kMaxRadioButtons = 4;

// One control (or radio group) of a page and the field of ManagerSettings it edits. The field is
// named by its offset, so the key's name is spelled only in the key table (FindSettingKey).
struct PageControl {
    PageId page;
    ControlKind kind;
    uint16_t field;
    int ids[kMaxRadioButtons]; // the control, or the group's buttons in index order
    int count;                 // 1, or the number of buttons of the group
};
extern const PageControl kPageControls[];
extern const int kPageControlCount;

// The range of every number field, and what a field's text is worth.
constexpr int32_t kNumberLow = 1;
constexpr int32_t kNumberHigh = 100;
enum class NumberCheck { kValid, kNotANumber, kOutOfRange };
// Accepts an optional sign and decimal digits, with blanks around them.
NumberCheck CheckNumberText(const char* text, int32_t* value);

// The check states of a page's check boxes and radio buttons, and its list boxes' selections.
class PageStates {
  public:
    virtual bool Checked(int id) const = 0;
    // The list box has items and one of them is selected.
    virtual bool HasSelection(int listId) const = 0;

  protected:
    ~PageStates() = default;
};

// The enabled state of the controls a rule governs; controls not named are always enabled.
struct Enabling {
    static constexpr int kMax = 40;
    int ids[kMax];
    bool enabled[kMax];
    int count = 0;

    void Set(int id, bool on);
    // The state of id: false for a control a rule disables, true for any other.
    bool Of(int id) const;
};

Enabling PageEnabling(PageId page, const PageStates& states);

// The control ids of the pages that the rules and the glue name. The ids of the settings
// controls are in the tables of config_pages.cpp.
namespace page_ids {
// "Main Options"
constexpr int kAddButtons = 401;
constexpr int kDeleteButton = 1039;
constexpr int kRecycleBin = 1009;
constexpr int kRecycleNote = 1033;
constexpr int kInfoLine = 226;
constexpr int kInfoFullPath = 1007;
constexpr int kSort = 1049;
constexpr int kSortOrderLabel = 1058;
constexpr int kFoldersOnTop = 1056;
constexpr int kFoldersOnBottom = 1057;
constexpr int kCommonEnabled = 1001;
constexpr int kShowIcon = 1008;
// "Size && Position"
constexpr int kCenter = 212;
constexpr int kLastPosition = 1011;
constexpr int kLastSize = 1028;
constexpr int kEnlargeGroup = 104;
constexpr int kSizing = 109;
constexpr int kHeight = 102;
constexpr int kWidth = 103;
constexpr int kLengthenDrive = 111;
constexpr int kDriveLimit = 112;
constexpr int kDriveLimitNum = 113;
constexpr int kDriveLines = 114;
constexpr int kLengthenTypes = 115;
constexpr int kTypesLimit = 116;
constexpr int kTypesLimitNum = 117;
constexpr int kTypesLines = 118;
// "Recent / Favorites"
constexpr int kShowRecent = 220;
constexpr int kShowFavorites = 221;
constexpr int kRecentShown = 206;
constexpr int kRecentVisible = 214;
// "Disabled Dialogs": three lists, each with its Re-Enable button at id + 1.
constexpr int kExcludeLists[3] = {101, 103, 105};
// "Trained Applications"
constexpr int kTrainedEnabled = 1013;
constexpr int kTrainedList = 1014;
constexpr int kTrainedEdit = 1015;
constexpr int kTrainedDelete = 1016;
constexpr int kTrainedImport = 1018;
constexpr int kTrainNew = 1019;
} // namespace page_ids

} // namespace vn
