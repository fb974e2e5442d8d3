#include "hook/trained/trained_db.h"

#include "hook/core/text.h"

#include <cstring>

namespace vn {

namespace {

constexpr size_t kRecordBytes = static_cast<size_t>(kTrainedRecordSize);
constexpr size_t kLengthBytes = sizeof(TrainedEntry::length);

int ClampEntryCount(int count) {
    return count < 0 ? 0 : (count > kMaxTrainedEntries ? kMaxTrainedEntries : count);
}

// How reading one record ended.
enum class RecordRead {
    kFull, // the record is in its slot
    kEnd,  // the file ended cleanly before the record
    kBad,  // a length the layout cannot hold (nothing of it was kept)
    kCut,  // the file ended inside the record (its slot was zeroed)
};

// Reads one record into slot. The length field comes first and is checked before anything is
// read after it, so that a hostile length never reaches beyond the slot; a record shorter than
// the slot fills its leading part and leaves the rest zero. minLength is the shortest length
// accepted; the slot's length becomes the record size.
RecordRead ReadRecord(RecordFile& file, TrainedEntry& slot, uint16_t minLength, bool* shortRecord) {
    unsigned char field[kLengthBytes];
    size_t got = file.Read(field, kLengthBytes);
    if (got == 0)
        return RecordRead::kEnd;
    if (got < kLengthBytes)
        return RecordRead::kCut;
    // The file is little-endian whatever the host is.
    uint16_t length = static_cast<uint16_t>(field[0] | (field[1] << 8));
    if (length > kRecordBytes || length < minLength)
        return RecordRead::kBad;
    memset(&slot, 0, sizeof slot);
    size_t rest = length - kLengthBytes;
    if (file.Read(reinterpret_cast<unsigned char*>(&slot) + kLengthBytes, rest) != rest) {
        memset(&slot, 0, sizeof slot);
        return RecordRead::kCut;
    }
    if (length != kRecordBytes)
        *shortRecord = true;
    slot.length = static_cast<uint16_t>(kTrainedRecordSize);
    return RecordRead::kFull;
}

// Text fields hold at most their size less one character; a byte in the terminator's place,
// which only a damaged file has, is not part of the text. Comparing that many characters at most
// keeps every read inside the field and compares a longer outside text as the field would store
// it (a title cut to 79 characters matches the entry trained from it).

} // namespace

int LoadTrainedDatabase(RecordFile& file, const char* path, TrainedEntry* slots) {
    if (!slots || !file.OpenRead(path))
        return 0;
    int count = 0;
    bool shortRecord = false;
    bool wholeFileTaken = false;
    for (;;) {
        if (count == kMaxTrainedEntries) {
            // Records beyond the limit stay in the file; only a file that ends here is complete.
            unsigned char probe;
            wholeFileTaken = file.Read(&probe, 1) == 0;
            break;
        }
        // A length of 0 or 1 would not even cover the length field: stop there.
        RecordRead result = ReadRecord(file, slots[count], kLengthBytes, &shortRecord);
        if (result != RecordRead::kFull) {
            wholeFileTaken = result == RecordRead::kEnd;
            break;
        }
        ++count;
    }
    file.Close(false);
    // Older records are rewritten in the current layout, but only when the rewrite keeps
    // everything the file held: after a bad record or beyond the limit it would drop the rest of
    // the file, so such a file waits for the next save, which writes what memory holds.
    if (shortRecord && wholeFileTaken)
        SaveTrainedDatabase(file, path, slots, count);
    return count;
}

bool SaveTrainedDatabase(RecordFile& file, const char* path, TrainedEntry* entries, int count) {
    count = ClampEntryCount(count);
    if (!entries && count > 0)
        return false;
    if (!file.OpenWrite(path))
        return false;
    bool complete = true;
    for (int i = 0; i < count && complete; ++i) {
        entries[i].length = static_cast<uint16_t>(kTrainedRecordSize);
        complete = file.Write(&entries[i], kRecordBytes) == kRecordBytes;
    }
    return file.Close(complete) && complete;
}

int ImportTrainingFile(RecordFile& file, const char* path, TrainedEntry* entries, int count) {
    count = ClampEntryCount(count);
    if (count == kMaxTrainedEntries || !entries)
        return count;
    if (!file.OpenRead(path))
        return count;
    int next = count;
    bool shortRecord = false;
    RecordRead result = RecordRead::kFull;
    while (next < kMaxTrainedEntries) {
        // Training files come from elsewhere and must be of the current layout exactly.
        result = ReadRecord(file, entries[next], static_cast<uint16_t>(kTrainedRecordSize),
                            &shortRecord);
        if (result != RecordRead::kFull)
            break;
        ++next;
    }
    file.Close(false);
    if (result == RecordRead::kBad || result == RecordRead::kCut) {
        // The caller keeps its count, so nothing read from this file may stay behind.
        for (int i = count; i < next; ++i)
            memset(&entries[i], 0, sizeof entries[i]);
        return -1;
    }
    return next;
}

} // namespace vn
