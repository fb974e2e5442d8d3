#include "manager/ui_win.h"

#include "manager/help_topics.h"
#include "manager/resource.h"

#include "hook/core/sizes.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"

#include <shellapi.h>

namespace vn {

namespace {

constexpr const char* kWebSite = "https://www.orvelle-software.example/vantor/";
constexpr const char* kFeedbackMail =
    "mailto:vantor-feedback@orvelle-software.example?subject=Vantor%20Feedback";

} // namespace

void LoadManagerString(UINT id, const char* fallback, char* buf, int size) {
    if (buf && size > 0 && !LoadModuleString(GetModuleHandleA(nullptr), id, buf, size))
        CopyText(buf, static_cast<size_t>(size), fallback);
}

int StringMessageBox(HWND owner, UINT textId, UINT captionId, UINT flags) {
    return StringTableMessageBox(GetModuleHandleA(nullptr), owner, textId, captionId,
                                 flags | MB_SETFOREGROUND, nullptr, nullptr);
}

int FormattedMessageBox(HWND owner, UINT textId, unsigned number, const char* text, UINT flags) {
    return StringTableMessageBox(GetModuleHandleA(nullptr), owner, textId, IDS_PRODUCT,
                                 flags | MB_SETFOREGROUND, text ? text : "", &number);
}

void ShowHelp(HWND owner, const char* programFolder, unsigned context) {
    if (OpenHelpPage(owner, programFolder, context))
        return;
    char folder[kMaxPath * 2];
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
