#include "hook/core/ini_batch.h"
#include "tests/common/memory_ini.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vn {
namespace {

using vntest::MemoryIni;

struct Write {
    const char* section;
    const char* key;   // null deletes the section
    const char* value; // null deletes the key
};

MemoryIni Given() {
    MemoryIni ini;
    ini.Set("app Recent Files", "Last", "2");
    ini.Set("app Recent Files", "Entry1", "C:\\a.txt");
    ini.Set("app Recent Files", "Sequence", "7");
    ini.Set("app Recent Files", "Entry2", "C:\\b.txt");
    ini.Set("Last File Types", "Open", "Text");
    return ini;
}

// Whatever the writes, the batch leaves the file as writing them one by one does: the same
// sections in the same order, the same keys in the same order, the same values.
TEST(IniBatch, LeavesTheFileAsKeyByKeyWritesWould) {
    const std::vector<std::vector<Write>> cases = {
        {{"app Recent Files", "Entry3", "C:\\c.txt"},
         {"app Recent Files", "Last", "3"},
         {"app Recent Files", "Sequence", "8"}},
        {{"app Recent Files", "entry1", "C:\\new.txt"}, {"ALL Files", "Last", "1"}},
        {{"app Recent Files", nullptr, nullptr},
         {"app Recent Files", "Last", "1"},
         {"app Recent Files", "Entry1", "C:\\only.txt"}},
        {{"app Recent Files", "Entry2", nullptr}, {"Last File Types", "Save", "All"}},
        {{"New Section", "Key", "a=b"},
         {"New Section", "Key", "c"},
         {"Last File Types", nullptr, nullptr}},
        {},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        MemoryIni direct = Given(), batched = Given();
        IniBatch batch;
        batch.Bind(&batched);
        for (const Write& w : cases[i]) {
            direct.WriteString(w.section, w.key, w.value);
            EXPECT_TRUE(batch.WriteString(w.section, w.key, w.value));
        }
        EXPECT_EQ(batched.sectionWrites, 0); // nothing before the flush
        EXPECT_TRUE(batch.Flush());
        EXPECT_EQ(batched.sections, direct.sections) << "case " << i;
    }
}

TEST(IniBatch, ReadsSeeItsOwnWritesAndEachSectionIsWrittenOnce) {
    MemoryIni ini = Given();
    IniBatch batch;
    batch.Bind(&ini);
    batch.WriteString("app Recent Files", "Last", "3");
    batch.WriteString("app Recent Files", "Entry3", "C:\\c.txt");
    batch.WriteString("app Recent Files", "Sequence", "8");
    batch.WriteString("All Files", "Last", "1");
    EXPECT_EQ(ini.Get("app Recent Files", "Last"), "2"); // nothing written yet
    EXPECT_EQ(batch.GetInt("APP RECENT FILES", "last", 0), 3);
    char buf[8];
    EXPECT_EQ(batch.GetString("app Recent Files", "Entry3", "", buf, sizeof buf), 7u);
    EXPECT_STREQ(buf, "C:\\c.tx");                               // cut to the buffer
    EXPECT_EQ(batch.GetInt("app Recent Files", "Entry1", 5), 0); // from the file: no number
    batch.WriteString("app Recent Files", nullptr, nullptr);
    EXPECT_EQ(batch.GetInt("app Recent Files", "Last", -1), -1); // deleted with its section
    batch.WriteString("app Recent Files", "Last", "1");
    EXPECT_TRUE(batch.Flush());
    EXPECT_EQ(ini.sectionWrites, 2);
    EXPECT_EQ(ini.Get("app Recent Files", "Last"), "1");
    EXPECT_EQ(ini.Get("app Recent Files", "Entry1"), "<none>");
    EXPECT_EQ(batch.Pending(), 0);
}

// A file that cannot write whole sections, and a value too long to hold, are written through.
TEST(IniBatch, WritesThroughWhatItCannotHold) {
    MemoryIni ini = Given();
    IniBatch batch;
    batch.Bind(&ini);
    batch.WriteString("app Recent Files", "Last", "3");
    std::string longValue(kIniValueSize + 5, 'x');
    EXPECT_TRUE(batch.WriteString("app Recent Files", "Entry3", longValue.c_str()));
    EXPECT_EQ(ini.Get("app Recent Files", "Last"), "3"); // flushed first, in order
    EXPECT_EQ(ini.Get("app Recent Files", "Entry3"), longValue);
    EXPECT_EQ(batch.Pending(), 0);
}

} // namespace
} // namespace vn
