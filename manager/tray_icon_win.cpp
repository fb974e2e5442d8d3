#include "manager/tray_icon_win.h"

#include "manager/resource.h"
#include "manager/ui_win.h"

#include "hook/core/text.h"

#include <shellapi.h>

namespace vn {

namespace {

HICON LoadTrayIcon(HINSTANCE instance, int id) {
    return static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON,
                                         GetSystemMetrics(SM_CXSMICON),
                                         GetSystemMetrics(SM_CYSMICON), 0));
}

void FreeIcon(HICON& icon) {
    if (icon)
        DestroyIcon(icon);
    icon = nullptr;
}

} // namespace

void TrayIcon::Load(HINSTANCE instance) {
    Free();
    enabled_ = LoadTrayIcon(instance, IDI_TRAY_ENABLED);
    disabled_ = LoadTrayIcon(instance, IDI_TRAY_DISABLED);
    commonOff_ = LoadTrayIcon(instance, IDI_TRAY_COMMON_OFF);
    trainedOff_ = LoadTrayIcon(instance, IDI_TRAY_TRAINED_OFF);
}

void TrayIcon::Free() {
    FreeIcon(enabled_);
    FreeIcon(disabled_);
    FreeIcon(commonOff_);
    FreeIcon(trainedOff_);
}

HICON TrayIcon::IconFor(int id) const {
    switch (id) {
    case IDI_TRAY_DISABLED:
        return disabled_;
    case IDI_TRAY_COMMON_OFF:
        return commonOff_;
    case IDI_TRAY_TRAINED_OFF:
        return trainedOff_;
    default:
        return enabled_;
    }
}

bool TrayIcon::Notify(DWORD action, HWND window, HookSwitches switches) {
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = kTrayIconId;
    if (action != NIM_DELETE) {
        TrayLook look = TrayLookFor(switches);
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.uCallbackMessage = kTrayCallbackMessage;
        data.hIcon = IconFor(look.iconId);
        // Tips are kept to 63 characters, what every version of the notification area shows.
        char tip[64];
        LoadManagerString(static_cast<UINT>(look.tipId), "Vantor", tip, sizeof tip);
        CopyText(data.szTip, sizeof data.szTip, tip);
    }
    return Shell_NotifyIconA(action, &data) != FALSE;
}

bool TrayIcon::Add(HWND window, HookSwitches switches) {
    return Notify(NIM_ADD, window, switches);
}

bool TrayIcon::Modify(HWND window, HookSwitches switches) {
    return Notify(NIM_MODIFY, window, switches);
}

bool TrayIcon::Delete(HWND window) {
    return Notify(NIM_DELETE, window, {});
}

} // namespace vn
