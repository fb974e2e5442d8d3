// The functions that vnhook exports for the manager (and for the system: the hook procedure).
#pragma once

#include <windows.h>

#ifdef VNHOOK_BUILDING
#define VNHOOK_API extern "C"
#else
#define VNHOOK_API extern "C" __declspec(dllimport)
#endif

VNHOOK_API int WINAPI SetupHookDLL(HWND managerWindow);
VNHOOK_API int WINAPI CleanUpHookDLL(void);
VNHOOK_API int WINAPI InstallCBTFilter32(void);
VNHOOK_API int WINAPI RemoveCBTFilter32(void);
VNHOOK_API int WINAPI ReReadTrainedDatabase(void);
VNHOOK_API BOOL WINAPI CommonEnabled(BOOL enable);
VNHOOK_API BOOL WINAPI IsCommonEnabled(void);
VNHOOK_API BOOL WINAPI NotSoCommonEnabled(BOOL enable);
VNHOOK_API BOOL WINAPI IsNotSoCommonEnabled(void);
VNHOOK_API int WINAPI NotSoCommonManualSelect(void);
VNHOOK_API DWORD WINAPI GetHookCount(void);
VNHOOK_API LRESULT CALLBACK CbtFunc32(int code, WPARAM wParam, LPARAM lParam);
