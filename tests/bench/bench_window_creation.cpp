// Window creations per second with no hook, with a global CBT hook that does nothing, and with
// vnhook's hook, measured in one run so that the ratios compare like with like. The windows are
// controls and plain popups, the windows that are not dialogs and that every application creates
// in numbers; their cost is what the hook adds to every program on the desktop.
//
//   bench_window_creation [windows per round] [rounds]
#include <windows.h>

#include "hook/takeover/vnhook_api.h"
#include "tests/bench/bench_support.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using vnbench::Median;
using vnbench::Now;

// Creates and destroys n windows (three controls for every popup) and returns creations/second.
double Round(HWND parent, int n) {
    double start = Now();
    for (int i = 0; i < n; ++i) {
        HWND w;
        if (i % 4 == 3)
            w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, parent, nullptr, nullptr,
                                nullptr);
        else
            w = CreateWindowExA(0, i % 2 ? "BUTTON" : "STATIC", "x", WS_CHILD, 0, 0, 10, 10, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i % 7)), nullptr,
                                nullptr);
        DestroyWindow(w);
    }
    return n / (Now() - start);
}

} // namespace

int main(int argc, char** argv) {
    int n = argc > 1 ? atoi(argv[1]) : 600;
    int rounds = argc > 2 ? atoi(argv[2]) : 5;
    HWND parent = CreateWindowExA(0, "STATIC", "bench", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    HMODULE noopLib = LoadLibraryA("vnnoophook.dll");
    auto noopProc = noopLib ? reinterpret_cast<HOOKPROC>(
                                  reinterpret_cast<void*>(GetProcAddress(noopLib, "NoopCbtProc")))
                            : nullptr;
    if (!parent || !noopProc) {
        printf("cannot set the benchmark up\n");
        return 1;
    }
    Round(parent, n / 4); // warm up the classes and caches

    // The three configurations take turns, so that drift of the machine hits all of them.
    std::vector<double> none, noop, vn;
    for (int r = 0; r < rounds; ++r) {
        none.push_back(Round(parent, n));
        HHOOK hook = SetWindowsHookExA(WH_CBT, noopProc, noopLib, 0);
        noop.push_back(Round(parent, n));
        UnhookWindowsHookEx(hook);
        InstallCBTFilter32();
        vn.push_back(Round(parent, n));
        RemoveCBTFilter32();
    }
    double a = Median(none), b = Median(noop), c = Median(vn);
    printf("window creations per second (median of %d rounds of %d):\n", rounds, n);
    printf("  no hook         %10.0f\n", a);
    printf("  no-op CBT hook  %10.0f  (%.3f of no hook)\n", b, b / a);
    printf("  vnhook          %10.0f  (%.3f of no hook)\n", c, c / a);
    printf("vnhook costs %.1f %% more time per window than the no-op hook\n", (b / c - 1) * 100);
    DestroyWindow(parent);
    return 0;
}
