#include "process_win.h"

#include "settings.h"
#include "shared_state_win.h"
#include "text.h"

namespace vn {

ProcessState g_process;

namespace {
volatile LONG g_closeDelay = -1;
}

void EnsureProcessReady() {
    if (g_process.processReady)
        return;
    g_process.listSelChangeMessage = RegisterWindowMessageA("commdlg_LBSelChangedNotify");
    InterlockedExchange(&g_process.processReady, 1);
}

UINT CloseDelay() {
    LONG delay = g_closeDelay;
    if (delay >= 0)
        return static_cast<UINT>(delay);
    const SharedState* s = Shared();
    char ini[kPathSize] = "";
    if (s)
        CopyField(ini, sizeof ini, s->iniFilePath, sizeof s->iniFilePath);
    delay = static_cast<LONG>(
        GetPrivateProfileIntA(kSettingsSection, kKeyCloseDelay, kDefaultCloseDelay, ini));
    if (delay < 0)
        delay = kDefaultCloseDelay;
    InterlockedExchange(&g_closeDelay, delay);
    return static_cast<UINT>(delay);
}

} // namespace vn
