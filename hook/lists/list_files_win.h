// The recent and favourite lists as the dialog code calls them: the real list files through the
// profile functions, this process's cache and the all-applications lists of the shared state.
//
// Every operation that reads or changes a list file, or changes the shared lists, holds the
// session's lists mutex, so that two processes never interleave their changes of one file and
// never write from a copy the other has made stale. The wait is bounded: a dialog must not hang
// because another process does. An operation that cannot get the mutex in time is skipped (a
// load keeps the copy in memory, a change is not made and reports failure where it can).
// The readers of the lists in memory (ListOf, ListLast, FirstFavoriteFolder, LastUsedFolder) take
// no lock.
#pragma once

#include <windows.h>

#include "hook/lists/list_store.h"

namespace vn {

// How long a dialog's thread waits for the lists mutex: it gives up when no holder has let the
// mutex go for kListLockStallMs (a holder that hangs), and in any case after kListLockMaxWaitMs
// (a queue of other processes' changes that will not drain).
constexpr DWORD kListLockStallMs = 2500;
constexpr DWORD kListLockMaxWaitMs = 12000;
constexpr const char* kListMutexName = "Local\\VantorListsMutex";

// When a dialog starts: the application's lists into the cache (taking a slot on first use),
// then the all-applications lists once for the whole session.
void LoadAppLists(const char* module);
void LoadAllAppsLists();
// Frees module's slot; with null, every slot and the lock handle: the library is leaving the
// process (which may live on after the hook is removed).
void ReleaseAppLists(const char* moduleOrNull);

// The lists in memory, for the drop-down lists and the editors. A null module means the
// all-applications lists. Null, or 0, when the application has no slot. Entries of the shared
// lists may be written by other processes at any time: read them as fields of kListEntrySize.
ListEntries* ListOf(const char* moduleOrNull, bool favorite, bool paths);
int ListLast(const char* moduleOrNull, bool favorite, bool paths);

void AddRecent(const char* moduleOrNull, const char* path, bool paths);
BOOL AddFavorite(const char* moduleOrNull, const char* text, bool paths);
BOOL AddFavoriteFromDialog(const char* moduleOrNull, const char* text, bool withFolder);
BOOL AddFolderFavorite(const char* moduleOrNull, const char* folder);
// At close of a dialog of module with a file chosen: the recent lists of module and of all
// applications, by the settings "Dont Save Removable" and "Dont Save Remote".
void RecordChosenFile(const char* module, const char* path);

// The editors' OK: the list's section is deleted and rows stored again in the order shown, all
// under one hold of the lock.
BOOL ReplaceList(const char* moduleOrNull, bool favorite, bool paths, const char* const* rows,
                 int count);

BOOL FirstFavoriteFolder(const char* moduleOrNull, char* buf, size_t size);
BOOL LastUsedFolder(const char* module, char* buf, size_t size);
int ReadOpenToFirstFavorite(const char* module);
void WriteOpenToFirstFavorite(const char* module, int value);
void SaveLastFileType(const char* module, const char* dialogTitle, const char* fileTypeText);
BOOL LoadLastFileType(const char* module, const char* dialogTitle, char* fileTypeText, size_t size);

// When a dialog is taken over: its application's lists into the cache and the all-applications
// lists once for the session, in one hold of the lock. Returns the application's
// "OpenToFirstFavoriteFolder" (0 or 1).
int LoadListsForDialog(const char* module);

// How long a dialog's close waits for the lists before it hands its recording on, and how often a
// recording that nobody else took is tried again by a thread of its own (each try waits as a
// dialog's start does).
constexpr DWORD kCloseLockWaitMs = 800;
constexpr int kLateRecordingAttempts = 10;

enum class RecordingResult {
    kWritten,         // in the files now
    kFavoriteRefused, // in the files now, but the favourite list refused the path
    kHandedToManager, // the manager writes it when the lists are free
    kWritingLater,    // a thread of this process writes it when the lists are free
    kLost,            // nothing could take it (no memory for a thread)
};

// At a dialog's close: writes the recording in one hold of the lock, or, when the lock cannot be
// had within kCloseLockWaitMs, hands it to the manager (WM_COPYDATA through the time-out send)
// or to a thread of this process. The close never waits much longer than a second.
RecordingResult RecordDialogClose(const DialogRecording& recording);

// WM_COPYDATA from the library to the manager: a DialogRecording to be written. The manager
// answers kRecordingAccepted when it took it.
constexpr ULONG_PTR kRecordingCopyId = 0x564E5243; // "VNRC"
constexpr LRESULT kRecordingAccepted = 0x5652;

// The manager's side: recordings handed to it, written in the order they came by a thread of the
// manager's own, so that the window answers the next sender at once however long the lists are
// busy. Accept checks the data as coming from any process of the desktop; it refuses only when
// the writer cannot keep it (not started, or out of memory), and the sender then writes it
// itself. Stop writes what is still queued, waiting for the lists up to waitMs, then ends the
// thread.
class RecordingWriter {
  public:
    RecordingWriter() = default;
    ~RecordingWriter();
    RecordingWriter(const RecordingWriter&) = delete;
    RecordingWriter& operator=(const RecordingWriter&) = delete;

    bool Start();
    bool Accept(const COPYDATASTRUCT* data);
    void Stop(DWORD waitMs);
    int Pending(); // queued, not yet written
    int Written(); // written since Start

  private:
    static DWORD WINAPI Run(LPVOID self);
    bool Take(DialogRecording* out);

    CRITICAL_SECTION lock_ = {};
    HANDLE wake_ = nullptr;
    HANDLE thread_ = nullptr;
    volatile LONG stopping_ = 0;
    DialogRecording* queue_ = nullptr; // a ring of capacity_ entries
    int capacity_ = 0;
    int first_ = 0;
    int count_ = 0;
    int written_ = 0;
};

// The lists mutex, held for the object's life as every operation holds it. Held() tells whether
// it was taken (stallMs 0 takes nothing: the readers' case), Abandoned() whether its previous
// owner died holding it.
class ListLock {
  public:
    explicit ListLock(DWORD stallMs = kListLockStallMs, DWORD maxWaitMs = kListLockMaxWaitMs);
    ~ListLock();
    ListLock(const ListLock&) = delete;
    ListLock& operator=(const ListLock&) = delete;
    bool Held() const { return held_; }
    bool Abandoned() const { return abandoned_; }

  private:
    HANDLE mutex_ = nullptr;
    bool held_ = false;
    bool abandoned_ = false;
};

} // namespace vn
