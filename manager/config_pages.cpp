#include "manager/config_pages.h"

#include <cstddef>
#include <initializer_list>

namespace vn {

static_assert(offsetof(ManagerSettings, values) == 0, "HookSettings fields keep their offsets");

const PageInfo kPages[kPageCount] = {
    {PageId::kMainOptions, 415, "Main Options"},
    {PageId::kSizePosition, 548, "Size && Position"},
    {PageId::kRecentFavorites, 416, "Recent / Favorites"},
    {PageId::kDisabledDialogs, 417, "Disabled Dialogs"},
    {PageId::kTrainedApps, 549, "Trained Applications"},
};

namespace {

#define VN_KEY(field) static_cast<uint16_t>(offsetof(HookSettings, field))
#define VN_MANAGER_KEY(field) static_cast<uint16_t>(offsetof(ManagerSettings, field))

constexpr PageId kMain = PageId::kMainOptions;
constexpr PageId kSize = PageId::kSizePosition;
constexpr PageId kRecent = PageId::kRecentFavorites;
constexpr PageId kDisabled = PageId::kDisabledDialogs;
constexpr ControlKind kCheck = ControlKind::kCheck;
constexpr ControlKind kRadio = ControlKind::kRadio;
constexpr ControlKind kNumber = ControlKind::kNumber;

} // namespace

const PageControl kPageControls[] = {
    {kMain, kCheck, VN_MANAGER_KEY(commonEnabled), {1001}, 1},
    {kMain, kCheck, VN_MANAGER_KEY(showIcon), {1008}, 1},
    {kMain, kCheck, VN_KEY(useLastDir), {208}, 1},
    {kMain, kCheck, VN_KEY(viewDetails), {412}, 1},
    {kMain, kCheck, VN_KEY(rememberColumnWidths), {1048}, 1},
    {kMain, kCheck, VN_KEY(sort), {1049}, 1},
    {kMain, kRadio, VN_KEY(sortBy), {1050, 1051, 1052, 1053}, 4},
    {kMain, kRadio, VN_KEY(sortOrder), {1054, 1055}, 2},
    {kMain, kCheck, VN_KEY(foldersOnTop), {1056}, 1},
    {kMain, kCheck, VN_KEY(foldersOnBottom), {1057}, 1},
    {kMain, kCheck, VN_KEY(showInfoLine), {226}, 1},
    {kMain, kCheck, VN_KEY(showInfoFullPath), {1007}, 1},
    {kMain, kCheck, VN_KEY(addVnButtons), {401}, 1},
    {kMain, kCheck, VN_KEY(addDeleteButton), {1039}, 1},
    {kMain, kCheck, VN_KEY(addRenameButton), {1040}, 1},
    {kMain, kCheck, VN_KEY(addCopyButton), {1038}, 1},
    {kMain, kCheck, VN_KEY(addMoveButton), {1041}, 1},
    {kMain, kCheck, VN_KEY(addFindButton), {1042}, 1},
    {kMain, kCheck, VN_KEY(addMkDirButton), {1043}, 1},
    {kMain, kCheck, VN_KEY(addClipButton), {1044}, 1},
    {kMain, kCheck, VN_KEY(addVantorButton), {1045}, 1},
    {kMain, kCheck, VN_KEY(useAccelerators), {224}, 1},
    {kMain, kCheck, VN_KEY(useRecycleBin), {1009}, 1},

    {kSize, kCheck, VN_KEY(centerDialog), {212}, 1},
    {kSize, kCheck, VN_KEY(useLastPosition), {1011}, 1},
    {kSize, kCheck, VN_KEY(useLastSize), {1028}, 1},
    {kSize, kCheck, VN_KEY(sizing), {109}, 1},
    {kSize, kNumber, VN_KEY(height32), {102}, 1},
    {kSize, kNumber, VN_KEY(width32), {103}, 1},
    {kSize, kCheck, VN_KEY(lengthenDrive), {111}, 1},
    {kSize, kCheck, VN_KEY(lenDriveLimit), {112}, 1},
    {kSize, kNumber, VN_KEY(lenDriveLimitNum), {113}, 1},
    {kSize, kCheck, VN_KEY(lengthenTypes), {115}, 1},
    {kSize, kCheck, VN_KEY(lenTypesLimit), {116}, 1},
    {kSize, kNumber, VN_KEY(lenTypesLimitNum), {117}, 1},

    {kRecent, kCheck, VN_KEY(showRecent), {220}, 1},
    {kRecent, kCheck, VN_KEY(includeRecentAll), {228}, 1},
    {kRecent, kCheck, VN_KEY(showFavorites), {221}, 1},
    {kRecent, kCheck, VN_KEY(includeFavoriteAll), {1032}, 1},
    {kRecent, kCheck, VN_KEY(showListHints), {222}, 1},
    {kRecent, kCheck, VN_KEY(includeRecentHeaders), {227}, 1},
    {kRecent, kCheck, VN_KEY(includeAddEditFavs), {310}, 1},
    {kRecent, kCheck, VN_KEY(includeLinuxPlaces), {231}, 1},
    {kRecent, kCheck, VN_KEY(includeEditRecent), {1047}, 1},
    {kRecent, kNumber, VN_KEY(recentShown), {206}, 1},
    {kRecent, kNumber, VN_KEY(recentVisible), {214}, 1},
    {kRecent, kRadio, VN_KEY(recentPathOption), {217, 218, 219}, 3},
    {kRecent, kCheck, VN_KEY(dontSaveRemovable), {229}, 1},
    {kRecent, kCheck, VN_KEY(dontSaveRemote), {230}, 1},

    // The buttons in the order of the key's values: (None), Ctrl, Shift, Ctrl+Shift.
    {kDisabled, kRadio, VN_KEY(disableKey), {211, 210, 209, 1010}, 4},
    {kDisabled, kRadio, VN_KEY(disableKeyNoPrompt), {212, 213, 214, 1011}, 4},

    {PageId::kTrainedApps, kCheck, VN_MANAGER_KEY(trainedEnabled), {page_ids::kTrainedEnabled}, 1},
};
const int kPageControlCount = sizeof kPageControls / sizeof kPageControls[0];

#undef VN_KEY
#undef VN_MANAGER_KEY

NumberCheck CheckNumberText(const char* text, int32_t* value) {
    const char* p = text ? text : "";
    while (*p == ' ' || *p == '\t')
        ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+')
        ++p;
    if (*p < '0' || *p > '9')
        return NumberCheck::kNotANumber;
    int64_t n = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (n <= kNumberHigh)
            n = n * 10 + (*p - '0'); // past the range the exact value does not matter
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p)
        return NumberCheck::kNotANumber;
    if (negative)
        n = -n;
    if (n < kNumberLow || n > kNumberHigh)
        return NumberCheck::kOutOfRange;
    if (value)
        *value = static_cast<int32_t>(n);
    return NumberCheck::kValid;
}

void Enabling::Set(int id, bool on) {
    for (int i = 0; i < count; ++i)
        if (ids[i] == id) {
            enabled[i] = on;
            return;
        }
    if (count < kMax) {
        ids[count] = id;
        enabled[count] = on;
        ++count;
    }
}

bool Enabling::Of(int id) const {
    for (int i = 0; i < count; ++i)
        if (ids[i] == id)
            return enabled[i];
    return true;
}

namespace {

void SetAll(Enabling& e, std::initializer_list<int> ids, bool on) {
    for (int id : ids)
        e.Set(id, on);
}

void MainOptionsRules(Enabling& e, const PageStates& s) {
    using namespace page_ids;
    bool buttons = s.Checked(kAddButtons);
    SetAll(e, {224, 1044, kDeleteButton, 1038, 1041, 1040, 1042, 1043}, buttons);
    SetAll(e, {kRecycleBin, kRecycleNote}, buttons && s.Checked(kDeleteButton));
    e.Set(kInfoFullPath, s.Checked(kInfoLine));
    bool sort = s.Checked(kSort);
    SetAll(e, {1050, 1051, 1052, 1053, 1054, 1055, kSortOrderLabel}, sort);
    // Folders go either on top or at the bottom.
    e.Set(kFoldersOnTop, sort && !s.Checked(kFoldersOnBottom));
    e.Set(kFoldersOnBottom, sort && !s.Checked(kFoldersOnTop));
}

// A click on 109, 112 or 116 can only happen while the box that enables it is checked, so the
// combined conditions below also give what such a click shows.
void SizePositionRules(Enabling& e, const PageStates& s) {
    using namespace page_ids;
    e.Set(kCenter, !s.Checked(kLastPosition));
    bool enlarge = !s.Checked(kLastSize);
    SetAll(e, {kEnlargeGroup, kSizing}, enlarge);
    SetAll(e, {kHeight, kWidth, 105, 106, 107, 108}, enlarge && s.Checked(kSizing));
    bool drive = s.Checked(kLengthenDrive);
    e.Set(kDriveLimit, drive);
    SetAll(e, {kDriveLimitNum, kDriveLines}, drive && s.Checked(kDriveLimit));
    bool types = s.Checked(kLengthenTypes);
    e.Set(kTypesLimit, types);
    SetAll(e, {kTypesLimitNum, kTypesLines}, types && s.Checked(kTypesLimit));
}

void RecentFavoritesRules(Enabling& e, const PageStates& s) {
    using namespace page_ids;
    bool recent = s.Checked(kShowRecent);
    bool favorites = s.Checked(kShowFavorites);
    SetAll(e, {kRecentShown, kRecentVisible, 1034, 1035, 222, 227, 217, 218, 219, 1036},
           recent || favorites);
    SetAll(e, {228, 229, 230, 1047}, recent);
    SetAll(e, {1032, 310, 1037, 231}, favorites);
}

void DisabledDialogsRules(Enabling& e, const PageStates& s) {
    for (int list : page_ids::kExcludeLists)
        e.Set(list + 1, s.HasSelection(list));
    // One key cannot both ask and not ask: Shift, Ctrl and Ctrl+Shift each go to one group.
    const int pairs[3][2] = {{209, 214}, {210, 213}, {1010, 1011}};
    for (const auto& pair : pairs) {
        e.Set(pair[0], !s.Checked(pair[1]));
        e.Set(pair[1], !s.Checked(pair[0]));
    }
}

// Edit and Delete act on the selected entry: without one (an empty list included) they are grey.
void TrainedAppsRules(Enabling& e, const PageStates& s) {
    using namespace page_ids;
    bool selected = s.HasSelection(kTrainedList);
    e.Set(kTrainedEdit, selected);
    e.Set(kTrainedDelete, selected);
}

} // namespace

Enabling PageEnabling(PageId page, const PageStates& states) {
    Enabling e;
    switch (page) {
    case PageId::kMainOptions:
        MainOptionsRules(e, states);
        break;
    case PageId::kSizePosition:
        SizePositionRules(e, states);
        break;
    case PageId::kRecentFavorites:
        RecentFavoritesRules(e, states);
        break;
    case PageId::kDisabledDialogs:
        DisabledDialogsRules(e, states);
        break;
    case PageId::kTrainedApps:
        TrainedAppsRules(e, states);
        break;
    }
    return e;
}

} // namespace vn
