#include "hook/core/shared_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using namespace vn;

TEST(SharedState, StartsWithTheLibraryDefaultsAndBothSwitchesOn) {
    auto s = std::make_unique<SharedState>();
    memset(s.get(), 0x5A, sizeof *s); // whatever was there before must not survive
    InitSharedState(*s);
    EXPECT_EQ(s->commonEnabled, 1u);
    EXPECT_EQ(s->notSoCommonEnabled, 1u);
    EXPECT_EQ(s->showUsageNote, 1u);
    EXPECT_EQ(s->hookCount, 0u);
    EXPECT_EQ(s->cbtHook, 0u);
    EXPECT_EQ(s->cbtHookOwner, 0u); // no owner recorded
    EXPECT_EQ(s->pathsReady, 0u);
    EXPECT_EQ(s->trainedCount, 0);
    EXPECT_EQ(s->excludes.count, 0);
    EXPECT_EQ(s->lists.allListsLoaded, 0u);
    EXPECT_EQ(s->iniFilePath[0], 0);
    // A few library defaults that differ from zero, and the fixed words.
    EXPECT_EQ(s->settings.useLastDir, 1);
    EXPECT_EQ(s->settings.useLastSize, 1);
    EXPECT_EQ(s->settings.height32, 70);
    EXPECT_EQ(s->settings.lenDriveLimitNum, 25);
    EXPECT_EQ(s->settings.recentShown, 25);
    EXPECT_EQ(s->settings.recentVisible, 10);
    EXPECT_EQ(s->settings.disableKey, 2);
    EXPECT_EQ(s->settings.disableKeyNoPrompt, 3);
    EXPECT_EQ(s->settings.restoreLastFileType, 0);
    EXPECT_EQ(s->settings.trainingAlwaysOn, 1);
    EXPECT_EQ(s->settings.buttonRowAlwaysOn, 1);
    EXPECT_EQ(s->settings.infoLineAlwaysOn, 1);
    EXPECT_EQ(s->settings.settingsLoaded, 0u);
}

TEST(SharedState, CountsFromSharedMemoryAreClampedBeforeUse) {
    auto s = std::make_unique<SharedState>();
    InitSharedState(*s);
    s->trainedCount = 1 << 30;
    EXPECT_EQ(TrainedCount(*s), kMaxTrainedEntries);
    s->trainedCount = -7;
    EXPECT_EQ(TrainedCount(*s), 0);
    s->excludes.count = 101;
    EXPECT_EQ(ExcludeCount(s->excludes), kMaxExcludes);
    s->excludes.count = -1;
    EXPECT_EQ(ExcludeCount(s->excludes), 0);
}
