// Small Win32 helpers of the manager: texts from the string table, message boxes, help, and the
// shell links.
#pragma once

#include <windows.h>

namespace vn {

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
