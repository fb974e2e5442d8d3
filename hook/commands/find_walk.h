// The file search of the Find files box: a resumable, depth-first walk of a folder tree that
// yields one match per step, so that the box's thread can handle its messages between steps.
// The file system and the message pump are behind FindSystem, which the tests fake.
#pragma once

#include "hook/core/compat.h"

#include <memory>

namespace vn {

constexpr size_t kFindNameSize = 260;
constexpr size_t kFindMaskSize = 200;
constexpr int kFindMaskSlots = 10;
constexpr size_t kFindLineSize = 340; // a found line: at most 339 characters
constexpr uint32_t kFindDirectoryAttribute = 0x10;
// Enumerations opened and entries read between two stop checks when no match comes: about one
// folder of ordinary size, a millisecond or so.
constexpr int kFindReadsPerCheck = 32;

// One directory entry as the file system reports it.
struct FoundFile {
    char name[kFindNameSize];
    uint32_t attributes;
    uint64_t size;
    uint64_t created;
    uint64_t accessed;
    uint64_t written;
};

// A match the walk yields: the file, its name split for the line, and where it was found.
struct FindEntry {
    FoundFile file;
    char base[kFindNameSize];
    char extension[kFindNameSize];
    char folder[kFindNameSize];
};

// What the walk needs of the platform. A search token is an open enumeration; null means none.
class FindSystem {
  public:
    virtual ~FindSystem() = default;
    // Starts enumerating pattern (a folder joined with a mask); null when nothing matches or the
    // folder cannot be read.
    virtual void* FindFirst(const char* pattern, FoundFile* out) = 0;
    virtual bool FindNext(void* search, FoundFile* out) = 0;
    virtual void FindClose(void* search) = 0;
    // Whether the drive of an absolute folder can be searched at all (a removable drive without
    // a medium cannot).
    virtual bool DriveReady(const char* folder) = 0;
    // Handles the thread's pending messages; true when the user asked to stop (or the box went
    // away). The walk asks at every step, and also every kFindReadsPerCheck reads while no match
    // comes, so that a long stretch without matches does not leave the messages waiting.
    virtual bool StopRequested() = 0;
    // The walk enters a subfolder.
    virtual void ShowFolder(const char* folder) = 0;
};

enum class WalkResult { kEntry = 0, kComplete = 1, kError = 2, kStopped = 3, kListFull = 4 };

// The masks of one search: the text cut at every ";" into at most ten slots of 199 characters.
// An empty first slot stands for "*.*".
struct FindMasks {
    char slot[kFindMaskSlots][kFindMaskSize];
};

// False when text remains after the tenth mask.
bool SplitMasks(const char* text, FindMasks* out);

// Splits a file name at its last "." that is not the first character; a leading "." with no
// other dot makes the whole rest the extension.
void SplitFileName(const char* name, char* base, char* extension, size_t cap);

// The line a match is listed as: folder, backslash, base, "." and extension; the "." stays
// also for an empty extension. Cut to cap - 1 characters.
void FormatFoundLine(const FindEntry& entry, char* line, size_t cap);

// A search root that names a folder's last part may instead end in a mask ("C:\work\*.txt").
// Whether the root's last part needs that test: it has one after its last "\" or ":" and is not
// a network root.
bool RootNeedsFolderTest(const char* root);

// For a root whose last part is not a folder: the root cut after its last "\" or ":", and the
// cut-off part as the mask unless the masks field already gives masks.
void CutRootToMask(const char* root, const char* masksField, char* folder, size_t folderCap,
                   char* masks, size_t masksCap);

// One folder of the walk. It never changes the process's current directory: a library running
// in another program must leave that as the program set it, so every path here is absolute.
class FolderWalk {
  public:
    // The top of a search: folder must be absolute. Not valid when the masks do not split or
    // the folder's drive is not ready.
    FolderWalk(FindSystem& system, const char* folder, const char* masksText);
    ~FolderWalk();
    FolderWalk(const FolderWalk&) = delete;
    FolderWalk& operator=(const FolderWalk&) = delete;

    bool Valid() const { return valid_; }

    // One step: checks for a stop first (and again before each folder it enters on the way), then
    // yields the next match (kEntry) or ends with kComplete, kError or kStopped; once ended it
    // keeps giving that result.
    WalkResult Next(FindEntry* out);

  private:
    FolderWalk(FindSystem& system, const char* folder, const FindMasks& masks, bool foldersOnly,
               int* reads);
    WalkResult Step(FindEntry* out);
    bool StopBetweenReads();
    VN_NOINLINE WalkResult Match(FindEntry* out);
    void CloseSearch();
    WalkResult Descend(FindEntry* out);
    VN_NOINLINE WalkResult OpenNextSubfolder();

    FindSystem& system_;
    char folder_[kFindNameSize] = "";
    FindMasks masks_{};
    int slot_ = 0;
    void* search_ = nullptr;
    bool newSlot_ = true;
    bool matchingDone_ = false;
    bool foldersOnly_ = false;
    bool valid_ = false;
    bool ended_ = false;
    WalkResult endResult_ = WalkResult::kComplete;
    // Reads since the last stop check, counted for the whole walk in its top object.
    int ownReads_ = 0;
    int* reads_ = &ownReads_;
    std::unique_ptr<FolderWalk> subfolders_;
    std::unique_ptr<FolderWalk> nested_;
};

} // namespace vn
