// A global CBT hook procedure that only calls the next hook: what any hook costs at least.
#include <windows.h>

extern "C" __declspec(dllexport) LRESULT CALLBACK
    NoopCbtProc(int code, WPARAM wParam, LPARAM lParam) {
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
