#include "hook/core/manager_link_win.h"

#include "hook/core/settings_win.h"
#include "hook/core/text.h"

namespace vn {

bool SendToManager(const SharedState& s, unsigned msg, WPARAM wParam, LPARAM lParam,
                   DWORD_PTR* result) {
    HWND manager = ToHwnd(s.managerWindow);
    DWORD_PTR answer = 0;
    if (!manager || !IsWindow(manager))
        return false;
    if (!SendMessageTimeoutA(manager, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                             kManagerTimeoutMs, &answer))
        return false;
    if (result)
        *result = answer;
    return true;
}

void PostToManager(const SharedState& s, unsigned msg, WPARAM wParam, LPARAM lParam) {
    HWND manager = ToHwnd(s.managerWindow);
    if (manager)
        PostMessageA(manager, msg, wParam, lParam);
}

bool ManagerSerialQuery::QuerySerial(const char* moduleName, uint32_t* serial) {
    DWORD_PTR answer = 0;
    if (!SendToManager(s_, MSG_SETTINGS_SERIAL, reinterpret_cast<WPARAM>(moduleName), 0, &answer))
        return false;
    *serial = static_cast<uint32_t>(answer);
    return true;
}

void ReadHookSettings(SharedState& s, const char* moduleName) {
    ProfileIniFile file = SettingsFile(s);
    ManagerSerialQuery serial(s);
    ReadLibrarySettings(s, file, s.managerWindow ? &serial : nullptr, moduleName);
}

} // namespace vn
