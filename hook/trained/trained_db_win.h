// The trained database on disk: RecordFile over the Win32 file calls, and the load, save and
// import of trained_db.h bound to it for the library and the manager.
#pragma once

#include "hook/trained/trained_db.h"
#include "hook/core/sizes.h"

#include <windows.h>

namespace vn {

// Reads with CreateFileA (which, unlike OpenFile, takes paths of any length up to the limit) and
// writes through a temporary file "<path>.tmp" beside the target that replaces it only when the
// whole content was written, so that a failed save leaves the old database in place.
class Win32RecordFile final : public RecordFile {
  public:
    Win32RecordFile() = default;
    ~Win32RecordFile();
    Win32RecordFile(const Win32RecordFile&) = delete;
    Win32RecordFile& operator=(const Win32RecordFile&) = delete;

    bool OpenRead(const char* path) override;
    bool OpenWrite(const char* path) override;
    size_t Read(void* dst, size_t n) override;
    size_t Write(const void* src, size_t n) override;
    bool Close(bool commit) override;

  private:
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    bool writing_ = false;
    bool writeFailed_ = false;
    char target_[kMaxPath + 1] = {};
    char temp_[kMaxPath + 1] = {};
};

// The library's and the manager's entry points: each opens, uses and closes the file within the
// call. Their results are those of the rules in trained_db.h.
int LoadTrainedDatabaseFile(const char* path, TrainedEntry* slots);
bool SaveTrainedDatabaseFile(const char* path, TrainedEntry* entries, int count);
int ImportTrainingFileWin(const char* path, TrainedEntry* entries, int count);

} // namespace vn
