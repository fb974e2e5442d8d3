#include "manager/open_dialogs.h"

#include <gtest/gtest.h>

#include <map>

namespace vn {
namespace {

// The windows of a desktop: each existing window with its owner.
class FakeDesktop : public WindowProbe {
  public:
    void Create(uint32_t window, uint32_t owner) { owners_[window] = owner; }
    void Destroy(uint32_t window) { owners_.erase(window); }
    bool Exists(uint32_t window) override { return owners_.count(window) != 0; }
    uint32_t OwnerOf(uint32_t window) override {
        auto it = owners_.find(window);
        return it == owners_.end() ? 0 : it->second;
    }

  private:
    std::map<uint32_t, uint32_t> owners_;
};

TEST(ManagerOpenDialogs, OpenedAndClosedFillAndEmptyTheList) {
    FakeDesktop desktop;
    desktop.Create(0x100, 0x10);
    desktop.Create(0x200, 0x20);
    OpenDialogList list;
    EXPECT_FALSE(list.AnyStillOpen(desktop));
    EXPECT_TRUE(list.Opened(0x100, desktop));
    EXPECT_TRUE(list.Opened(0x100, desktop)); // reported twice: one record
    EXPECT_TRUE(list.Opened(0x200, desktop));
    EXPECT_EQ(list.Count(), 2u);
    EXPECT_EQ(list.Records()[0].owner, 0x10u);
    EXPECT_TRUE(list.AnyStillOpen(desktop));
    EXPECT_TRUE(list.Closed(0x100));
    EXPECT_FALSE(list.Closed(0x100));
    EXPECT_TRUE(list.AnyStillOpen(desktop));
    EXPECT_TRUE(list.Closed(0x200));
    EXPECT_EQ(list.Count(), 0u);
    EXPECT_FALSE(list.AnyStillOpen(desktop));
    EXPECT_FALSE(list.Closed(0x300)) << "a dialog never reported";
    EXPECT_FALSE(list.Opened(0, desktop)) << "no window";
    EXPECT_EQ(list.Count(), 0u);
}

TEST(ManagerOpenDialogs, DialogsOfDeadProcessesDoNotHoldUpQuitting) {
    FakeDesktop desktop;
    desktop.Create(0x100, 0x10);
    OpenDialogList list;
    list.Opened(0x100, desktop);
    desktop.Destroy(0x100); // the process died without reporting
    EXPECT_FALSE(list.AnyStillOpen(desktop));
    EXPECT_EQ(list.Count(), 1u) << "the record stays";

    // The handle comes back for another window: the old record does not make it an open dialog.
    desktop.Create(0x100, 0x99);
    EXPECT_FALSE(list.AnyStillOpen(desktop));
    // When that window is itself reported, it counts with its own owner.
    list.Opened(0x100, desktop);
    EXPECT_EQ(list.Count(), 1u);
    EXPECT_TRUE(list.AnyStillOpen(desktop));
    // A dialog whose owner changed since it was reported is not the dialog that was reported.
    desktop.Create(0x100, 0x77);
    EXPECT_FALSE(list.AnyStillOpen(desktop));
}

TEST(ManagerOpenDialogs, AFullListMakesRoomFromTheDead) {
    FakeDesktop desktop;
    OpenDialogList list;
    for (uint32_t w = 1; w <= OpenDialogList::kMaxRecords; ++w) {
        desktop.Create(w, 0x10);
        ASSERT_TRUE(list.Opened(w, desktop));
    }
    desktop.Create(0x1000, 0x10);
    EXPECT_FALSE(list.Opened(0x1000, desktop)) << "all records are live dialogs";
    EXPECT_TRUE(list.Opened(5, desktop)) << "a listed dialog is still found";
    desktop.Destroy(7);
    desktop.Destroy(9);
    EXPECT_TRUE(list.Opened(0x1000, desktop));
    EXPECT_EQ(list.Count(), OpenDialogList::kMaxRecords - 1);
    EXPECT_FALSE(list.Closed(7)) << "the dead records made the room";
    EXPECT_TRUE(list.Closed(0x1000));
}

} // namespace
} // namespace vn
