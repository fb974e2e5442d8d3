#include "tests/wine/wine_check.h"

#include <cstdlib>

int g_checks = 0;
int g_failures = 0;

int CheckSummary(const char* what) {
    printf("%s: %d checks, %d failed\n", what, g_checks, g_failures);
    fflush(stdout);
    return g_failures ? 1 : (g_checks ? 0 : 1);
}

void SkipScenario(const char* why) {
    printf("SKIPPED: %s\n", why);
    fflush(stdout);
    exit(kSkippedStatus);
}
