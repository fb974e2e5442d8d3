// The mouse hook procedure of training. It runs in whatever process the user clicks, and only
// while training awaits a click.
#define VNHOOK_BUILDING
#include "hook/takeover/vnhook_api.h"

#include "hook/core/shared_state_win.h"
#include "hook/takeover/library_hold_win.h"
#include "hook/trained/training_win.h"

using namespace vn;

LRESULT CALLBACK MouseFunc(int code, WPARAM wParam, LPARAM lParam) {
    ActiveCall active;
    SharedState* s = Shared();
    if (code >= 0 && wParam == WM_LBUTTONDOWN && s && (s->trainingSelecting || s->trainingActive)) {
        const auto* mouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (mouse && TrainingClick(mouse->hwnd, mouse->pt))
            return 1;
    }
    return CallNextHookEx(s ? ToHook(s->mouseHook) : nullptr, code, wParam, lParam);
}
