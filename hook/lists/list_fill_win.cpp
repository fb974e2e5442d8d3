#include "hook/lists/list_fill_win.h"

#include "hook/core/shared_state_win.h"
#include "hook/core/text_fit_win.h"
#include "hook/core/ui_win.h"
#include "hook/lists/list_files_win.h"
#include "hook/lists/list_fill.h"
#include "hook/lists/linux_places_win.h"

namespace vn {

namespace {

// A combo box or list box as ListRows. Rows are read only when they fit the buffer, so that a
// row padded to the list's width never overruns one.
class ControlRows final : public ListRows {
  public:
    ControlRows(HWND control, bool listBox) : control_(control), listBox_(listBox) {}

    int Count() override {
        LRESULT n = SendMessageA(control_, listBox_ ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
        return n < 0 || n > 0x7FFFFFFF ? -1 : static_cast<int>(n);
    }

    bool Row(int index, char* buf, size_t size) override {
        if (!buf || size == 0)
            return false;
        buf[0] = 0;
        LRESULT length = SendMessageA(control_, listBox_ ? LB_GETTEXTLEN : CB_GETLBTEXTLEN,
                                      static_cast<WPARAM>(index), 0);
        if (length < 0 || static_cast<unsigned long long>(length) >= size)
            return false;
        LRESULT read = SendMessageA(control_, listBox_ ? LB_GETTEXT : CB_GETLBTEXT,
                                    static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buf));
        buf[size - 1] = 0;
        return read >= 0;
    }

    void Add(const char* text) override {
        SendMessageA(control_, listBox_ ? LB_ADDSTRING : CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(text));
    }

  private:
    HWND control_;
    bool listBox_;
};

HWND ControlOf(const DialogRecord& record, AddedControl which) {
    HWND control = record.added[which] ? ToHwnd(record.added[which]) : nullptr;
    return control && IsWindow(control) ? control : nullptr;
}

// The lists are measured with the font they draw with: the added controls' font, or the
// control's own when the record has none.
HFONT ListFont(const DialogRecord& record, HWND control) {
    if (record.fonts.extraFont)
        return reinterpret_cast<HFONT>(record.fonts.extraFont);
    return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
}

StoredList StoredOf(const char* moduleOrNull, bool favorite, bool paths) {
    return {ListOf(moduleOrNull, favorite, paths), ListLast(moduleOrNull, favorite, paths)};
}

EntryForm FormOf(const HookSettings& settings, HWND control, bool favorite, bool paths,
                 const char* base, bool compact) {
    return {favorite, paths,           settings.recentPathOption, paths ? nullptr : base,
            compact,  RowRoom(control)};
}

void FillOne(const DialogRecord& record, const HookSettings& settings, HWND control, bool favorite,
             bool paths, const char* base, const char* title) {
    const ListShape shape = ShapeOf(settings, favorite);
    SendMessageA(control, WM_SETREDRAW, FALSE, 0);
    SendMessageA(control, CB_RESETCONTENT, 0, 0);
    {
        ControlTextMeasure measure(control, ListFont(record, control));
        ControlRows rows(control, false);
        LibraryCaptions captions;
        const EntryForm form = FormOf(settings, control, favorite, paths, base, true);
        FillDropList(rows, form, shape, StoredOf(record.moduleName, favorite, paths),
                     StoredOf(nullptr, favorite, paths), title, captions, measure);
        const LinuxPlaces* places = favorite && paths ? PlacesOfDialog(record) : nullptr;
        if (places)
            AddPlaceRows(rows, *places, form, captions, measure);
    }
    SendMessageA(control, CB_SETCURSEL, 0, 0);
    SendMessageA(control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(control, nullptr, TRUE);
}

void RefillPair(DialogRecord& record, bool favorite, const char* base, bool both) {
    const SharedState* s = Shared();
    HWND files = ControlOf(record, favorite ? kFavoriteFilesList : kRecentFilesList);
    HWND folders = ControlOf(record, favorite ? kFavoriteFoldersList : kRecentFoldersList);
    if (!s || !files || !folders)
        return;
    const HookSettings& settings = s->settings;
    // The title is as wide as the files list, in both lists of the pair.
    char title[kFittedTextSize] = "";
    if (ShapeOf(settings, favorite).allApplications) {
        ControlTextMeasure measure(files, ListFont(record, files));
        LibraryCaptions captions;
        PaddedCaption(captions, kIdsAllApplicationsTitle, measure, RowRoom(files), title,
                      sizeof title);
    }
    FillOne(record, settings, files, favorite, false, base, title);
    if (both)
        FillOne(record, settings, folders, favorite, true, base, title);
}

bool LookUp(const DialogRecord& record, AddedControl which, bool favorite, bool paths,
            const char* base, char* out, size_t size) {
    if (!out || size == 0)
        return false;
    out[0] = 0;
    const SharedState* s = Shared();
    HWND control = ControlOf(record, which);
    if (!s || !control)
        return false;
    LRESULT selected = SendMessageA(control, CB_GETCURSEL, 0, 0);
    char text[kMaxPath + 1];
    ControlRows rows(control, false);
    if (selected < 0 || !rows.Row(static_cast<int>(selected), text, sizeof text))
        return false;
    ControlTextMeasure measure(control, ListFont(record, control));
    const EntryForm form = FormOf(s->settings, control, favorite, paths, base, true);
    if (FindEntryByRowText(text, StoredOf(record.moduleName, favorite, paths), form, measure, out,
                           size) ||
        FindEntryByRowText(text, StoredOf(nullptr, favorite, paths), form, measure, out, size))
        return true;
    const LinuxPlaces* places = favorite && paths ? PlacesOfDialog(record) : nullptr;
    return places && FindPlaceByRowText(text, *places, form, measure, out, size);
}

} // namespace

void RefillRecentLists(DialogRecord& record, const char* base, bool both) {
    RefillPair(record, false, base, both);
}

void RefillFavoriteLists(DialogRecord& record, const char* base, bool both) {
    RefillPair(record, true, base, both);
}

void FillListControl(const char* moduleOrNull, HFONT font, HWND control, const char* base, int max,
                     bool skipDuplicates, bool favorite, bool listBox, bool paths) {
    const SharedState* s = Shared();
    if (!s || !control)
        return;
    ControlTextMeasure measure(control, font);
    ControlRows rows(control, listBox);
    AddEntryRows(rows, StoredOf(moduleOrNull, favorite, paths),
                 FormOf(s->settings, control, favorite, paths, base, !listBox), max, skipDuplicates,
                 measure);
}

bool LookUpRecentFile(const DialogRecord& record, const char* base, char* out, size_t size) {
    return LookUp(record, kRecentFilesList, false, false, base, out, size);
}

bool LookUpRecentFolder(const DialogRecord& record, const char* base, char* out, size_t size) {
    return LookUp(record, kRecentFoldersList, false, true, base, out, size);
}

bool LookUpFavoriteFile(const DialogRecord& record, const char* base, char* out, size_t size) {
    return LookUp(record, kFavoriteFilesList, true, false, base, out, size);
}

bool LookUpFavoriteFolder(const DialogRecord& record, const char* base, char* out, size_t size) {
    return LookUp(record, kFavoriteFoldersList, true, true, base, out, size);
}

} // namespace vn
