// The manager's one icon in the notification area: its four looks (tray_rules.h) and the calls
// that add, change and remove it.
#pragma once

#include <windows.h>

#include "manager/tray_rules.h"

namespace vn {

class TrayIcon {
  public:
    // Loads the four icons at the size of the notification area.
    void Load(HINSTANCE instance);
    void Free();

    // The icon with the look of the switches, reporting mouse actions to window.
    bool Add(HWND window, HookSwitches switches);
    bool Modify(HWND window, HookSwitches switches);
    bool Delete(HWND window);

  private:
    bool Notify(DWORD action, HWND window, HookSwitches switches);
    HICON IconFor(int id) const;

    HICON enabled_ = nullptr;
    HICON disabled_ = nullptr;
    HICON commonOff_ = nullptr;
    HICON trainedOff_ = nullptr;
};

} // namespace vn
