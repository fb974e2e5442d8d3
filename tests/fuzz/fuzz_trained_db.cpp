// Feeds arbitrary bytes to the trained database as a database file and as a training file, and
// checks what must hold for any file: counts within the limit, loaded slots of full length,
// nothing written outside the entries a call may fill, a rewrite only of what was loaded, and a
// rejected import that leaves no trace.
#include "hook/trained/trained_db.h"
#include "tests/common/memory_record_file.h"

#include <cstdlib>
#include <cstring>

namespace {

using vn::kMaxTrainedEntries;
using vn::kTrainedSlots;
using vn::TrainedEntry;
using vntest::Bytes;

constexpr size_t kSize = sizeof(TrainedEntry);

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            abort();                                                                               \
    } while (0)

TrainedEntry slots[kTrainedSlots];
TrainedEntry again[kTrainedSlots];

bool Filled(const TrainedEntry& e, unsigned char value) {
    static unsigned char pattern[kSize];
    memset(pattern, value, kSize);
    return memcmp(&e, pattern, kSize) == 0;
}

void CheckLoad(const Bytes& content) {
    vntest::MemoryRecordFile file;
    file.files["db"] = content;
    memset(slots, 0, sizeof slots);
    int count = vn::LoadTrainedDatabase(file, "db", slots);
    FUZZ_CHECK(count >= 0 && count <= kMaxTrainedEntries);
    FUZZ_CHECK(!file.IsOpen());
    for (int i = 0; i < count; ++i)
        FUZZ_CHECK(slots[i].length == kSize);
    for (int i = count; i < kTrainedSlots; ++i)
        FUZZ_CHECK(Filled(slots[i], 0));

    // Either the file is untouched or it holds exactly the loaded records.
    const Bytes& now = file.files["db"];
    if (file.commits == 0) {
        FUZZ_CHECK(now == content);
    } else {
        FUZZ_CHECK(now.size() == static_cast<size_t>(count) * kSize);
        FUZZ_CHECK(count == 0 || memcmp(now.data(), slots, now.size()) == 0);
        // Only a file read to its end is rewritten, so widening can only grow it.
        FUZZ_CHECK(now.size() >= content.size());
    }

    // What was loaded saves and loads back unchanged.
    FUZZ_CHECK(vn::SaveTrainedDatabase(file, "copy", slots, count));
    memset(again, 0, sizeof again);
    FUZZ_CHECK(vn::LoadTrainedDatabase(file, "copy", again) == count);
    FUZZ_CHECK(memcmp(again, slots, sizeof slots) == 0);
}

void CheckImport(const Bytes& content, int count) {
    vntest::MemoryRecordFile file;
    file.files["vnt"] = content;
    memset(slots, 0, sizeof slots);
    for (int i = 0; i < count; ++i)
        memset(&slots[i], 0x33, kSize);
    for (int i = kMaxTrainedEntries; i < kTrainedSlots; ++i)
        memset(&slots[i], 0x5a, kSize); // scratch slots belong to training
    int result = vn::ImportTrainingFile(file, "vnt", slots, count);
    FUZZ_CHECK(result == -1 || (result >= count && result <= kMaxTrainedEntries));
    FUZZ_CHECK(!file.IsOpen() && file.commits == 0);
    for (int i = 0; i < count; ++i)
        FUZZ_CHECK(Filled(slots[i], 0x33));
    int taken = result == -1 ? count : result;
    for (int i = count; i < taken; ++i)
        FUZZ_CHECK(slots[i].length == kSize);
    for (int i = taken; i < kMaxTrainedEntries; ++i)
        FUZZ_CHECK(Filled(slots[i], 0));
    for (int i = kMaxTrainedEntries; i < kTrainedSlots; ++i)
        FUZZ_CHECK(Filled(slots[i], 0x5a));
    // Records of any length other than the full one are never taken.
    if (result > count)
        FUZZ_CHECK(content.size() >= static_cast<size_t>(result - count) * kSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Bytes content(data, data + size);
    CheckLoad(content);
    CheckImport(content, 0);
    CheckImport(content, kMaxTrainedEntries - 1);
    return 0;
}
