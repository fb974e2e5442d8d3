#include "hook/trained/trained_db_win.h"

#include "hook/core/text.h"

namespace vn {

namespace {

// ReadFile and WriteFile move at most a DWORD at a time.
DWORD ChunkSize(size_t n) {
    return n > 0x40000000u ? 0x40000000u : static_cast<DWORD>(n);
}

// Copies path into dst when it fits whole; a cut path would name another file.
bool CopyWholePath(char* dst, size_t cap, const char* path) {
    if (!path || !path[0])
        return false;
    size_t length = BoundedLength(path, cap);
    if (length >= cap)
        return false;
    CopyText(dst, cap, path);
    return true;
}

} // namespace

Win32RecordFile::~Win32RecordFile() {
    Close(false);
}

bool Win32RecordFile::OpenRead(const char* path) {
    Close(false);
    if (!CopyWholePath(target_, sizeof target_, path))
        return false;
    // Sharing delete lets a save in another process replace the file while it is being read; the
    // reader keeps the old content.
    handle_ =
        CreateFileA(target_, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    return handle_ != INVALID_HANDLE_VALUE;
}

bool Win32RecordFile::OpenWrite(const char* path) {
    Close(false);
    if (!CopyWholePath(target_, sizeof target_, path))
        return false;
    // The temporary name must fit the same limit; a path too long for it is not saved at all.
    CopyText(temp_, sizeof temp_, target_);
    if (AppendText(temp_, sizeof temp_, ".tmp") != BoundedLength(target_, sizeof target_) + 4)
        return false;
    // No sharing: a second writer (training in another process while the manager saves) fails
    // here instead of mixing its records into ours.
    handle_ = CreateFileA(temp_, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                          nullptr);
    if (handle_ == INVALID_HANDLE_VALUE)
        return false;
    writing_ = true;
    writeFailed_ = false;
    return true;
}

size_t Win32RecordFile::Read(void* dst, size_t n) {
    if (handle_ == INVALID_HANDLE_VALUE || writing_ || !dst)
        return 0;
    size_t done = 0;
    while (done < n) {
        DWORD got = 0;
        if (!ReadFile(handle_, static_cast<char*>(dst) + done, ChunkSize(n - done), &got,
                      nullptr) ||
            got == 0)
            break;
        done += got;
    }
    return done;
}

size_t Win32RecordFile::Write(const void* src, size_t n) {
    if (handle_ == INVALID_HANDLE_VALUE || !writing_ || writeFailed_ || !src)
        return 0;
    size_t done = 0;
    while (done < n) {
        DWORD put = 0;
        if (!WriteFile(handle_, static_cast<const char*>(src) + done, ChunkSize(n - done), &put,
                       nullptr) ||
            put == 0) {
            writeFailed_ = true;
            break;
        }
        done += put;
    }
    return done;
}

bool Win32RecordFile::Close(bool commit) {
    if (handle_ == INVALID_HANDLE_VALUE)
        return false;
    bool published = false;
    if (writing_) {
        // The data reaches the disk before the name does, so that a crash between the two leaves
        // either the old file or the complete new one.
        bool ok = commit && !writeFailed_ && FlushFileBuffers(handle_);
        ok = CloseHandle(handle_) && ok;
        handle_ = INVALID_HANDLE_VALUE;
        if (ok)
            published = MoveFileExA(temp_, target_,
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
        if (!published)
            DeleteFileA(temp_);
    } else {
        CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    writing_ = false;
    writeFailed_ = false;
    return published;
}

int LoadTrainedDatabaseFile(const char* path, TrainedEntry* slots) {
    Win32RecordFile file;
    return LoadTrainedDatabase(file, path, slots);
}

bool SaveTrainedDatabaseFile(const char* path, TrainedEntry* entries, int count) {
    Win32RecordFile file;
    return SaveTrainedDatabase(file, path, entries, count);
}

int ImportTrainingFileWin(const char* path, TrainedEntry* entries, int count) {
    Win32RecordFile file;
    return ImportTrainingFile(file, path, entries, count);
}

} // namespace vn
