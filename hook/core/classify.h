// Classification of every window created on the desktop: is it a standard Open or Save dialog of
// the common-dialog library (to be taken over), a dialog that matches a trained entry, or anything
// else (left alone)? The decision works on nothing but creation records: a dialog-class window
// becomes the candidate, and the standard controls created into it are counted until six have
// been seen. A dialog and its controls are created by one thread, so each thread keeps a watch of
// its own: with one watch for the whole desktop, applications opening dialogs at the same moment
// took each other's candidates and some dialogs were never recognised. The rest of the state
// (switches, trained entries, the ring of recent windows offered for training) is shared by all
// processes without a lock, so every value read from it is treated as possibly stale or hostile.
//
// The Common Item Dialog (IFileOpenDialog, IFileSaveDialog) is a kind of its own: the library
// builds it from a template of its own whose controls are a few of the classic ids in a fixed
// order, without the Look-in box or the classic file list. It is recognised only by that exact
// order of direct children, all made by the library, before anything else is created in it; a
// dialog whose children come in any other order (an application's look-alike, the classic
// dialog, an item dialog built differently, as other versions of the system do) is left alone.
#pragma once

#include "hook/core/shared_state.h"

namespace vn {

constexpr uint16_t kDialogClassAtom = 0x8002; // "#32770"
constexpr int kFileControlsToDecide = 6;

// The kinds of standard file dialog that are taken over.
enum class DialogKind { kClassic, kItem };

// What the creation record of a new window says, already copied out of the record.
struct CreationInfo {
    uint32_t style;
    uint32_t exStyle;
    uint16_t classAtom;    // nonzero when the class was given as an atom
    const char* className; // the class name when given as a name, else null
    const char* title;     // null when the record has none
    int32_t width;
    int32_t height;
    Handle32 parent;
    uint32_t controlId; // the menu field: a control's id
};

// One thread's watch over the windows it creates.
struct ClassifyWatch {
    Handle32 candidateWindow;     // the dialog being watched
    uint32_t fileDialogPending;   // its controls are being counted
    uint32_t comdlgControlSeen;   // a drop-down list of the common-dialog library was created
    uint32_t listTwoSeen;         // the shell view's container was created
    int32_t fileControlCount;     // standard file-dialog controls seen so far
    uint32_t trainedMatchPending; // the candidate matches a trained entry
    int32_t matchedTrainedIndex;  // which one
    int32_t itemStep;             // direct children matching the item dialog's order; -1: none
};

// What classification needs from the platform and from the trained-dialog handling.
class ClassifyHost {
  public:
    // This process's module name (executable name without folder and extension).
    virtual const char* ModuleName() = 0;
    // The window style of a window (0 when there is none).
    virtual uint32_t WindowStyle(Handle32 window) = 0;
    // The parent window of a window (0 when none).
    virtual Handle32 ParentOf(Handle32 window) = 0;
    // The file name of the module that owns a window (its instance); empty when unknown.
    virtual void OwnerModuleFile(Handle32 window, char* buf, size_t size) = 0;
    // Trained-window slots of this process: whether a window has one, its entry's module name.
    virtual bool HasTrainedSlot(Handle32 window) = 0;
    virtual bool TrainedSlotModule(Handle32 window, char* module, size_t size) = 0;
    // Whether a trained dialog of this module is being handled in this process.
    virtual bool TrainedActiveFor(const char* module) = 0;
    // Hands a pending trained match to the trained-dialog handling.
    virtual void HandTrainedMatch(int entryIndex, Handle32 dialog) = 0;
    // Sets a standard file dialog of a kind up (settings, lists, exclusions, keys, record,
    // procedure). Returns whether it was taken over.
    virtual bool SetUpFileDialog(Handle32 dialog, const char* module, bool training,
                                 DialogKind kind) = 0;

  protected:
    ~ClassifyHost() = default;
};

// Whether the window is a top-level dialog candidate: not a child, and either of the dialog class,
// or with a modal dialog frame, or with a full caption.
bool IsDialogCandidate(const CreationInfo& info);

// 1 for the dialog class atom and the class names "bordlg" and "TfFileDlg"; 0 otherwise.
uint32_t IsDialogClass(const CreationInfo& info);

// Classifies one newly created window, with the watch of the thread that creates it.
void Classify(SharedState& s, ClassifyWatch& watch, ClassifyHost& host, const CreationInfo& info,
              Handle32 window);

} // namespace vn
