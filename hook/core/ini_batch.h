// The writes of one operation on an ini file, collected and written a section at a time. Through
// the profile functions every key written rewrites the whole file; an operation that changes a
// few lists wrote a dozen keys, each a rewrite, while other processes waited for the lock. A
// batch reads each section it changes once and writes it back once, with the keys in the order
// they had and the new ones after them: the file comes out as the key-by-key writes would have
// left it. Reads through the batch see its own pending writes.
#pragma once

#include "hook/core/settings.h"

namespace vn {

class IniBatch final : public IniFile {
  public:
    IniBatch() = default;
    ~IniBatch(); // drops what was not flushed: the owner flushes while it holds the file's lock
    IniBatch(const IniBatch&) = delete;
    IniBatch& operator=(const IniBatch&) = delete;

    // The file the batch writes to; the pending writes of the previous one are flushed first.
    void Bind(IniFile* file);
    // Writes every changed section. False when a write failed.
    bool Flush();
    int Pending() const { return count_; }

    int32_t GetInt(const char* section, const char* key, int32_t def) override;
    size_t GetString(const char* section, const char* key, const char* def, char* buf,
                     size_t size) override;
    bool WriteString(const char* section, const char* key, const char* value) override;

  private:
    enum class Op : uint8_t { kSet, kDeleteKey, kDeleteSection };
    struct Edit {
        Op op;
        char section[kIniNameSize];
        char key[kIniNameSize];
        char value[kIniValueSize];
    };
    // The edit that decides section/key now: its last set or delete, or a later section delete.
    const Edit* Latest(const char* section, const char* key) const;
    bool FlushSection(const char* section);

    IniFile* file_ = nullptr;
    Edit* edits_ = nullptr;
    int count_ = 0;
    int capacity_ = 0;
};

} // namespace vn
