// The rows the library adds below a taken-over dialog's own controls, as plain arithmetic: which
// controls exist for the settings, what they are (class, id, style, caption), how high each row
// is and how wide the buttons are, how the dialog grows to hold the rows, and where every control
// goes. The Win32 side creates the windows, measures the fonts and the dialog's controls, and
// hands the numbers in here; nothing here knows a window.
//
// From the bottom of the dialog's own controls down, the rows are: the button row (the file
// buttons, with the product button at its right end), the information line, the recent lists and
// the favourite lists, each list row with a one-letter hint label in front. Without file buttons
// the product button shares the information line's row, at its right end.
//
// The settings come from the shared block, which any process can write, and the measures from
// other people's windows: every rule keeps its arithmetic in 64 bits and gives coordinates that
// fit 32 bits and extents between 0 and kMaxWindowExtent, whatever it is given.
#pragma once

#include "hook/core/compat.h"
#include "hook/core/dialog_record.h"
#include "hook/core/settings_block.h"
#include "hook/layout/layout_rules.h"

namespace vn {

// What each added control is. The buttons start disabled (WS_DISABLED) and are enabled once all
// of them exist, so that none is pressed while the row is still being built.
struct AddedControlDef {
    const char* className;
    int id;             // the control id, as kAddedControlIds
    uint32_t style;     // for the hint labels: the style with "Show List Hints"
    int captionId;      // string with "Use Accelerators"; 0 for the empty information line
    int plainCaptionId; // string without them; a hint label's letter is the same either way
};

extern const AddedControlDef kAddedControlDefs[kAddedControlCount];

// The style of a hint label without "Show List Hints": it exists, so that the list after it keeps
// its place in the tab order, but is not visible.
constexpr uint32_t kHiddenHintStyle = 0x40000000;

// Buffers the captions are loaded into, terminator included. A longer string is cut.
constexpr int kButtonCaptionSize = 20;
constexpr int kHintCaptionSize = 9;

// The order the controls are created in, which is their tab order. A hint label's letter moves
// the focus to the control created right after it, so each label comes just before its files
// list; this is not the order of AddedControl.
extern const AddedControl kAddedCreationOrder[kAddedControlCount];

// Which added controls a dialog gets, indexed by AddedControl.
struct AddedControlSet {
    bool present[kAddedControlCount];
};

AddedControlSet AddedControlsFor(const HookSettings& settings);

// The file buttons form a row only with "Add Vn Buttons" and at least one of the seven file
// buttons switched on. Reading the settings clears "Add Vn Buttons" when none is; a block that
// another process wrote between two reads can still say otherwise, and a row of no buttons has no
// width to share out.
bool HasFileButtonRow(const HookSettings& settings);

// The number of buttons in the row: the file buttons of the row and the product button.
int32_t ButtonCount(const HookSettings& settings);

// The style and the caption's string id a control is created with under these settings.
uint32_t AddedControlStyle(AddedControl control, const HookSettings& settings);
int AddedControlCaption(AddedControl control, const HookSettings& settings);

// The four drop-down lists are created a moment after the rest of the rows: creating a combo box
// costs several milliseconds under Wine (its drop-down list is a window of its own), time the
// dialog should spend becoming visible. The rows keep their place meanwhile through the lists'
// hint labels, which exist whenever their row does.
bool IsDropListControl(AddedControl control);

// The controls a dialog has once its pending lists are created: each family's two lists join
// the row its hint label holds.
AddedControlSet WithPendingLists(const AddedControlSet& created);

// The settings a re-layout places the rows by: the row switches as the controls that exist show
// them, everything else as the settings say now. Any process may change the shared settings
// while a dialog is open, but the record's row heights and button metrics are those of the rows
// the dialog was given, and the rows must keep to them rather than leave a gap or overlap.
HookSettings SettingsOfCreatedRows(const HookSettings& now, const AddedControlSet& created,
                                   bool hintsVisible);

// Whether a created button is enabled once the row is complete. In the library's own Browse
// dialog, which only chooses a destination, Copy and Move stay disabled.
bool EnablesAddedButton(AddedControl control, bool browseDialog);

// The widths of the captions that decide the button width, measured in the buttons' font with
// their ampersands, whatever "Use Accelerators" says: strings 402 "&Rename", 404 "&Find files",
// 413 "&Path->clip" and 407 "Vanto&r".
struct ButtonCaptionWidths {
    int32_t rename;
    int32_t findFiles;
    int32_t pathToClip;
    int32_t product;
};

constexpr int kMeasuredCaptionIds[4] = {402, 404, 413, 407};

// What the Win32 side measures before the rows are planned.
struct AddedRowsMeasures {
    uint16_t charHeight;   // the record's charHeight: the height of "NNNN" in the added font
    uint16_t avgCharWidth; // the record's avgCharWidth: its width divided by 4
    ButtonCaptionWidths captions;
    bool hasCancel;             // the dialog has its Cancel button (id 2)
    int32_t cancelClientHeight; // the height of its client area
    int32_t dialogFrameWidth;   // SM_CXDLGFRAME
    int32_t placesBarWidth;     // the window width of the places bar (1184), 0 without one
};

// The sizes of the rows, named as the record's fields they are kept in.
struct AddedRowsMetrics {
    int32_t buttonCount;
    int32_t buttonWidth;  // before it is spread over the row; the product button's without a row
    int32_t buttonHeight; // of every button
    int32_t minWidth;     // the narrowest dialog window that holds the row
    int32_t buttonRowHeight;
    int32_t infoLineHeight;
    int32_t listsHeight;
};

AddedRowsMetrics MeasureAddedRows(const HookSettings& settings, const AddedRowsMeasures& measures);

// The height the rows add to the dialog: the three row heights together.
int32_t AddedRowsHeight(const AddedRowsMetrics& metrics);

// The height of every button: one pixel less than the Cancel button's client area, but not
// taller than the text allows. A Cancel button that leaves no height is taken as missing: another
// program may have shrunk it to nothing, and the row must still be usable.
int32_t ButtonHeight(uint16_t charHeight, bool hasCancel, int32_t cancelClientHeight);

// The dialog's window once the rows are added: at least minWidth wide, taller by the rows, placed
// at the last position, centred or left where it is, moved away from the dialog that opened it
// when it is the library's Browse dialog, and kept above the bottom of the work area.
struct AddedRowsWindowInput {
    LayoutRect dialog; // the window rectangle before the rows, screen coordinates
    int32_t minWidth;
    int32_t addedHeight; // AddedRowsHeight
    PositionRule position;
    bool browseDialog;
    int32_t captionHeight; // SM_CYCAPTION
    int32_t workAreaTop;   // SPI_GETWORKAREA; a work area of no height is unknown
    int32_t workAreaBottom;
};

// The new window and the record's growth fields. The growth is exactly what the window gained:
// the layout and a closing dialog measure later sizes against it.
struct AddedRowsWindow {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    int32_t addedWidth;  // the widening to minWidth, 0 when the dialog was wide enough
    int32_t addedHeight; // the rows' height
    int32_t baseHeight;  // the new height
};

AddedRowsWindow PlanAddedRowsWindow(const AddedRowsWindowInput& input);

// Where the row starts, how wide its buttons are once spread over the dialog's width, where the
// product button goes, and the leftover pixels that become gaps between groups of buttons.
struct RowMetricsInput {
    bool fileButtonRow;    // HasFileButtonRow
    int32_t buttonCount;   // metrics.buttonCount; taken as at least 1
    int32_t buttonWidth;   // metrics.buttonWidth
    LayoutRect dialog;     // the window rectangle, screen coordinates
    int32_t clientWidth;   // of the dialog's client area
    bool hasFileTypes;     // control 1136, the file-type box, whose left the row lines up with
    int32_t fileTypesLeft; // its window left, screen coordinates
    bool hasPlacesBar;     // control 1184: the row starts right of it
    int32_t placesBarRight;
};

struct RowMetrics {
    int32_t start;       // x of the row's first control, client coordinates
    int32_t buttonWidth; // the spread width of the row's buttons
    int32_t productX;
    int32_t productWidth;
    // The pixels the even spread leaves over, halved (toward zero) into two gaps that set groups
    // of buttons apart; gap1 + gap2 is the whole leftover, which may be -1.
    int32_t gap1;
    int32_t gap2;
};

RowMetrics PlanRowMetrics(const RowMetricsInput& input);

// How high a list opens: the visible rows plus the list's extra command rows, but no more rows
// than the list can hold, and never taller than the work area. extraRows is 5 for the recent row
// with "Include EditRecent", 6 for the favourite row with "Include AddEditFavs", 3 otherwise.
int32_t ListOpenHeight(const HookSettings& settings, uint16_t charHeight, int32_t extraRows,
                       int32_t workAreaHeight);

// A layout's pass: the first one, while the dialog is still hidden, or a later re-layout of a
// resizable dialog. The gaps fall differently: the first layout puts the wider gap before Move,
// the re-layout before Find files.
enum class AddedRowsPass { kFirstLayout, kRelayout };

struct AddedRowsInput {
    AddedRowsPass pass;
    AddedControlSet present;  // the controls that exist: only these are placed
    AddedRowsMetrics metrics; // from MeasureAddedRows, or the record's on a re-layout
    uint16_t charHeight;
    uint16_t avgCharWidth;
    LayoutRect dialog; // the window rectangle once the dialog holds the rows, screen coordinates
    int32_t clientWidth;
    int32_t clientHeight; // the rows fill the bottom of the client area
    bool hasFileTypes;
    int32_t fileTypesLeft;
    bool hasPlacesBar;
    int32_t placesBarRight;
    int32_t workAreaHeight;
};

// Every present control's rectangle in dialog client coordinates, by AddedControl. A list's
// rectangle is as high as the list opens, which is the height of a drop-down box's window.
struct AddedRowsPlan {
    RowMetrics row;
    int32_t rowTop;  // the button row
    int32_t infoTop; // the information line's row
    int32_t listTop; // the first list row
    bool placed[kAddedControlCount];
    LayoutRect rects[kAddedControlCount];
};

AddedRowsPlan PlanAddedRows(const HookSettings& settings, const AddedRowsInput& input);

} // namespace vn
