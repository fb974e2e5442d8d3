#include "hook/lists/list_editing.h"

#include "hook/core/text.h"

namespace vn {

int EditorRowPositions(const ListEntries& entries, int last, bool favorite, int* positions,
                       int cap) {
    if (!positions || cap <= 0)
        return 0;
    if (!favorite && (last < 1 || last > kListSlots))
        return 0;
    int count = 0;
    int position = favorite ? 1 : last;
    for (int step = 0; step < kListSlots && count < cap; ++step) {
        if (!ListEntryText(entries, position))
            break;
        positions[count++] = position;
        if (favorite)
            ++position;
        else
            position = position == 1 ? kListSlots : position - 1;
    }
    return count;
}

RowButtons ButtonStates(int selectedCount, int selectedIndex, int rowCount) {
    bool one = selectedCount == 1 && selectedIndex >= 0 && selectedIndex < rowCount;
    return {selectedCount > 0, one && selectedIndex > 0, one && selectedIndex < rowCount - 1};
}

RowButtons ButtonStates(const EditableRows& rows) {
    int selected[2];
    int n = rows.Selected(selected, 2);
    return ButtonStates(n, n > 0 ? selected[0] : -1, rows.Count());
}

int DeleteSelectedRows(EditableRows& rows) {
    int selected[kEditorRowsMax];
    int n = rows.Selected(selected, kEditorRowsMax);
    int removed = 0;
    for (int i = n - 1; i >= 0; --i) {
        if (selected[i] < 0 || selected[i] >= rows.Count())
            continue;
        rows.Remove(selected[i]);
        ++removed;
    }
    return removed;
}

bool MoveSelectedRow(EditableRows& rows, bool up) {
    int selected[2];
    int n = rows.Selected(selected, 2);
    RowButtons buttons = ButtonStates(n, n > 0 ? selected[0] : -1, rows.Count());
    if (!(up ? buttons.up : buttons.down))
        return false;
    char text[kListEntrySize];
    if (!rows.Text(selected[0], text, sizeof text))
        return false;
    int to = selected[0] + (up ? -1 : 1);
    rows.Remove(selected[0]);
    rows.Insert(to, text);
    rows.Select(to);
    return true;
}

int RemoveOrphanedRows(EditableRows& rows, bool folders, const ExistenceTest& test) {
    int removed = 0;
    for (int i = rows.Count() - 1; i >= 0; --i) {
        char text[kListEntrySize];
        // A row too long to read cannot name anything that exists.
        bool exists = rows.Text(i, text, sizeof text) &&
                      (folders ? test.IsExistingFolder(text) : test.IsExistingFile(text));
        if (!exists) {
            rows.Remove(i);
            ++removed;
        }
    }
    return removed;
}

bool CanAddRow(int rowCount) {
    return rowCount >= 0 && rowCount < kEditorRowsMax;
}

bool MakeFolderRow(char* text, size_t cap) {
    if (!text || cap == 0)
        return false;
    size_t n = BoundedLength(text, cap);
    if (n == cap)
        return false;
    if (n > 0 && text[n - 1] == '\\')
        return n <= static_cast<size_t>(kListTextMax);
    if (n + 1 > static_cast<size_t>(kListTextMax) || n + 2 > cap)
        return false;
    text[n] = '\\';
    text[n + 1] = 0;
    return true;
}

bool TakeTypedPath(const char* typed, char* out, size_t cap) {
    if (!out || cap == 0)
        return false;
    out[0] = 0;
    if (!typed)
        return false;
    size_t start = 0;
    while (start < static_cast<size_t>(kListTextMax) && typed[start] == ' ')
        ++start;
    size_t room = cap < static_cast<size_t>(kListEntrySize) ? cap : kListEntrySize;
    return CopyField(out, room, typed + start, kListEntrySize - start) > 0;
}

} // namespace vn
