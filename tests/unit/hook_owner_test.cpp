#include "hook/core/hook_owner.h"

#include <gtest/gtest.h>

using namespace vn;

namespace {

struct OwnerCase {
    const char* what;
    ProcessMark recorded;
    ProcessSighting now;
    bool alive;
};

TEST(HookOwner, OnlyTheRecordedProcessStillRunningHoldsTheHook) {
    const ProcessMark owner = {1234, 0x5EED};
    const OwnerCase cases[] = {
        {"running with the recorded stamp", owner, {ProcessLook::kRunning, 0x5EED}, true},
        {"the id now belongs to a newer process", owner, {ProcessLook::kRunning, 0x5EEE}, false},
        {"ended, a handle still open somewhere", owner, {ProcessLook::kEnded, 0x5EED}, false},
        {"no process has the id", owner, {ProcessLook::kNone, 0}, false},
        {"may not be examined: kept", owner, {ProcessLook::kHidden, 0}, true},
        {"nobody recorded", {0, 0}, {ProcessLook::kRunning, 0}, false},
        {"nobody recorded, whatever has id 0", {0, 0x5EED}, {ProcessLook::kHidden, 0}, false},
        {"a stamp of 0 is a stamp like others", {99, 0}, {ProcessLook::kRunning, 0}, true},
    };
    for (const OwnerCase& c : cases)
        EXPECT_EQ(HookOwnerAlive(c.recorded, c.now), c.alive) << c.what;
}

TEST(HookOwner, MarksTravelInOneWordAndTellReusedIdsApart) {
    const ProcessMark marks[] = {
        {0, 0}, {1, 2}, {0xFFFFFFFFu, 0}, {0, 0xFFFFFFFFu}, {4242, 0x89AB}};
    for (ProcessMark m : marks) {
        ProcessMark back = UnpackMark(PackMark(m));
        EXPECT_EQ(back.id, m.id);
        EXPECT_EQ(back.stamp, m.stamp);
    }
    EXPECT_EQ(PackMark({0, 0}), 0u) << "no owner is the zero word of a fresh shared state";
    EXPECT_NE(PackMark({7, 1}), PackMark({7, 2})) << "same id, another process";

    // Creation times (100 ns units) of processes that could get one id: each bit counts.
    const uint64_t times[] = {0x01DA'1234'5678'9ABCull, 0x01DA'1234'5678'9ABDull,
                              0x01DA'1235'5678'9ABCull, 0x01DA'1234'5678'9ABCull + 10'000'000};
    for (size_t i = 0; i < sizeof times / sizeof times[0]; ++i)
        for (size_t j = i + 1; j < sizeof times / sizeof times[0]; ++j)
            EXPECT_NE(CreationStamp(times[i]), CreationStamp(times[j])) << i << " " << j;
}

} // namespace
