// The manager's main window: the configuration dialog, hidden except while the user configures.
// It is the window that every hooked process reports to, it owns the tray icon and it keeps
// the library's hook installed for its lifetime.
#pragma once

#include <windows.h>

#include "manager/companion_win.h"
#include "manager/config_pages_win.h"
#include "manager/open_dialogs.h"
#include "manager/tray_icon_win.h"

#include "hook/core/settings.h"
#include "hook/core/shared_state.h"
#include "hook/core/trained_entry.h"
#include "hook/lists/list_files_win.h"

namespace vn {

// How a second start finds the running copy: the mutex tells that one runs, the title finds its
// window (a dialog, class "#32770").
constexpr const char* kMutexName = "VantorMutex";
constexpr const char* kMainWindowTitle = "Vantor    by Orvelle Software";

class MainWindow {
  public:
    // Loads the icons and reads the two registry folders. Returns false when the folders are
    // missing; the current directory then stands in for them and the caller warns the user.
    bool Construct(HINSTANCE instance);

    // Creates the dialog, hidden, with its title. Null when it cannot be created.
    HWND Create();

    // Keys the configuration handles before the dialog's own navigation (Ctrl+Tab).
    bool PreTranslate(const MSG& msg) { return sheet_.OnKey(msg); }

  private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    INT_PTR OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Result(LONG_PTR value);
    void OnInitDialog();
    void OnCommand(UINT id);
    void OnTrayCallback(UINT mouseMessage);
    void OnDestroy();
    HBRUSH OnLinkColor(HDC dc, HWND link);

    void ShowConfiguration(bool closeAllowed);
    void HideConfiguration();
    void ShowTrainedEntry(int index, bool reload);
    // True when the pages were valid and everything was saved.
    bool Apply();
    void Cancel();
    void Quit();
    void CloseButton();

    HookSwitches Switches() const;
    void SetCommon(bool on);
    void SetTrained(bool on);
    void ToggleIcon();
    void UpdateTrayIcon();
    void ShowTrayMenu();

    // Reads every setting; true when they were imported from the older product's file.
    bool ReadSettings();
    // Takes the exclusion lists the library changed into the manager's copy.
    void ReadExcludeListsFromFile();
    // False when the settings file could not be written.
    bool WriteAllSettings();
    // Takes the entries re-enabled on the pages out of the file; false when it was busy.
    bool RemoveReEnabledExcludes();
    void AddImportedExcludes(bool imported);
    void LoadTrainedDatabase();
    void EnableApply(bool enable);
    // Looks after the 32-bit companion and shows in the configuration window when 32-bit
    // applications go without.
    void LookAtCompanion();

    HINSTANCE instance_ = nullptr;
    HWND hwnd_ = nullptr;
    UINT taskbarCreated_ = 0;

    uint32_t settingsSerial_ = 0;
    bool configShown_ = false;
    bool closeAllowed_ = true;
    bool askingToQuit_ = false;
    bool pagesChanged_ = false; // some page of the configuration has a change not applied yet
    OpenDialogList openDialogs_;
    // Recordings of dialogs that closed while the lists were busy, written as they free.
    RecordingWriter recordings_;

    char programFolder_[kPathSize] = "";
    char dataFolder_[kPathSize] = "";
    char iniPath_[kPathSize] = "";
    char trainedDbFile_[kPathSize] = "";

    // What the configuration pages hold: every setting, and the trained database.
    ManagerSettings settings_ = {};
    ConfigSheet sheet_;
    TrainedEntry trained_[kTrainedSlots] = {};
    int trainedCount_ = 0;

    Companion companion_;

    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    TrayIcon tray_;
    HFONT linkFont_ = nullptr;
};

} // namespace vn
