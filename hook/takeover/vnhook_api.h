// The functions that vnhook exports: the control functions the manager calls, and the hook
// procedure the system calls in every process of the desktop. Each returns at once; none blocks
// on another process.
#pragma once

#include <windows.h>

#ifdef VNHOOK_BUILDING
#define VNHOOK_API extern "C"
#else
#define VNHOOK_API extern "C" __declspec(dllimport)
#endif

// The manager's start: remembers its window (the library reports to it), builds the file paths
// from the registry folders, installs the CBT hook and loads the trained database. Returns the
// number of trained entries loaded.
VNHOOK_API int WINAPI SetupHookDLL(HWND managerWindow);
// The manager's end: forgets its window and removes the hook. Nonzero when a hook was removed.
VNHOOK_API int WINAPI CleanUpHookDLL(void);
// Installs the global CBT hook unless one is installed. Nonzero when a hook is in place.
VNHOOK_API int WINAPI InstallCBTFilter32(void);
// Removes the CBT hook. Nonzero when there was one.
VNHOOK_API int WINAPI RemoveCBTFilter32(void);
// Loads the trained database file into the shared state again (after the editor saved it).
// Returns the number of entries.
VNHOOK_API int WINAPI ReReadTrainedDatabase(void);
// Switches the extension of standard file dialogs; returns the previous state.
VNHOOK_API BOOL WINAPI CommonEnabled(BOOL enable);
// Whether standard file dialogs are extended.
VNHOOK_API BOOL WINAPI IsCommonEnabled(void);
// Switches the handling of trained dialogs; returns the previous state.
VNHOOK_API BOOL WINAPI NotSoCommonEnabled(BOOL enable);
// Whether trained dialogs are handled.
VNHOOK_API BOOL WINAPI IsNotSoCommonEnabled(void);
// Starts training: forgets the recently created windows, so that the dialog to be trained is
// one opened from now on.
VNHOOK_API int WINAPI NotSoCommonManualSelect(void);
// The mouse hook procedure, installed only while training awaits a click: a left click that
// chooses the dialog to train, or points at one of its controls, is taken and not delivered.
VNHOOK_API LRESULT CALLBACK MouseFunc(int code, WPARAM wParam, LPARAM lParam);
// How many window creations the hook has seen on the desktop (a measure for tests).
VNHOOK_API DWORD WINAPI GetHookCount(void);
// The CBT hook procedure: classifies every window created and takes standard file dialogs over.
// It never vetoes a creation.
VNHOOK_API LRESULT CALLBACK CbtFunc32(int code, WPARAM wParam, LPARAM lParam);
