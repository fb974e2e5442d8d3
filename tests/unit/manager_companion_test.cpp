#include "manager/companion.h"

#include <gtest/gtest.h>

#include <vector>

namespace vn {
namespace {

TEST(ManagerCompanion, Arguments) {
    struct Case {
        const char* arguments;
        bool ok;
        uint32_t id;
    };
    const Case cases[] = {
        {"1234", true, 1234},
        {"  77\t", true, 77},
        {"4294967295", true, 4294967295u},
        {"", false, 0},
        {nullptr, false, 0},
        {"0", false, 0},
        {"4294967296", false, 0},
        {"12 34", false, 0},
        {"-5", false, 0},
        {"12x", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        uint32_t id = 0;
        EXPECT_EQ(ParseCompanionArguments(c.arguments, &id), c.ok)
            << (c.arguments ? c.arguments : "(null)");
        if (c.ok) {
            EXPECT_EQ(id, c.id);
        }
    }
}

// Each step happens at a tick (ms, which may wrap): a start, or an end with its exit status.
// What the watch says after the last one.
struct Step {
    bool start;
    uint32_t at;
    uint32_t status;
};

TEST(ManagerCompanion, Restarts) {
    constexpr uint32_t kLong = kCompanionQuickEndMs + 1;
    struct Case {
        const char* what;
        std::vector<Step> steps;
        CompanionState state;
        uint32_t detail;
    };
    const Case cases[] = {
        {"running", {{true, 100, 0}}, CompanionState::kRunning, 0},
        {"a long run that ended is started again",
         {{true, 0, 0}, {false, kLong, 99}},
         CompanionState::kToStart,
         99},
        {"two failed starts: tried again",
         {{true, 0, 0}, {false, 10, 5}, {true, 20, 0}, {false, 30, 5}},
         CompanionState::kToStart,
         5},
        {"three failed starts in a row: given up",
         {{true, 0, 0},
          {false, 10, 5},
          {true, 20, 0},
          {false, 30, 5},
          {true, 40, 0},
          {false, 50, 0xC0000135}},
         CompanionState::kKeepsEnding,
         0xC0000135},
        {"a long run between failed starts counts them anew",
         {{true, 0, 0},
          {false, 10, 5},
          {true, 20, 0},
          {false, 30, 5},
          {true, 40, 0},
          {false, 40 + kLong, 9},
          {true, 90000, 0},
          {false, 90010, 5}},
         CompanionState::kToStart,
         5},
        {"the tick count wraps during a long run",
         {{true, 0xFFFFFF00u, 0},
          {false, kLong - 0x100, 1},
          {true, kLong, 0},
          {false, kLong + 1, 1},
          {true, kLong + 2, 0},
          {false, kLong + 3, 1}},
         CompanionState::kToStart,
         1},
        {"an end reported twice counts once",
         {{true, 0, 0}, {false, 10, 5}, {false, 11, 5}, {false, 12, 5}},
         CompanionState::kToStart,
         5},
    };
    for (const Case& c : cases) {
        CompanionWatch watch(true);
        for (const Step& step : c.steps) {
            if (step.start)
                watch.Started(step.at);
            else
                watch.Ended(step.status, step.at);
        }
        EXPECT_EQ(watch.State(), c.state) << c.what;
        EXPECT_EQ(watch.Detail(), c.detail) << c.what;
        EXPECT_EQ(watch.ShouldStart(), c.state == CompanionState::kToStart) << c.what;
        EXPECT_EQ(watch.GaveUp(), c.state == CompanionState::kKeepsEnding) << c.what;
    }
}

TEST(ManagerCompanion, NotStarted) {
    CompanionWatch notNeeded(false);
    EXPECT_FALSE(notNeeded.ShouldStart());
    EXPECT_FALSE(notNeeded.GaveUp());

    CompanionWatch missing(true);
    missing.Missing();
    EXPECT_FALSE(missing.ShouldStart());
    EXPECT_TRUE(missing.GaveUp());

    CompanionWatch refused(true);
    refused.StartFailed(1359);
    EXPECT_EQ(refused.State(), CompanionState::kCannotStart);
    EXPECT_EQ(refused.Detail(), 1359u);
    EXPECT_TRUE(refused.GaveUp());
    refused.Ended(0, 5); // nothing ran, so nothing ended
    EXPECT_EQ(refused.State(), CompanionState::kCannotStart);
}

} // namespace
} // namespace vn
