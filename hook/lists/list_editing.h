// Rules of the two list editors and their Add dialogs: which rows an editor shows, which of its
// buttons work for a selection, deleting and moving rows, dropping rows whose file or folder is
// gone, and what the Add dialogs accept. The rows live in a list box; the rules reach them
// through EditableRows, so that they run on any platform and the tests keep rows in a vector.
// The order in which an editor's rows are stored back is ListStore::ReplaceList's.
#pragma once

#include "hook/lists/list_store.h"

namespace vn {

// An editor shows at most a whole list, and an Add refuses a row beyond it.
constexpr int kEditorRowsMax = kListSlots;

// The rows of one editor list, as a list box holds them.
class EditableRows {
  public:
    virtual int Count() const = 0;
    // Row index's text into out (cap bytes); false when there is no such row or it does not fit.
    virtual bool Text(int index, char* out, size_t cap) const = 0;
    virtual void Remove(int index) = 0;
    virtual void Insert(int index, const char* text) = 0;
    // The selected rows in increasing order, at most cap of them; how many were stored.
    virtual int Selected(int* out, int cap) const = 0;
    virtual void Select(int index) = 0;

  protected:
    ~EditableRows() = default;
};

// Whether a path names an existing file or folder (one trailing backslash ignored).
class ExistenceTest {
  public:
    virtual bool IsExistingFile(const char* path) const = 0;
    virtual bool IsExistingFolder(const char* path) const = 0;

  protected:
    ~ExistenceTest() = default;
};

// The positions (1 to 100) of a list's entries in the order an editor shows them: favourites from
// the first to the first empty position, recent lists from "Last" backwards (wrapping from 1 to
// 100) to the first empty position, each position once. A "Last" outside 1 to 100 shows nothing.
// Returns how many were stored in positions (at most cap).
int EditorRowPositions(const ListEntries& entries, int last, bool favorite, int* positions,
                       int cap);

// Which of a list's Delete, Move Up and Move Down buttons work.
struct RowButtons {
    bool remove;
    bool up;
    bool down;
};

// Delete needs a selection; a move needs exactly one selected row with a neighbour that way.
// selectedIndex is the selected row when selectedCount is 1.
RowButtons ButtonStates(int selectedCount, int selectedIndex, int rowCount);
RowButtons ButtonStates(const EditableRows& rows);

// Removes every selected row, the highest first so that the indexes still to come stay valid.
// Returns how many were removed.
int DeleteSelectedRows(EditableRows& rows);

// Moves the one selected row a place up or down, selected where it lands. False, changing
// nothing, when the buttons would not allow it.
bool MoveSelectedRow(EditableRows& rows, bool up);

// Removes, from the last row to the first, every row that does not name an existing file (or,
// with folders, an existing folder). Returns how many were removed.
int RemoveOrphanedRows(EditableRows& rows, bool folders, const ExistenceTest& test);

// Whether a list of rowCount rows takes one more (a count that could not be read takes none).
bool CanAddRow(int rowCount);

// A favourite folder as it is stored: ending in a backslash. False, leaving text as it was, when
// the backslash would not fit a list entry (or cap): such a folder cannot be stored whole.
bool MakeFolderRow(char* text, size_t cap);

// What an Add dialog takes of the typed text: without its leading spaces, trailing ones kept.
// False, with out empty, when nothing is left: the dialog then counts as cancelled.
bool TakeTypedPath(const char* typed, char* out, size_t cap);

} // namespace vn
