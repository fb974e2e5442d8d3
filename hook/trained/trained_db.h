// The trained database: a file of TrainedEntry records with nothing before, between or after
// them, loaded into and saved from fixed arrays of slots. The rules here know nothing of the
// platform; they reach the file through RecordFile so that the Win32 file (trained_db_win.h) and
// the in-memory file of the tests run the same code.
#pragma once

#include "hook/core/trained_entry.h"

namespace vn {

// Whole-file access, one file at a time: open, read or write from the start to the end, close.
// A write never changes the file in place: the written bytes become the file's content only when
// the writer is closed with commit set, so a save that fails half-way leaves the old file intact.
class RecordFile {
  public:
    // Opens an existing file for reading from its first byte.
    virtual bool OpenRead(const char* path) = 0;
    // Starts a new content for path (created if missing); nothing is visible until Close(true).
    virtual bool OpenWrite(const char* path) = 0;
    // Reads up to n bytes; fewer than n only at the end of the file or on a read error.
    virtual size_t Read(void* dst, size_t n) = 0;
    // Writes up to n bytes; fewer than n means the write failed.
    virtual size_t Write(const void* src, size_t n) = 0;
    // Ends the read or write in progress. For a write, commit publishes the bytes written as the
    // file's whole content and false discards them. Returns true only for a published write.
    virtual bool Close(bool commit) = 0;

  protected:
    ~RecordFile() = default; // never owned through this interface
};

// Loads up to kMaxTrainedEntries records from path into slots, which the caller has zeroed.
// Records of an older, shorter layout are widened with zeroes. When the file held such records
// and was read to its end without damage, it is rewritten at once in the current layout; a file
// with a bad or cut record, or with records beyond the limit, is left as it is so that nothing the
// load did not take is lost. Returns the number of records loaded (0 when the file cannot be read).
int LoadTrainedDatabase(RecordFile& file, const char* path, TrainedEntry* slots);

// Replaces the file's content with the first count entries (clamped to 0..kMaxTrainedEntries),
// setting each entry's length to the record size. The old file stays as it was unless every
// record was written. Returns whether the new content was published.
bool SaveTrainedDatabase(RecordFile& file, const char* path, TrainedEntry* entries, int count);

// Appends the records of a training file to the count entries already in entries (room for
// kMaxTrainedEntries), stopping at that limit. Every record must be of the current layout: a file
// with any other record returns -1 and leaves the slots after the existing entries zeroed. A
// missing file, or a full array (the file is then not opened), returns the count unchanged.
// Otherwise returns the new count.
int ImportTrainingFile(RecordFile& file, const char* path, TrainedEntry* entries, int count);

} // namespace vn
