#include "manager/config_pages.h"

#include "hook/core/settings.h"
#include "hook/core/shared_state.h"
#include "tests/common/memory_ini.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <utility>

namespace vn {
namespace {

const SettingKey* KeyNamed(const char* name) {
    for (int i = 0; i < kSettingKeyCount; ++i)
        if (!strcmp(kSettingKeys[i].name, name))
            return &kSettingKeys[i];
    return nullptr;
}

TEST(ManagerPages, EveryControlEditsOneManagerKeyAndEveryManagerKeyHasOne) {
    std::set<uint16_t> mapped;
    std::set<std::pair<int, int>> ids; // (page, control id)
    for (int i = 0; i < kPageControlCount; ++i) {
        const PageControl& c = kPageControls[i];
        const SettingKey* key = FindSettingKey(c.field);
        ASSERT_NE(key, nullptr) << "control " << c.ids[0];
        EXPECT_TRUE(key->flags & kKeyManager) << key->name;
        EXPECT_TRUE(mapped.insert(c.field).second) << key->name << " has two controls";
        for (int j = 0; j < c.count; ++j)
            EXPECT_TRUE(ids.insert({static_cast<int>(c.page), c.ids[j]}).second)
                << "id " << c.ids[j] << " twice on a page";
        switch (c.kind) {
        case ControlKind::kCheck:
            EXPECT_TRUE(key->flags & kKeyBoolean) << key->name;
            EXPECT_EQ(c.count, 1);
            break;
        case ControlKind::kRadio: // one button per value of the key
            EXPECT_EQ(key->low, 0) << key->name;
            EXPECT_EQ(key->high + 1, c.count) << key->name;
            break;
        case ControlKind::kNumber:
            EXPECT_EQ(key->low, kNumberLow) << key->name;
            EXPECT_EQ(key->high, kNumberHigh) << key->name;
            break;
        }
    }
    for (int i = 0; i < kSettingKeyCount; ++i) {
        if (kSettingKeys[i].flags & kKeyManager) {
            EXPECT_EQ(mapped.count(kSettingKeys[i].offset), 1u) << kSettingKeys[i].name;
        }
    }
}

TEST(ManagerPages, NumberFieldsTakeIntegersFrom1To100) {
    const struct {
        const char* text;
        NumberCheck check;
        int32_t value;
    } cases[] = {
        {"1", NumberCheck::kValid, 1},
        {"100", NumberCheck::kValid, 100},
        {" 42 ", NumberCheck::kValid, 42},
        {"+7", NumberCheck::kValid, 7},
        {"007", NumberCheck::kValid, 7},
        {"0", NumberCheck::kOutOfRange, 0},
        {"101", NumberCheck::kOutOfRange, 0},
        {"-5", NumberCheck::kOutOfRange, 0},
        {"99999999999999999999", NumberCheck::kOutOfRange, 0},
        {"", NumberCheck::kNotANumber, 0},
        {"abc", NumberCheck::kNotANumber, 0},
        {"12a", NumberCheck::kNotANumber, 0},
        {"1 2", NumberCheck::kNotANumber, 0},
        {"-", NumberCheck::kNotANumber, 0},
        {"4.5", NumberCheck::kNotANumber, 0},
    };
    for (const auto& c : cases) {
        int32_t value = -1;
        EXPECT_EQ(CheckNumberText(c.text, &value), c.check) << "\"" << c.text << "\"";
        EXPECT_EQ(value, c.check == NumberCheck::kValid ? c.value : -1) << c.text;
    }
    EXPECT_EQ(CheckNumberText(nullptr, nullptr), NumberCheck::kNotANumber);
}

class FakeStates : public PageStates {
  public:
    FakeStates(std::set<int> checked, std::set<int> selected)
        : checked_(std::move(checked)), selected_(std::move(selected)) {}
    bool Checked(int id) const override { return checked_.count(id) != 0; }
    bool HasSelection(int id) const override { return selected_.count(id) != 0; }

  private:
    std::set<int> checked_, selected_;
};

TEST(ManagerPages, EnablingRules) {
    const struct {
        const char* name;
        PageId page;
        std::set<int> checked;
        std::set<int> selected;
        std::set<int> enabled;
        std::set<int> disabled;
    } cases[] = {
        {"buttons off greys the seven, accelerators and recycling, not the product button",
         PageId::kMainOptions,
         {1039, 226, 1049},
         {},
         {1045, 1001, 1008, 208, 412, 1048, 226, 401, 1007},
         {224, 1044, 1039, 1038, 1041, 1040, 1042, 1043, 1009, 1033}},
        {"buttons on, Delete off: recycling grey",
         PageId::kMainOptions,
         {401},
         {},
         {224, 1044, 1039, 1038, 1041, 1040, 1042, 1043},
         {1009, 1033, 1007, 1050, 1051, 1052, 1053, 1054, 1055, 1058, 1056, 1057}},
        {"buttons and Delete on: recycling enabled",
         PageId::kMainOptions,
         {401, 1039},
         {},
         {1009, 1033},
         {}},
        {"folders on top greys folders on bottom",
         PageId::kMainOptions,
         {1049, 1056},
         {},
         {1050, 1053, 1055, 1058, 1056},
         {1057}},
        {"remember size greys the whole enlarge group",
         PageId::kSizePosition,
         {1028, 109, 1011},
         {},
         {1028, 1011},
         {104, 109, 102, 103, 105, 106, 107, 108, 212}},
        {"enlargement off greys the percentages",
         PageId::kSizePosition,
         {111},
         {},
         {104, 109, 212, 112},
         {102, 103, 105, 106, 107, 108, 113, 114, 116, 117, 118}},
        {"limits follow their lengthen boxes",
         PageId::kSizePosition,
         {109, 111, 112, 115},
         {},
         {102, 108, 112, 113, 114, 116},
         {117, 118}},
        {"no lists: everything grey",
         PageId::kRecentFavorites,
         {},
         {},
         {220, 221},
         {206, 214, 1034, 1035, 222, 227, 217, 218, 219, 1036, 228, 229, 230, 1047, 1032, 310, 1037,
          231}},
        {"recent only",
         PageId::kRecentFavorites,
         {220},
         {},
         {206, 214, 1034, 1035, 222, 227, 217, 218, 219, 1036, 228, 229, 230, 1047},
         {1032, 310, 1037, 231}},
        {"favorites only",
         PageId::kRecentFavorites,
         {221},
         {},
         {206, 1036, 1032, 310, 1037, 231},
         {228, 229, 230, 1047}},
        {"Shift asks: Shift greyed among the no-prompt keys",
         PageId::kDisabledDialogs,
         {209, 212},
         {103},
         {104, 209, 210, 1010, 212, 213, 1011},
         {214, 102, 106}},
        {"Ctrl+Shift without prompt greys Ctrl+Shift with it",
         PageId::kDisabledDialogs,
         {211, 1011},
         {},
         {209, 210, 211},
         {1010}},
        {"trained page without a selection: Edit and Delete grey",
         PageId::kTrainedApps,
         {},
         {},
         {1013, 1014, 1018, 1019},
         {1015, 1016}},
        {"a selected entry can be edited and deleted",
         PageId::kTrainedApps,
         {1013},
         {1014},
         {1013, 1015, 1016, 1018, 1019},
         {}},
    };
    for (const auto& c : cases) {
        FakeStates states(c.checked, c.selected);
        Enabling e = PageEnabling(c.page, states);
        for (int id : c.enabled)
            EXPECT_TRUE(e.Of(id)) << c.name << ": " << id << " enabled";
        for (int id : c.disabled)
            EXPECT_FALSE(e.Of(id)) << c.name << ": " << id << " greyed";
    }
}

TEST(SettingsRanges, ValuesAreBroughtIntoRange) {
    const struct {
        const char* key;
        int32_t value;
        int32_t fallback;
        int32_t expected;
    } cases[] = {
        {"Recent Shown", -7, 100, 1},
        {"Recent Shown", 250, 100, 100},
        {"Recent Shown", 50, 100, 50},
        {"Width32", 0, 70, 1},
        {"Height32", 1000, 70, 100},
        {"LenTypesLimitNum", -1, 25, 1},
        {"Sort By", 4, 0, 0},
        {"Sort By", 3, 0, 3},
        {"Disable Key", -1, 2, 2},
        {"Recent Path Option", 3, 1, 1},
        {"ColWidth0", -99999, 0, 0},
        {"ColWidth3", 120, 0, 120},
        {"ColWidth6", kMaxColumnWidth + 1, 0, 0},
        {"Show Icon", -7, 1, 1},
        {"Sizing", 5, 1, 1},
        {"Sizing", 0, 1, 0},
    };
    for (const auto& c : cases) {
        const SettingKey* key = KeyNamed(c.key);
        ASSERT_NE(key, nullptr) << c.key;
        EXPECT_EQ(BringIntoRange(*key, c.value, c.fallback), c.expected)
            << c.key << " = " << c.value;
    }
}

// Both sides read values out of range as in range, and the manager writes them back so.
TEST(SettingsRanges, OutOfRangeFileValuesAreNeverWrittenBackWrapped) {
    vntest::MemoryIni ini;
    ini.Set(kSettingsSection, "Height32", "60");
    ini.Set(kSettingsSection, "Recent Shown", "-7");
    ini.Set(kSettingsSection, "Recent Visible", "4294967289");
    ini.Set(kSettingsSection, "Disable Key", "9");
    ini.Set(kSettingsSection, "ColWidth0", "-99999");
    ini.Set(kSettingsSection, "ColWidth1", "4294867297");

    ManagerSettings m;
    SetManagerDefaults(m, 1024, 768);
    ReadManagerSettings(m, ini, nullptr);
    EXPECT_EQ(m.values.recentShown, 1);
    EXPECT_EQ(m.values.recentVisible, 1); // read as -7
    EXPECT_EQ(m.values.disableKey, 2);
    EXPECT_TRUE(WriteManagerSettings(m, ini));
    EXPECT_EQ(ini.Get(kSettingsSection, "Recent Shown"), "1");
    EXPECT_EQ(ini.Get(kSettingsSection, "Disable Key"), "2");

    m.values.width32 = -3; // whatever the fields hold, nothing is written wrapped
    WriteManagerSettings(m, ini);
    EXPECT_EQ(ini.Get(kSettingsSection, "Width32"), "1");

    auto shared = std::make_unique<SharedState>();
    InitSharedState(*shared);
    ReadLibrarySettings(*shared, ini, nullptr, "app");
    EXPECT_EQ(shared->settings.recentShown, 1);
    EXPECT_EQ(shared->settings.colWidth[0], 0);
    EXPECT_EQ(shared->settings.colWidth[1], 0);
    EXPECT_EQ(shared->settings.columnWidthsKnown, 0u);
    EXPECT_EQ(shared->settings.disableKey, 2);
}

} // namespace
} // namespace vn
