#include "hook/core/ui_win.h"

#include "hook/core/help_pages.h"
#include "hook/core/process_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/sizes.h"
#include "hook/core/text.h"

namespace vn {

namespace {

constexpr int kMessageSize = 256;

// Stand in for the text and caption of a message box whose id the table lacks.
constexpr const char* kBadTextId = "LoadStringMessageBox -- bad ID for Text";
constexpr const char* kBadCaptionId = "LoadString -- bad ID for Title";

} // namespace

bool LoadModuleString(HINSTANCE module, UINT id, char* buf, int size) {
    if (!buf || size <= 0)
        return false;
    buf[0] = 0;
    return LoadStringA(module, id, buf, size) > 0;
}

int StringTableMessageBox(HINSTANCE module, HWND owner, UINT textId, UINT titleId, UINT flags,
                          const char* insert, const unsigned* number) {
    char format[kMessageSize], text[kMessageSize + kPathSize + 16], title[kMessageSize];
    if (!LoadModuleString(module, textId, format, sizeof format))
        CopyText(format, sizeof format, kBadTextId);
    if (!LoadModuleString(module, titleId, title, sizeof title))
        CopyText(title, sizeof title, kBadCaptionId);
    FillMessage(text, sizeof text, format, number, insert);
    return MessageBoxA(owner, text, title, flags);
}

bool LoadLibraryString(UINT id, char* buf, int size) {
    return LoadModuleString(g_process.moduleInstance, id, buf, size);
}

bool LibraryCaptions::Caption(int captionId, char* buf, size_t size) {
    if (!buf || size == 0 || captionId <= 0)
        return false;
    int room = size > 0x7FFF ? 0x7FFF : static_cast<int>(size);
    return LoadLibraryString(static_cast<UINT>(captionId), buf, room);
}

int MessageBoxFromIdsWithPath(HWND owner, UINT textId, UINT titleId, UINT flags, const char* path) {
    return StringTableMessageBox(g_process.moduleInstance, owner, textId, titleId, flags, path,
                                 nullptr);
}

int MessageBoxFromIds(HWND owner, UINT textId, UINT titleId, UINT flags) {
    return MessageBoxFromIdsWithPath(owner, textId, titleId, flags, nullptr);
}

void* ShellFunction(const char* name) {
    HMODULE shell = GetModuleHandleA("shell32.dll");
    if (!shell)
        shell = LoadLibraryA("shell32.dll");
    return shell ? reinterpret_cast<void*>(GetProcAddress(shell, name)) : nullptr;
}

bool OpenHelpPage(HWND owner, const char* programFolder, unsigned context) {
    char page[kMaxPath + 1];
    if (!programFolder || !programFolder[0] ||
        !HelpPagePath(programFolder, context, page, sizeof page))
        return false;
    DWORD attributes = GetFileAttributesA(page);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    using OpenFn = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    auto open = reinterpret_cast<OpenFn>(ShellFunction("ShellExecuteA"));
    // ShellExecute reports success with a value above 32.
    return open && reinterpret_cast<INT_PTR>(
                       open(owner, "open", page, nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

void ShowLibraryHelp(HWND owner, unsigned context) {
    const SharedState* s = Shared();
    char folder[kPathSize] = "";
    if (s)
        CopyField(folder, sizeof folder, s->programFolder, sizeof s->programFolder);
    if (!OpenHelpPage(owner, folder, context))
        MessageBeep(MB_ICONASTERISK);
}

bool HelpKeyAsButton(HWND box, UINT msg) {
    if (msg != WM_HELP)
        return false;
    HWND button = GetDlgItem(box, IDHELP);
    if (button && IsWindowEnabled(button))
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDHELP, BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    return true;
}

} // namespace vn
