#include "hook/trained/training_win.h"

#include "hook/core/manager_link_win.h"
#include "hook/core/messages.h"
#include "hook/core/process_win.h"
#include "hook/core/shared_state_win.h"
#include "hook/core/text.h"
#include "hook/core/ui_win.h"
#include "hook/resources/resource.h"
#include "hook/trained/trained_db_win.h"
#include "hook/trained/trained_rules.h"
#include "hook/trained/training_rules.h"

#include <cstring>

namespace vn {

namespace {

constexpr char kSelectionClass[] = "HookManWin";
constexpr char kTrainingClass[] = "TrainHookWin";
constexpr int kTextId = 100;
constexpr int kSkipId = 100; // a button; the text field is a static of the same id
constexpr int kHelpId = 9;
constexpr int kMaxListItems = 50;

// Help pages of the training steps.
constexpr unsigned kHelpBeforeOk = 256, kHelpAfterOk = 257, kHelpKind = 513, kHelpKnown = 514,
                   kHelpAction = 515;

// Per process (the one that trains): the mouse hook procedure, the windows' fonts and layout,
// and the entry found by the already-known test.
HOOKPROC g_mouseProc;
struct Layout {
    HFONT font;
    int charWidth, lineHeight, width;
};
Layout g_selection, g_training;
HWND g_trainingText, g_selectionText;
HWND g_answers[5]; // the training window's answer, OK, Help and Skip buttons
int g_knownIndex = -1;

HWND H(Handle32 h) {
    return ToHwnd(h);
}

// --- the mouse hook and the clicks ----------------------------------------------------------

bool InstallMouseHook(SharedState& s) {
    if (!s.pathsReady || !g_mouseProc)
        return false;
    if (!s.mouseHook) {
        HHOOK hook = SetWindowsHookExA(WH_MOUSE, g_mouseProc, g_process.moduleInstance, 0);
        InterlockedExchange(reinterpret_cast<volatile LONG*>(&s.mouseHook),
                            static_cast<LONG>(FromHandle(hook)));
    }
    return true;
}

void RemoveMouseHook(SharedState& s) {
    Handle32 hook = static_cast<Handle32>(
        InterlockedExchange(reinterpret_cast<volatile LONG*>(&s.mouseHook), 0));
    if (hook)
        UnhookWindowsHookEx(ToHook(hook));
}

class Win32TrainingHost final : public TrainingHost {
  public:
    Handle32 ParentOf(Handle32 w) override { return FromHandle(GetParent(H(w))); }
    bool IsChildOf(Handle32 w, Handle32 ancestor) override {
        return ancestor && IsChild(H(ancestor), H(w));
    }
    uint32_t Style(Handle32 w) override {
        return static_cast<uint32_t>(GetWindowLongA(H(w), GWL_STYLE));
    }
    uint32_t ExStyle(Handle32 w) override {
        return static_cast<uint32_t>(GetWindowLongA(H(w), GWL_EXSTYLE));
    }
    void ClassName(Handle32 w, char* buf, size_t size) override {
        buf[0] = 0;
        GetClassNameA(H(w), buf, static_cast<int>(size));
    }
    uint32_t ControlId(Handle32 w) override { return static_cast<uint32_t>(GetDlgCtrlID(H(w))); }
    Handle32 ChildAtPoint(Handle32 dialog, int x, int y) override {
        POINT p = {x, y};
        ScreenToClient(H(dialog), &p);
        return FromHandle(ChildWindowFromPoint(H(dialog), p));
    }
    bool PointInWindow(Handle32 dialog, int x, int y) override {
        RECT r;
        return GetWindowRect(H(dialog), &r) && x >= r.left && x <= r.right && y >= r.top &&
               y <= r.bottom;
    }
};

BOOL CALLBACK CountChild(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

bool IsExtended(const SharedState& s, Handle32 dialog) {
    for (const auto& slot : s.extendedDialogs)
        if (slot.inUse && slot.dialog == dialog)
            return true;
    return false;
}

bool SelectionClick(SharedState& s, HWND window) {
    Win32TrainingHost host;
    s.candidateWindow = 0;
    Handle32 target = SelectionTarget(host, FromHandle(window));
    // The training windows themselves are not dialogs to train: a click on them (their Cancel)
    // goes through, and selection goes on.
    if (!target || target == s.trainingTarget || target == s.training.selectionWindow ||
        target == s.training.trainingWindow)
        return false;
    s.candidateWindow = target;
    int children = 0;
    EnumChildWindows(H(target), CountChild, reinterpret_cast<LPARAM>(&children));
    UINT msg = !children ? MSG_SELECT_NO_CONTROLS
                         : (IsExtended(s, target) ? MSG_SELECT_EXTENDED : MSG_SELECT_DONE);
    s.trainingSelecting = 0;
    PostMessageA(H(s.trainingTarget), msg, 0, static_cast<LPARAM>(target));
    return true;
}

void FillTypes(TrainedEntry& e, HWND dialog);

// Tells the training window what recording a pointed control led to. In the application's
// process (dialog given) the file types are read there, once the entry is stored.
bool ReportPointStep(SharedState& s, PointStep step, HWND trainingWindow, HWND dialogOrNull) {
    switch (step) {
    case PointStep::kIgnored:
        return false;
    case PointStep::kNext:
        PostMessageA(trainingWindow, MSG_POINT_NEXT, s.trainingStep, 0);
        break;
    case PointStep::kStored:
        if (TrainedEntry* e = EntryUnderTraining(s); e && dialogOrNull)
            FillTypes(*e, dialogOrNull);
        PostMessageA(trainingWindow, MSG_POINT_DONE, 0, 0);
        break;
    case PointStep::kFull:
        PostMessageA(trainingWindow, MSG_POINT_FULL, 0, 0);
        break;
    }
    return true;
}

bool PointingClick(SharedState& s, HWND window, POINT p) {
    Win32TrainingHost host;
    Handle32 trainingWindow = s.training.trainingWindow;
    PointedControl pointed =
        PointAt(host, FromHandle(window), p.x, p.y, s.candidateWindow, trainingWindow);
    return pointed.counts && ReportPointStep(s, RecordPointedId(s, pointed.id), H(trainingWindow),
                                             H(s.candidateWindow));
}

// --- the windows' look ------------------------------------------------------------------------

void SetPrompt(HWND text, UINT id) {
    char prompt[512];
    if (!LoadLibraryString(id, prompt, sizeof prompt))
        CopyText(prompt, sizeof prompt, "LoadStringSetWindowText -- bad ID for Text");
    SetWindowTextA(text, prompt);
}

// Makes the font, measures it and sizes the window: widthChars wide, the caption and seven lines
// high. Returns the layout.
Layout Measure(HWND window, int widthChars) {
    Layout l = {};
    l.font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Helv");
    HDC dc = GetDC(window);
    HGDIOBJ old = SelectObject(dc, l.font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(window, dc);
    l.charWidth = tm.tmAveCharWidth > 0 ? tm.tmAveCharWidth : 6;
    l.lineHeight = tm.tmHeight + tm.tmExternalLeading > 0 ? tm.tmHeight + tm.tmExternalLeading : 13;
    l.width = widthChars * l.charWidth;
    return l;
}

HWND Child(HWND parent, const char* cls, UINT textId, int id, const Layout& l, int x, int y, int w,
           int h, DWORD style) {
    char text[64] = "";
    if (textId)
        LoadLibraryString(textId, text, sizeof text);
    HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             g_process.moduleInstance, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(l.font), FALSE);
    return c;
}

// The text field and the button row of a window of width b.
HWND TextField(HWND w, const Layout& l) {
    int b = l.width - GetSystemMetrics(SM_CXBORDER);
    return Child(w, "static", 0, kTextId, l, l.charWidth, l.lineHeight, b - 2 * l.charWidth,
                 2 * l.lineHeight, SS_CENTER);
}

HWND Button(HWND w, const Layout& l, UINT textId, int id, int numerator, int denominator) {
    int b = l.width - GetSystemMetrics(SM_CXBORDER);
    int bw = 12 * l.charWidth;
    int centre = b * numerator / denominator;
    return Child(w, "button", textId, id, l, centre - bw / 2, 4 * l.lineHeight, bw,
                 2 * l.lineHeight, WS_TABSTOP | BS_PUSHBUTTON);
}

void ClearAnswers() {
    for (HWND& b : g_answers) {
        if (b)
            DestroyWindow(b);
        b = nullptr;
    }
}

// The training window's question: text and up to three answers (ids and texts) and Help.
void Ask(HWND w, UINT textId, const UINT (&texts)[3], const int (&ids)[3]) {
    ClearAnswers();
    SetPrompt(g_trainingText, textId);
    for (int i = 0; i < 3; ++i)
        if (texts[i])
            g_answers[i] = Button(w, g_training, texts[i], ids[i], i + 1, 5);
    g_answers[3] = Button(w, g_training, IDS_TRAIN_HELP, kHelpId, 4, 5);
}

void ShowDone(HWND w) {
    ClearAnswers();
    SetPrompt(g_trainingText, IDS_TRAIN_DONE);
    g_answers[0] = Button(w, g_training, IDS_OK_BUTTON, IDOK, 1, 2);
}

// What both training windows do alike: closing destroys them, and moved or sized they stay on
// top. True when msg was one of those.
bool CommonMessage(HWND w, UINT msg) {
    if (msg == WM_CLOSE) {
        DestroyWindow(w);
        return true;
    }
    if (msg == WM_MOVE || msg == WM_SIZE)
        SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE);
    return false;
}

void DropFont(Layout& l) {
    if (l.font)
        DeleteObject(l.font);
    l = {};
}

HWND CreateTrainingClassWindow(const char* cls, WNDPROC proc) {
    WNDCLASSA wc = {};
    if (!GetClassInfoA(g_process.moduleInstance, cls, &wc)) {
        wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = proc;
        wc.cbWndExtra = 4;
        wc.hInstance = g_process.moduleInstance;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = cls;
        RegisterClassA(&wc);
    }
    char title[kTitleSize] = "Vantor Training";
    LoadLibraryString(IDS_TRAINING_TITLE, title, sizeof title);
    return CreateWindowExA(WS_EX_TOPMOST, cls, title, WS_POPUP | WS_CAPTION, 0, 0, 0, 0, nullptr,
                           nullptr, g_process.moduleInstance, nullptr);
}

void Save(SharedState& s) {
    char path[kPathSize];
    CopyField(path, sizeof path, s.trainedDbPath, sizeof s.trainedDbPath);
    if (path[0])
        SaveTrainedDatabaseFile(path, s.trainedEntries, TrainedCount(s));
}

// --- the training window ------------------------------------------------------------------------

// Makes the entry under training from the dialog: its creation data from the ring, its titles.
bool BeginEntry(SharedState& s, HWND dialog) {
    s.candidateWindow = FromHandle(dialog);
    s.trainedState = kScratchSlot;
    TrainedEntry& e = s.trainedEntries[kScratchSlot];
    memset(&e, 0, sizeof e);
    e.length = kTrainedRecordSize;
    HWND top = dialog;
    for (int depth = 0; depth < 64 && GetParent(top); ++depth)
        top = GetParent(top);
    char title[100] = "";
    GetWindowTextA(top, title, sizeof title);
    AppNameFromTitle(title, e.appName, sizeof e.appName);
    e.enabled = 1;
    GetWindowTextA(dialog, e.finalTitle, sizeof e.finalTitle);
    CopyText(e.matchTitle, sizeof e.matchTitle, e.finalTitle);
    return FillFromRecentWindows(s, FromHandle(dialog), e);
}

// Below the dialog, which moves up when the window would not fit under it.
void PlaceTrainingWindow(HWND w, HWND dialog, int height) {
    RECT d, work;
    GetWindowRect(dialog, &d);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    if (work.bottom - d.bottom < height) {
        int top = work.bottom - height - (d.bottom - d.top);
        top = top < 0 ? 0 : top;
        SetWindowPos(dialog, nullptr, d.left, top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(dialog, &d);
    }
    int x = d.left, y = d.bottom;
    if (y + height > work.bottom)
        y = work.bottom - height;
    if (x + g_training.width > work.right)
        x = work.right - g_training.width;
    SetWindowPos(w, HWND_TOPMOST, x, y, g_training.width, height, SWP_NOACTIVATE);
}

// The application's type list: its items as list box or combo box, at most kFileTypeSlots.
int ReadTypeItems(HWND list, char (&items)[kFileTypeSlots][kFileTypeSize], const char** texts) {
    if (!list)
        return 0;
    UINT countMsg = LB_GETCOUNT, lengthMsg = LB_GETTEXTLEN, textMsg = LB_GETTEXT;
    LRESULT n = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (n < 1 || n > kMaxListItems) {
        countMsg = CB_GETCOUNT, lengthMsg = CB_GETLBTEXTLEN, textMsg = CB_GETLBTEXT;
        n = SendMessageA(list, countMsg, 0, 0);
    }
    if (n < 1 || n > kMaxListItems)
        return 0;
    int count = 0;
    for (LRESULT i = 0; i < n && count < kFileTypeSlots; ++i) {
        LRESULT length = SendMessageA(list, lengthMsg, static_cast<WPARAM>(i), 0);
        if (length < 0 || length >= kFileTypeSize)
            continue;
        char text[kFileTypeSize * 2] = "";
        SendMessageA(list, textMsg, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        text[kFileTypeSize - 1] = 0;
        CopyText(items[count], kFileTypeSize, text);
        texts[count] = items[count];
        ++count;
    }
    return count;
}

// The file types and default extension from the application's type list and name box. Read in
// the application's own process where possible (the click that points at the list runs there):
// another process cannot read every list's items.
void FillTypes(TrainedEntry& e, HWND dialog) {
    char allFiles[kFileTypeSize] = "All Files (*.*)|*.*";
    LoadLibraryString(IDS_ALL_FILES_TYPE, allFiles, sizeof allFiles);
    char items[kFileTypeSlots][kFileTypeSize];
    const char* texts[kFileTypeSlots] = {};
    HWND list = e.typesListId ? GetDlgItem(dialog, e.typesListId) : nullptr;
    int count = ReadTypeItems(list, items, texts);
    FileTypesFromItems(e, texts, count, allFiles);
    HWND box = e.fileNameId ? GetDlgItem(dialog, e.fileNameId) : nullptr;
    char boxText[30] = "";
    DWORD_PTR got = 0;
    if (box)
        SendMessageTimeoutA(box, WM_GETTEXT, sizeof boxText, reinterpret_cast<LPARAM>(boxText),
                            SMTO_ABORTIFHUNG, 1000, &got);
    boxText[sizeof boxText - 1] = 0;
    DefaultExtension(e, box ? boxText : nullptr);
}

void FillDefaults(SharedState& s, HWND dialog) {
    TrainedEntry* e = EntryUnderTraining(s);
    if (!e)
        return;
    e->addButton = 1;
    HWND box = e->fileNameId ? GetDlgItem(dialog, e->fileNameId) : nullptr;
    char cls[20] = "";
    if (box)
        GetClassNameA(box, cls, sizeof cls);
    bool rich = strstr(cls, "RichEdit") != nullptr;
    e->buttonOffsetX = static_cast<int16_t>(rich ? 22 : 2);
    e->buttonOffsetY = static_cast<int16_t>(rich ? -3 : -1);
    if (IsExtended(s, FromHandle(dialog)))
        e->autoExtended = 1;
    if (!e->fileTypes[0][0])
        FillTypes(*e, dialog);
    e->longNames = 1;
}

void EndTraining(SharedState& s, HWND w) {
    s.trainedState = -1;
    DestroyWindow(w);
}

void TrainingCommand(SharedState& s, HWND w, int id) {
    TrainingWindowBlock& b = s.training;
    TrainedEntry* e = EntryUnderTraining(s);
    if (id == kSkipId && s.trainingActive) {
        ReportPointStep(s, RecordPointedId(s, 0), w, nullptr); // a click on nothing
        return;
    }
    if (id == kHelpId) {
        ShowLibraryHelp(w, b.askKnown ? kHelpKnown : (b.askAction ? kHelpAction : kHelpKind));
        return;
    }
    if (id == IDOK) {
        bool abort = b.trainingAbort != 0;
        b.trainingAbort = 0;
        if (!abort && e && s.trainedState < TrainedCount(s)) {
            Save(s);
            PostToManager(s, MSG_SHOW_TRAINED_ENTRY, static_cast<WPARAM>(s.trainedState), 1);
        }
        EndTraining(s, w);
        return;
    }
    if (b.askKnown && (id == 6 || id == 7)) {
        b.askKnown = 0;
        ClearAnswers();
        if (id == 6) {
            Save(s);
            PostToManager(s, MSG_SHOW_TRAINED_ENTRY, static_cast<WPARAM>(g_knownIndex), 1);
            EndTraining(s, w);
            return;
        }
        RemoveEntry(s, g_knownIndex);
        PostMessageA(w, MSG_POINT_START, 0, 0);
        return;
    }
    if (b.askAction && e && (id == 6 || id == 7 || id == 2)) {
        b.askAction = 0;
        e->enabled = id != 2;
        e->addButton = id == 6;
        if (id == 2) {
            Save(s);
            ShowDone(w);
        } else {
            PostMessageA(w, MSG_ASK_KIND, 0, 0);
        }
        return;
    }
    if (b.askKind && e && (id == 7 || id == 6 || id == 2)) {
        b.askKind = 0;
        e->dialogKind = static_cast<uint16_t>(id == 7 ? kTrainedOpen
                                                      : (id == 6 ? kTrainedSave : kTrainedFolder));
        Save(s);
        ShowDone(w);
    }
}

LRESULT TrainingMessage(SharedState& s, HWND w, UINT msg, WPARAM wParam) {
    TrainingWindowBlock& b = s.training;
    HWND dialog = H(b.trainingDialog);
    switch (msg) {
    case MSG_TRAIN_CHECK: {
        TrainedEntry* e = EntryUnderTraining(s);
        g_knownIndex = e ? FindKnownEntry(s, *e) : -1;
        if (g_knownIndex >= 0) {
            Ask(w, IDS_TRAIN_KNOWN, {IDS_TRAIN_EDIT, IDS_TRAIN_RETRAIN, 0}, {6, 7, 0});
            b.askKnown = 1;
        } else {
            PostMessageA(w, MSG_POINT_START, 0, 0);
        }
        return 0;
    }
    case MSG_POINT_START:
        ClearAnswers();
        g_answers[4] = Button(w, g_training, IDS_TRAIN_SKIP, kSkipId, 1, 2);
        SetPrompt(g_trainingText, IDS_TRAIN_CLICK_NAME);
        InstallMouseHook(s);
        s.trainingStep = 0;
        s.trainingActive = 1;
        return 0;
    case MSG_POINT_NEXT:
        if (wParam <= 1)
            SetPrompt(g_trainingText, wParam ? IDS_TRAIN_CLICK_TYPES : IDS_TRAIN_CLICK_NAME);
        return 0;
    case MSG_POINT_DONE:
        Save(s);
        RemoveMouseHook(s);
        ClearAnswers();
        PostMessageA(w, MSG_TRAIN_DEFAULTS, 0, 0);
        return 0;
    case MSG_POINT_FULL:
        RemoveMouseHook(s);
        MessageBoxFromIds(w, IDS_TRAIN_FULL, IDS_ERROR_TITLE, MB_OK);
        EndTraining(s, w);
        return 0;
    case MSG_TRAIN_DEFAULTS:
        FillDefaults(s, dialog);
        PostMessageA(w, MSG_ASK_ACTION, 0, 0);
        return 0;
    case MSG_ASK_ACTION:
        Ask(w, IDS_TRAIN_ASK_ACTION, {IDS_TRAIN_ADD, IDS_TRAIN_REPLACE, IDS_TRAIN_IGNORE},
            {6, 7, 2});
        b.askAction = 1;
        return 0;
    case MSG_ASK_KIND:
        Ask(w, IDS_TRAIN_ASK_KIND, {IDS_TRAIN_OPEN, IDS_TRAIN_SAVE, IDS_TRAIN_FOLDER}, {7, 6, 2});
        b.askKind = 1;
        return 0;
    default:
        return -1;
    }
}

LRESULT CALLBACK TrainingProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    SharedState* s = Shared();
    if (!s || CommonMessage(w, msg))
        return s ? 0 : DefWindowProcA(w, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: {
        HWND dialog = H(s->training.trainingDialog);
        g_training = Measure(w, 78);
        int height = GetSystemMetrics(SM_CYCAPTION) + 7 * g_training.lineHeight;
        PlaceTrainingWindow(w, dialog, height);
        g_trainingText = TextField(w, g_training);
        s->training.askAction = s->training.askKind = s->training.trainingAbort = 0;
        s->training.askKnown = 0;
        if (!BeginEntry(*s, dialog)) {
            MessageBoxFromIds(dialog, IDS_TRAIN_NOT_SEEN, IDS_ERROR_TITLE, MB_OK);
            return -1;
        }
        PostMessageA(w, MSG_TRAIN_CHECK, 0, 0);
        return 0;
    }
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            TrainingCommand(*s, w, LOWORD(wParam));
        return 0;
    case WM_DESTROY:
        // Training ends with its window, however it ends: no click is awaited any more.
        RemoveMouseHook(*s);
        s->trainingActive = 0;
        s->trainedState = -1;
        ClearAnswers();
        DropFont(g_training);
        s->training.trainingWindow = 0;
        return 0;
    default:
        if (msg >= MSG_SELECT_NO_CONTROLS && msg <= MSG_POINT_FULL) {
            LRESULT r = TrainingMessage(*s, w, msg, wParam);
            if (r != -1)
                return r;
        }
        break;
    }
    return DefWindowProcA(w, msg, wParam, lParam);
}

void OpenTrainingWindow(SharedState& s, HWND dialog) {
    if (s.training.trainingWindow && IsWindow(H(s.training.trainingWindow)))
        return;
    s.training.trainingDialog = FromHandle(dialog);
    HWND w = CreateTrainingClassWindow(kTrainingClass, TrainingProc);
    s.training.trainingWindow = FromHandle(w);
    if (!w) {
        s.trainedState = -1;
        return;
    }
    ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
}

// --- the selection window ---------------------------------------------------------------------

void CloseSelection(SharedState& s, HWND w) {
    RemoveMouseHook(s);
    DestroyWindow(w);
}

LRESULT CALLBACK SelectionProc(HWND w, UINT msg, WPARAM wParam, LPARAM lParam) {
    SharedState* s = Shared();
    if (!s || CommonMessage(w, msg))
        return s ? 0 : DefWindowProcA(w, msg, wParam, lParam);
    switch (msg) {
    case WM_CREATE: {
        g_selection = Measure(w, 60);
        int height = GetSystemMetrics(SM_CYCAPTION) + 7 * g_selection.lineHeight;
        RECT work;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(w, HWND_TOPMOST, work.right - g_selection.width, work.bottom - height,
                     g_selection.width, height, SWP_NOACTIVATE);
        g_selectionText = TextField(w, g_selection);
        Button(w, g_selection, IDS_OK_BUTTON, IDOK, 1, 4);
        Button(w, g_selection, IDS_TRAIN_CANCEL, IDCANCEL, 2, 4);
        Button(w, g_selection, IDS_TRAIN_HELP, kHelpId, 3, 4);
        SetPrompt(g_selectionText, IDS_TRAIN_OPEN_DIALOG);
        s->trainingWindowOpen = 1;
        return 0;
    }
    case WM_COMMAND: {
        if (HIWORD(wParam) != BN_CLICKED)
            return 0;
        int id = LOWORD(wParam);
        bool waiting = s->trainingWindowOpen != 0;
        if (id == IDCANCEL) {
            CloseSelection(*s, w);
        } else if (id == kHelpId) {
            ShowLibraryHelp(w, waiting ? kHelpBeforeOk : kHelpAfterOk);
        } else if (id == IDOK && waiting) {
            SetPrompt(g_selectionText, IDS_TRAIN_CLICK_DIALOG);
            EnableWindow(GetDlgItem(w, IDOK), FALSE);
            s->trainingTarget = FromHandle(w);
            s->trainingSelecting = 1;
            InstallMouseHook(*s);
            s->trainingWindowOpen = 0;
        }
        return 0;
    }
    case MSG_SELECT_NO_CONTROLS:
        MessageBoxFromIds(w, IDS_TRAIN_NO_CONTROLS, IDS_ERROR_TITLE, MB_OK);
        CloseSelection(*s, w);
        return 0;
    case MSG_SELECT_EXTENDED:
        if (MessageBoxFromIds(w, IDS_TRAIN_EXTENDED, IDS_TRAINING_TITLE, MB_OKCANCEL) == IDOK)
            PostMessageA(w, MSG_SELECT_DONE, 0, lParam);
        else
            CloseSelection(*s, w);
        return 0;
    case MSG_SELECT_DONE: {
        HWND dialog = reinterpret_cast<HWND>(lParam);
        if (dialog == w)
            return 0;
        RemoveMouseHook(*s);
        if (IsWindow(dialog))
            OpenTrainingWindow(*s, dialog);
        DestroyWindow(w);
        return 0;
    }
    case WM_DESTROY:
        // Whatever was awaited is no longer: a later click goes to its window.
        if (!s->trainingActive)
            RemoveMouseHook(*s);
        s->trainingSelecting = 0;
        s->trainingWindowOpen = 0;
        DropFont(g_selection);
        s->training.selectionWindow = 0;
        return 0;
    default:
        break;
    }
    return DefWindowProcA(w, msg, wParam, lParam);
}

bool Alive(Handle32 window) {
    return window && IsWindow(H(window));
}

} // namespace

int StartManualSelection(HOOKPROC mouseProc) {
    SharedState* s = Shared();
    if (!s)
        return 0;
    g_mouseProc = mouseProc;
    ForgetDeadTraining(*s);
    if (Alive(s->training.selectionWindow))
        return MessageBoxFromIds(nullptr, IDS_TRAIN_ALREADY, IDS_ERROR_TITLE, MB_OK);
    HWND w = CreateTrainingClassWindow(kSelectionClass, SelectionProc);
    s->training.selectionWindow = FromHandle(w);
    if (!w)
        return 0;
    int shown = ShowWindow(w, SW_SHOWNORMAL);
    UpdateWindow(w);
    return shown;
}

bool TrainingClick(HWND window, POINT screenPoint) {
    SharedState* s = Shared();
    if (!s || !window)
        return false;
    ForgetDeadTraining(*s);
    if (s->trainingSelecting)
        return SelectionClick(*s, window);
    if (s->trainingActive)
        return PointingClick(*s, window, screenPoint);
    return false;
}

void ForgetDeadTraining(SharedState& s) {
    if (!(s.trainingActive || s.trainingSelecting || s.trainingWindowOpen))
        return;
    if (Alive(s.training.selectionWindow) || Alive(s.training.trainingWindow))
        return;
    s.trainingActive = s.trainingSelecting = s.trainingWindowOpen = 0;
    s.training.selectionWindow = s.training.trainingWindow = 0;
    // The hook went with its thread, or names nothing of ours any more: unhooking it could take
    // another program's hook away. Forgetting it lets the next training install its own.
    InterlockedExchange(reinterpret_cast<volatile LONG*>(&s.mouseHook), 0);
}

} // namespace vn
