#include "ui_win.h"

#include "help_topics.h"
#include "resource.h"

#include "hook/core/text.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>

namespace vn {

namespace {

constexpr const char* kWebSite = "https://www.orvelle-software.example/vantor/";
constexpr const char* kFeedbackMail =
    "mailto:vantor-feedback@orvelle-software.example?subject=Vantor%20Feedback";

constexpr int kMessageSize = 256;

// Stands in for the caption and text of a message box whose id the table lacks.
constexpr const char* kBadTextId = "LoadStringMessageBox -- bad ID for Text";
constexpr const char* kBadCaptionId = "LoadString -- bad ID for Title";

} // namespace

void LoadManagerString(UINT id, const char* fallback, char* buf, int size) {
    if (!buf || size <= 0)
        return;
    if (LoadStringA(GetModuleHandleA(nullptr), id, buf, size) <= 0)
        CopyText(buf, static_cast<size_t>(size), fallback);
}

int StringMessageBox(HWND owner, UINT textId, UINT captionId, UINT flags) {
    char text[kMessageSize], caption[kMessageSize];
    LoadManagerString(textId, kBadTextId, text, sizeof text);
    LoadManagerString(captionId, kBadCaptionId, caption, sizeof caption);
    return MessageBoxA(owner, text, caption, flags | MB_SETFOREGROUND);
}

int FormattedMessageBox(HWND owner, UINT textId, unsigned number, const char* text, UINT flags) {
    char format[kMessageSize], caption[kMessageSize];
    char message[kMessageSize + MAX_PATH + 16];
    LoadManagerString(textId, kBadTextId, format, sizeof format);
    LoadManagerString(IDS_PRODUCT, kBadCaptionId, caption, sizeof caption);
    // The format has at most one %u and one %s; the table is ours, but a missing text must not
    // be used as a format.
    if (strcmp(format, kBadTextId) == 0)
        CopyText(message, sizeof message, format);
    else if (strstr(format, "%u"))
        snprintf(message, sizeof message, format, number, text ? text : "");
    else
        snprintf(message, sizeof message, format, text ? text : "");
    return MessageBoxA(owner, message, caption, flags | MB_SETFOREGROUND);
}

void ShowHelp(HWND owner, const char* programFolder, unsigned context) {
    char page[MAX_PATH + 1];
    if (HelpPagePath(programFolder, context, page, sizeof page)) {
        DWORD attributes = GetFileAttributesA(page);
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ShellExecuteA(owner, "open", page, nullptr, nullptr, SW_SHOWNORMAL);
            return;
        }
    }
    char folder[MAX_PATH * 2];
    JoinPath(folder, sizeof folder, programFolder, kHelpFolderName);
    FormattedMessageBox(owner, IDS_HELP_MISSING, context, folder, MB_OK | MB_ICONINFORMATION);
}

void OpenWebSite(HWND owner) {
    ShellExecuteA(owner, "open", kWebSite, nullptr, nullptr, SW_SHOWNORMAL);
}

void OpenFeedbackMail(HWND owner) {
    ShellExecuteA(owner, "open", kFeedbackMail, nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace vn
