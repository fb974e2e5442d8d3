#include "hook/core/ui_win.h"

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

void ShowLibraryHelp(HWND owner, UINT command, ULONG_PTR data) {
    const SharedState* s = Shared();
    char help[kPathSize] = "";
    if (s)
        CopyField(help, sizeof help, s->helpFilePath, sizeof s->helpFilePath);
    if (help[0] && (command == HELP_QUIT || GetFileAttributesA(help) != INVALID_FILE_ATTRIBUTES))
        WinHelpA(owner, help, command, data);
}

} // namespace vn
