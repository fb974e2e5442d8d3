#include "hook/trained/replacement_win.h"

#include <cderr.h>
#include <commdlg.h>

#include "hook/core/process_win.h"
#include "hook/core/settings.h"
#include "hook/core/settings_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/resources/resource.h"

#include <cstring>

namespace vn {

namespace {

bool Exists(const char* path) {
    return path[0] && GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// The application's name as a long name: as it stands, in the current folder, or in the
// application's last folder; unchanged when none of them names an existing file.
void Lengthen(const char* text, const char* recentFolder, char* out, size_t size) {
    CopyText(out, size, text);
    char candidates[3][kMaxPath + 1] = {};
    CopyText(candidates[0], sizeof candidates[0], text);
    char cwd[kMaxPath + 1] = "";
    GetCurrentDirectoryA(sizeof cwd, cwd);
    JoinPath(candidates[1], sizeof candidates[1], cwd, text);
    if (recentFolder)
        JoinPath(candidates[2], sizeof candidates[2], recentFolder, text);
    for (const auto& candidate : candidates) {
        char longName[kMaxPath + 1];
        DWORD n = Exists(candidate) ? GetLongPathNameA(candidate, longName, sizeof longName) : 0;
        if (n > 0 && n < sizeof longName) {
            CopyText(out, size, longName);
            return;
        }
    }
}

// The folder the application's dialog shows, when it is built on the common-dialog library and
// says; only an existing folder counts.
bool ApplicationFolder(HWND dialog, char* out, size_t size) {
    constexpr UINT kCdmGetFolderPath = WM_USER + 102;
    char reply[540] = "";
    DWORD_PTR got = 0;
    out[0] = 0;
    if (!dialog ||
        !SendMessageTimeoutA(dialog, kCdmGetFolderPath, 270, reinterpret_cast<LPARAM>(reply),
                             SMTO_ABORTIFHUNG, 1000, &got) ||
        static_cast<LONG_PTR>(got) <= 0)
        return false;
    reply[sizeof reply - 2] = reply[sizeof reply - 1] = 0;
    if (g_process.isNT && got >= 2 && reply[1] == 0)
        WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(reply), -1, out,
                            static_cast<int>(size), nullptr, nullptr);
    else
        CopyText(out, size < kMaxPath ? size : kMaxPath, reply);
    out[size - 1] = 0;
    DWORD attributes = GetFileAttributesA(out);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The standard dialog's call, once.
BOOL CallDialog(const KindChoice& kind, OPENFILENAMEA& ofn) {
    return kind.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
}

INT_PTR CALLBACK UsageNoteProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) {
        CheckDlgButton(dlg, IDC_USAGE_NOTE_OFF, BST_UNCHECKED);
        return TRUE;
    }
    if (msg != WM_COMMAND || (wParam != IDOK && wParam != IDCANCEL))
        return FALSE;
    bool off = IsDlgButtonChecked(dlg, IDC_USAGE_NOTE_OFF) == BST_CHECKED;
    if (SharedState* s = Shared()) {
        s->showUsageNote = off ? 0 : 1;
        if (off)
            SettingsFile(*s).WriteString(kSettingsSection, kKeyShowUsageNote, "0");
    }
    EndDialog(dlg, static_cast<INT_PTR>(wParam));
    return TRUE;
}

} // namespace

bool OpenStandardDialog(const TrainedEntry& entry, const StandardDialogInputs& in, char* out,
                        size_t size) {
    SharedState* s = Shared();
    if (!s || size < 2)
        return false;
    char filter[kFilterSize];
    char allFiles[kFileTypeSize] = "All Files (*.*)|*.*";
    LoadLibraryString(IDS_ALL_FILES_TYPE, allFiles, sizeof allFiles);
    char folderTitle[kTitleSize] = "Select Folder", folderHint[kTitleSize] = "";
    LoadLibraryString(IDS_SELECT_FOLDER_TITLE, folderTitle, sizeof folderTitle);
    LoadLibraryString(IDS_SELECT_FOLDER_HINT, folderHint, sizeof folderHint);
    const KindChoice kind = ChooseKind(entry, folderTitle);
    const bool folder = entry.dialogKind == kTrainedFolder;

    char text[kMaxPath + 1];
    if (entry.longNames)
        CopyText(text, sizeof text, in.nameBoxText);
    else
        Lengthen(in.nameBoxText ? in.nameBoxText : "", in.recentFolder, text, sizeof text);
    InitialName(entry, text, folderHint, out, size);
    char defaultExt[sizeof entry.defaultExt];
    CopyField(defaultExt, sizeof defaultExt, entry.defaultExt, sizeof entry.defaultExt);
    if (folder) {
        memcpy(filter, "*.*\0*.*\0", 9);
        defaultExt[0] = 0;
        g_process.selectFolderPending = 1;
    } else {
        BuildFilter(entry, allFiles, filter, sizeof filter);
    }

    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = in.owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = out;
    ofn.nMaxFile = static_cast<DWORD>(size);
    char initialFolder[kMaxPath + 1];
    if (ApplicationFolder(in.trainedDialog, initialFolder, sizeof initialFolder))
        ofn.lpstrInitialDir = initialFolder;
    ofn.lpstrTitle = kind.title;
    ofn.Flags = kind.flags;
    ofn.lpstrDefExt = defaultExt[0] ? defaultExt : nullptr;

    InterlockedExchange(reinterpret_cast<volatile LONG*>(&s->replacementOwner),
                        static_cast<LONG>(FromHandle(in.owner)));
    g_process.denyLastFolder = in.allowLastFolder ? 0 : 1;
    BOOL chosen = CallDialog(kind, ofn);
    if (!chosen && !folder && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        // The name taken from the application is one the standard dialog cannot start with.
        if (entry.addButton && !CompareNoCase(out, text, size)) {
            out[0] = 0;
            chosen = CallDialog(kind, ofn);
        } else {
            MessageBoxFromIds(in.owner, IDS_INVALID_NAME, IDS_ERROR_TITLE, MB_OK);
        }
    }
    g_process.denyLastFolder = 0;
    g_process.selectFolderPending = 0;
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&s->replacementOwner), 0);
    if (!chosen)
        return false;
    FinishChosenName(entry, out, size);
    return true;
}

void ReadNameBox(HWND nameParent, int id, char* out, size_t size) {
    out[0] = 0;
    HWND box = id && nameParent ? GetDlgItem(nameParent, id) : nullptr;
    if (!box || size < 2)
        return;
    char text[kMaxPath + 1] = "";
    GetWindowTextA(box, text, sizeof text);
    size_t n = strlen(text);
    if (text[0] == '"' && n >= 2) {
        text[n - 1] = 0;
        CopyText(out, size, text + 1);
    } else {
        CopyText(out, size, text);
    }
}

void WriteNameIntoApplication(HWND nameParent, int id, const TrainedEntry& entry,
                              const char* name) {
    HWND box = id && nameParent ? GetDlgItem(nameParent, id) : nullptr;
    if (!box)
        return;
    char text[kMaxPath + 1];
    CopyText(text, sizeof text, name);
    if (!entry.longNames) {
        // The short form exists only for an existing file: a new file of a Save dialog is made
        // for the moment it takes to ask.
        HANDLE made = INVALID_HANDLE_VALUE;
        if (entry.dialogKind == kTrainedSave && !Exists(text))
            made = CreateFileA(text, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        char shortName[kMaxPath + 1];
        DWORD n = Exists(text) ? GetShortPathNameA(text, shortName, sizeof shortName) : 0;
        if (made != INVALID_HANDLE_VALUE) {
            CloseHandle(made);
            DeleteFileA(text);
        }
        if (n > 0 && n < sizeof shortName)
            CopyText(text, sizeof text, shortName);
    }
    SetFocus(box);
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    SendMessageA(box, EM_SETMODIFY, TRUE, 0);
    LPARAM handle = reinterpret_cast<LPARAM>(box);
    SendMessageA(nameParent, WM_COMMAND, MAKEWPARAM(id, EN_UPDATE), handle);
    SendMessageA(nameParent, WM_COMMAND, MAKEWPARAM(id, EN_CHANGE), handle);
}

void ShowUsageNote(HWND owner) {
    DialogBoxParamA(g_process.moduleInstance, "VantorWordHelp", owner, UsageNoteProc, 0);
}

} // namespace vn
