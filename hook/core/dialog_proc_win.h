// The window procedure that takes a standard file dialog over, and the per-process table of the
// dialogs it serves.
#pragma once

#include <windows.h>

#include "dialog_record.h"
#include "dialog_setup.h"

extern "C" LRESULT CALLBACK KsOpenProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);

namespace vn {

constexpr UINT MSG_RELAYOUT = WM_USER + 2701;          // 3725
constexpr UINT MSG_REFRESH_INFO_LINE = WM_USER + 2784; // 3808

extern DialogTable g_dialogs;
// The record of the dialog whose message is being handled; -1 outside KsOpenProc.
extern int g_currentRecord;

// Takes a dialog over: opens its record, replaces its procedure and tells the manager. Returns
// whether the dialog is now served by KsOpenProc.
bool TakeOverDialog(HWND dialog, const char* module, const char* title, const ExcludeFlags& flags,
                    bool training);

} // namespace vn
