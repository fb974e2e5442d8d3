// Checks for the Windows-side test programs: each failed check prints where and why, and the
// program's exit status tells the harness whether all passed.
#pragma once

#include <cstdio>

extern int g_checks;
extern int g_failures;

#define CHECK(cond, ...)                                                                           \
    do {                                                                                           \
        ++g_checks;                                                                                \
        if (!(cond)) {                                                                             \
            ++g_failures;                                                                          \
            printf("FAIL %s:%d: %s: ", __FILE__, __LINE__, #cond);                                 \
            printf(__VA_ARGS__);                                                                   \
            printf("\n");                                                                          \
            fflush(stdout);                                                                        \
        }                                                                                          \
    } while (0)

// Prints the summary and gives the exit status.
int CheckSummary(const char* what);

// The exit status of a scenario that cannot run on this machine; the harness reports it as
// skipped.
constexpr int kSkippedStatus = 77;

// Ends a scenario that this machine cannot run, saying why. Called before it starts anything.
[[noreturn]] void SkipScenario(const char* why);
