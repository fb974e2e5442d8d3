// Small Win32 helpers of the manager: texts from the string table, message boxes, help, and the
// shell links.
#pragma once

#include <windows.h>

namespace vn {

// The object behind a dialog created with it as the creation parameter: taken from
// WM_INITDIALOG's lParam and kept in DWLP_USER; null before WM_INITDIALOG.
template <class T>
T* DialogObject(HWND hwnd, UINT msg, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(hwnd, DWLP_USER, lParam);
        return reinterpret_cast<T*>(lParam);
    }
    return reinterpret_cast<T*>(GetWindowLongPtrA(hwnd, DWLP_USER));
}

// The text of string id, or fallback when the table lacks it.
void LoadManagerString(UINT id, const char* fallback, char* buf, int size);

// A message box whose text and caption come from the string table (256 characters each).
int StringMessageBox(HWND owner, UINT textId, UINT captionId, UINT flags);

// As StringMessageBox, with the text used as a printf format for one number and one string.
int FormattedMessageBox(HWND owner, UINT textId, unsigned number, const char* text, UINT flags);

// Shows the help page of a context number (help_topics.h), or says that it is not installed.
void ShowHelp(HWND owner, const char* programFolder, unsigned context);

// The product web site and the feedback mail, opened with the shell.
void OpenWebSite(HWND owner);
void OpenFeedbackMail(HWND owner);

} // namespace vn
