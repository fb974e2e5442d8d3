#include "hook/trained/trained_db.h"
#include "tests/common/memory_record_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using vn::kMaxTrainedEntries;
using vn::kTrainedRecordSize;
using vn::TrainedEntry;
using vntest::Bytes;

constexpr char kDb[] = "C:\\data\\vantor.dat";
constexpr size_t kSize = static_cast<size_t>(kTrainedRecordSize);

// A record as a file holds it: `length` bytes, starting with that length, filled with a pattern
// that differs per record so that a record read at the wrong offset shows.
Bytes Record(unsigned length, unsigned char seed) {
    Bytes r(length);
    for (size_t i = 2; i < r.size(); ++i)
        r[i] = static_cast<unsigned char>(seed + i % 7 + 1);
    r[0] = static_cast<unsigned char>(length & 0xff);
    r[1] = static_cast<unsigned char>(length >> 8);
    return r;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

Bytes Full(int n, unsigned char seed = 0) {
    Bytes all;
    for (int i = 0; i < n; ++i)
        all = Join({all, Record(kTrainedRecordSize, static_cast<unsigned char>(seed + i))});
    return all;
}

Bytes SlotBytes(const TrainedEntry& e) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(&e);
    return Bytes(p, p + sizeof e);
}

bool IsZero(const TrainedEntry& e) {
    return SlotBytes(e) == Bytes(kSize, 0);
}

// The slot a record of the given bytes must load into: its bytes, zeroes after, full length.
Bytes Expected(const Bytes& record) {
    Bytes slot(kSize, 0);
    std::copy(record.begin(), record.end(), slot.begin());
    slot[0] = kSize & 0xff;
    slot[1] = kSize >> 8;
    return slot;
}

struct TrainedDbTest : ::testing::Test {
    vntest::MemoryRecordFile file;
    TrainedEntry slots[vn::kTrainedSlots] = {};

    int Load(const Bytes& content) {
        file.files[kDb] = content;
        return vn::LoadTrainedDatabase(file, kDb, slots);
    }
};

TEST_F(TrainedDbTest, FullRecordsLoadInFileOrderWithoutRewrite) {
    EXPECT_EQ(Load(Full(3)), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(SlotBytes(slots[i]), Record(kTrainedRecordSize, static_cast<unsigned char>(i)));
    EXPECT_TRUE(IsZero(slots[3]));
    EXPECT_EQ(file.writeOpens, 0);
    EXPECT_FALSE(file.IsOpen());
}

TEST_F(TrainedDbTest, ShortRecordsAreWidenedAndTheFileRewritten) {
    Bytes a = Record(4000, 10), b = Record(kTrainedRecordSize, 20), c = Record(540, 30);
    ASSERT_EQ(Load(Join({a, b, c})), 3);
    EXPECT_EQ(SlotBytes(slots[0]), Expected(a));
    EXPECT_EQ(SlotBytes(slots[1]), Expected(b));
    EXPECT_EQ(SlotBytes(slots[2]), Expected(c));
    EXPECT_EQ(slots[2].defaultExt[0], 0);
    EXPECT_EQ(slots[0].fileTypes[vn::kFileTypeSlots - 1][0], 0);
    EXPECT_EQ(file.files[kDb], Join({Expected(a), Expected(b), Expected(c)}));
}

TEST_F(TrainedDbTest, FiftyShortRecordsEndingTheFileAreRewritten) {
    Bytes content;
    for (int i = 0; i < kMaxTrainedEntries; ++i)
        content = Join({content, Record(100, static_cast<unsigned char>(i))});
    EXPECT_EQ(Load(content), kMaxTrainedEntries);
    EXPECT_EQ(file.files[kDb].size(), kMaxTrainedEntries * kSize);
}

TEST_F(TrainedDbTest, RecordsBeyondFiftyStayInTheFile) {
    for (const Bytes& content : {Full(60), Join({Record(4000, 1), Full(59)})}) {
        file = {};
        EXPECT_EQ(Load(content), kMaxTrainedEntries);
        EXPECT_TRUE(IsZero(slots[kMaxTrainedEntries]));
        EXPECT_EQ(file.files[kDb], content);
        EXPECT_EQ(file.writeOpens, 0);
    }
}

// A length the layout cannot hold stops the load: the entries before it are kept, its slot stays
// zero and the file is left alone even when an earlier record was short, since a rewrite would
// drop the records after it.
TEST_F(TrainedDbTest, BadLengthStopsTheLoadAndKeepsTheFile) {
    for (unsigned length : {0u, 1u, 4869u, 65535u}) {
        for (const Bytes& head : {Full(2), Join({Record(4000, 3), Full(1)})}) {
            file = {};
            Bytes bad = {static_cast<unsigned char>(length & 0xff),
                         static_cast<unsigned char>(length >> 8)};
            Bytes content = Join({head, bad, Full(2, 50)});
            SCOPED_TRACE(testing::Message() << "length " << length << " head " << head.size());
            EXPECT_EQ(Load(content), 2);
            EXPECT_TRUE(IsZero(slots[2]));
            EXPECT_EQ(file.files[kDb], content);
            EXPECT_EQ(file.writeOpens, 0);
        }
    }
}

TEST_F(TrainedDbTest, RecordCutByTheEndOfTheFileIsNotCounted) {
    Bytes head = Join({Record(4000, 1), Full(1)});
    Bytes cutBody = Full(1, 9), cutLength = {0x04};
    cutBody.resize(3000);
    for (const Bytes& cut : {cutBody, cutLength}) {
        file = {};
        memset(slots, 0, sizeof slots);
        Bytes content = Join({head, cut});
        EXPECT_EQ(Load(content), 2);
        EXPECT_TRUE(IsZero(slots[2]));
        EXPECT_EQ(file.files[kDb], content);
    }
}

TEST_F(TrainedDbTest, MissingFileLoadsNothing) {
    EXPECT_EQ(vn::LoadTrainedDatabase(file, kDb, slots), 0);
    EXPECT_TRUE(file.files.empty());
}

TEST_F(TrainedDbTest, UpgradeThatCannotBeWrittenKeepsTheFile) {
    Bytes content = Join({Record(4000, 1), Record(4000, 2)});
    file.writeLimit = kSize + 10;
    EXPECT_EQ(Load(content), 2);
    EXPECT_EQ(file.files[kDb], content);
    EXPECT_EQ(SlotBytes(slots[1]), Expected(Record(4000, 2)));
}

TEST_F(TrainedDbTest, SaveWritesFullRecordsOfAClampedCount) {
    ASSERT_EQ(Load(Full(3)), 3);
    slots[1].length = 12;
    EXPECT_TRUE(vn::SaveTrainedDatabase(file, "copy.dat", slots, 3));
    EXPECT_EQ(file.files["copy.dat"], Full(3));
    for (int count : {0, -5}) {
        file.files[kDb] = Full(2);
        EXPECT_TRUE(vn::SaveTrainedDatabase(file, kDb, slots, count));
        EXPECT_TRUE(file.files[kDb].empty());
    }
    EXPECT_TRUE(vn::SaveTrainedDatabase(file, kDb, slots, 70));
    EXPECT_EQ(file.files[kDb].size(), kMaxTrainedEntries * kSize);
}

TEST_F(TrainedDbTest, FailedSaveLeavesTheOldFile) {
    for (long limit : {0L, static_cast<long>(2 * kSize + 100), static_cast<long>(3 * kSize - 1)}) {
        file.files[kDb] = Full(5);
        file.writeLimit = limit;
        EXPECT_FALSE(vn::SaveTrainedDatabase(file, kDb, slots, 3));
        EXPECT_EQ(file.files[kDb], Full(5));
    }
    file.writeLimit = -1;
    file.failOpenWrite = true;
    EXPECT_FALSE(vn::SaveTrainedDatabase(file, kDb, slots, 0));
    EXPECT_EQ(file.files[kDb], Full(5));
}

struct TrainedImportTest : TrainedDbTest {
    static constexpr char kVnt[] = "import.vnt";
    Bytes before;

    // Two existing entries and a marked scratch slot that no import may touch.
    void SetUp() override {
        ASSERT_EQ(Load(Full(2, 100)), 2);
        memset(&slots[kMaxTrainedEntries], 0x5a, sizeof slots[0]);
        before = SlotBytes(slots[1]);
    }
    int Import(const Bytes& content, int count) {
        file.files[kVnt] = content;
        return vn::ImportTrainingFile(file, kVnt, slots, count);
    }
};

TEST_F(TrainedImportTest, RecordsAreAppendedAfterTheExistingEntries) {
    EXPECT_EQ(Import(Full(3, 7), 2), 5);
    EXPECT_EQ(SlotBytes(slots[1]), before);
    EXPECT_EQ(SlotBytes(slots[4]), Record(kTrainedRecordSize, 9));
    EXPECT_EQ(Import(Bytes{}, 5), 5);
}

TEST_F(TrainedImportTest, AnyRecordNotOfFullSizeRejectsTheWholeFile) {
    Bytes cut = Full(1);
    cut.resize(kSize - 1);
    for (const Bytes& bad : {Record(4000, 1), Record(kTrainedRecordSize + 1, 1), cut, Bytes{1}}) {
        EXPECT_EQ(Import(Join({Full(2, 7), bad}), 2), -1);
        EXPECT_EQ(SlotBytes(slots[1]), before);
        for (int i = 2; i < kMaxTrainedEntries; ++i)
            ASSERT_TRUE(IsZero(slots[i])) << i;
        EXPECT_EQ(Import(bad, 2), -1);
    }
}

TEST_F(TrainedImportTest, StopsAtFiftyWithoutReadingFurther) {
    EXPECT_EQ(Import(Join({Full(1, 7), Record(4000, 1)}), 49), kMaxTrainedEntries);
    EXPECT_EQ(SlotBytes(slots[49]), Record(kTrainedRecordSize, 7));
    Bytes scratch(kSize, 0x5a);
    EXPECT_EQ(SlotBytes(slots[kMaxTrainedEntries]), scratch);
}

TEST_F(TrainedImportTest, FullOrHostileCountDoesNotOpenTheFile) {
    int opens = file.readOpens;
    EXPECT_EQ(Import(Full(1), kMaxTrainedEntries), kMaxTrainedEntries);
    EXPECT_EQ(Import(Full(1), 1000), kMaxTrainedEntries);
    EXPECT_EQ(file.readOpens, opens);
    EXPECT_EQ(Import(Full(1, 7), -3), 1);
    EXPECT_EQ(SlotBytes(slots[0]), Record(kTrainedRecordSize, 7));
}

TEST_F(TrainedImportTest, MissingFileKeepsTheCount) {
    EXPECT_EQ(vn::ImportTrainingFile(file, "none.vnt", slots, 2), 2);
    EXPECT_TRUE(IsZero(slots[2]));
}

struct TrainedMatchTest : ::testing::Test {
    TrainedEntry a = {};
    TrainedEntry b = {};
    void SetUp() override {
        for (TrainedEntry* e : {&a, &b}) {
            e->style = 0x80C800C4u;
            e->exStyle = 0x101;
            e->width = 400;
            e->height = -1;
            strcpy(e->moduleName, "Editor");
            strcpy(e->originalTitle, "Open File");
            strcpy(e->finalTitle, "Open");
        }
    }
    bool Matches(const char* title, const char* module = "EDITOR") {
        return vn::MatchesCreation(a, 0x80C800C4u, 0x101, 400, -1, title, module);
    }
};

TEST_F(TrainedMatchTest, CreationMatchIgnoresCaseOfTitleAndModule) {
    EXPECT_TRUE(Matches("OPEN file", "editor"));
    EXPECT_FALSE(Matches("Open File2"));
    EXPECT_FALSE(Matches("Open File", "Editor2"));
    EXPECT_FALSE(Matches(nullptr));
    EXPECT_FALSE(vn::MatchesCreation(a, 0x80C800C4u, 0x101, 400, 1, "Open File", "Editor"));
    EXPECT_FALSE(vn::MatchesCreation(a, 0x80C800C4u, 0x100, 400, -1, "Open File", "Editor"));
    a.originalTitle[0] = 0;
    EXPECT_TRUE(Matches(nullptr));
    EXPECT_TRUE(Matches(""));
    EXPECT_FALSE(Matches("Open File"));
}

// A field that fills its whole size without a terminator holds its size less one characters;
// the comparison must neither run into the next field nor miss a long title cut the same way.
TEST_F(TrainedMatchTest, TextFieldsAreReadWithinTheirSize) {
    memset(a.moduleName, 'm', sizeof a.moduleName);
    memset(a.originalTitle, 't', sizeof a.originalTitle);
    std::string module(255, 'M'), title(79, 'T');
    EXPECT_TRUE(Matches(title.c_str(), module.c_str()));
    EXPECT_TRUE(Matches((title + "longer").c_str(), module.c_str()));
    EXPECT_FALSE(Matches(title.substr(1).c_str(), module.c_str()));
    memset(a.finalTitle, 'f', sizeof a.finalTitle);
    b = a;
    b.reserved498[0] = 'x'; // what follows the last text field differs
    EXPECT_TRUE(vn::IsSameDialog(a, b));
    strcpy(b.originalTitle, "Save"); // what follows the module name differs
    EXPECT_TRUE(vn::IsSibling(a, b));
}

TEST_F(TrainedMatchTest, SameDialogComparesTitlesAsWritten) {
    EXPECT_TRUE(vn::IsSameDialog(a, b));
    strcpy(b.moduleName, "EDITOR");
    EXPECT_TRUE(vn::IsSameDialog(a, b));
    strcpy(b.finalTitle, "OPEN");
    EXPECT_FALSE(vn::IsSameDialog(a, b));
    EXPECT_TRUE(vn::IsSibling(a, b));
    strcpy(b.originalTitle, "Save");
    EXPECT_TRUE(vn::IsSibling(a, b));
    b.width = 401;
    EXPECT_FALSE(vn::IsSibling(a, b));
    b = a;
    strcpy(b.moduleName, "Editor2");
    EXPECT_FALSE(vn::IsSibling(a, b));
}

} // namespace
