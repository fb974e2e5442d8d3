#include "hook/core/ini_batch.h"

#include "hook/core/text.h"

#include <cstdlib>
#include <cstring>

namespace vn {

namespace {

constexpr size_t kSectionBufferSize = 64 * 1024;

bool SameName(const char* a, const char* b) {
    return CompareNoCase(a, b, kIniNameSize) == 0;
}

bool Fits(const char* text, size_t cap) {
    return !text || BoundedLength(text, cap) < cap;
}

// GetPrivateProfileIntA's reading of a value: an optional sign, then the leading digits.
int32_t ProfileNumber(const char* v, int32_t def) {
    if (!v[0])
        return def;
    bool negative = v[0] == '-';
    const char* p = v + (v[0] == '-' || v[0] == '+');
    uint32_t n = 0;
    while (*p >= '0' && *p <= '9')
        n = n * 10 + static_cast<uint32_t>(*p++ - '0');
    return static_cast<int32_t>(negative ? 0u - n : n);
}

// One section's keys while it is being changed: pointers into the text read from the file and
// into the edits, in file order.
struct Line {
    const char* key; // the whole line when it has no "="
    size_t keyLength;
    const char* value; // null for a line without "="
};

} // namespace

IniBatch::~IniBatch() {
    free(edits_);
}

void IniBatch::Bind(IniFile* file) {
    if (file_ != file)
        Flush();
    file_ = file;
}

const IniBatch::Edit* IniBatch::Latest(const char* section, const char* key) const {
    for (int i = count_ - 1; i >= 0; --i) {
        const Edit& e = edits_[i];
        if (!SameName(e.section, section))
            continue;
        if (e.op == Op::kDeleteSection || SameName(e.key, key))
            return &e;
    }
    return nullptr;
}

int32_t IniBatch::GetInt(const char* section, const char* key, int32_t def) {
    const Edit* e = section && key ? Latest(section, key) : nullptr;
    if (!e)
        return file_ ? file_->GetInt(section, key, def) : def;
    return e->op == Op::kSet ? ProfileNumber(e->value, def) : def;
}

size_t IniBatch::GetString(const char* section, const char* key, const char* def, char* buf,
                           size_t size) {
    if (!buf || size == 0)
        return 0;
    const Edit* e = section && key ? Latest(section, key) : nullptr;
    if (!e) {
        if (file_)
            return file_->GetString(section, key, def, buf, size);
        return CopyText(buf, size, def);
    }
    return CopyText(buf, size, e->op == Op::kSet ? e->value : def);
}

bool IniBatch::WriteString(const char* section, const char* key, const char* value) {
    if (!file_ || !section)
        return false;
    // What the batch cannot hold, or a file without whole sections, is written at once, after
    // everything before it.
    if (!file_->HasSections() || !Fits(section, kIniNameSize) || !Fits(key, kIniNameSize) ||
        !Fits(value, kIniValueSize)) {
        bool flushed = Flush();
        return file_->WriteString(section, key, value) && flushed;
    }
    if (count_ == capacity_) {
        int grown = capacity_ ? capacity_ * 2 : 16;
        auto* bigger =
            static_cast<Edit*>(realloc(edits_, sizeof(Edit) * static_cast<size_t>(grown)));
        if (!bigger) {
            bool flushed = Flush();
            return file_->WriteString(section, key, value) && flushed;
        }
        edits_ = bigger;
        capacity_ = grown;
    }
    Edit& e = edits_[count_++];
    e.op = !key ? Op::kDeleteSection : (value ? Op::kSet : Op::kDeleteKey);
    CopyText(e.section, sizeof e.section, section);
    CopyText(e.key, sizeof e.key, key);
    CopyText(e.value, sizeof e.value, value);
    return true;
}

bool IniBatch::Flush() {
    bool ok = true;
    for (int i = 0; i < count_; ++i) {
        bool first = true;
        for (int j = 0; j < i && first; ++j)
            first = !SameName(edits_[j].section, edits_[i].section);
        if (first)
            ok = FlushSection(edits_[i].section) && ok;
    }
    count_ = 0;
    return ok;
}

namespace {

// The section's lines as read (text is the file's answer), at most `most` of them.
size_t ParseLines(const char* text, Line* lines, size_t most) {
    size_t n = 0;
    for (const char* p = text; *p && n < most; p += strlen(p) + 1) {
        const char* eq = strchr(p, '=');
        lines[n++] = {p, eq ? static_cast<size_t>(eq - p) : strlen(p), eq ? eq + 1 : nullptr};
    }
    return n;
}

// Sets (value) or deletes (null) key among the n lines, as the profile functions would: a new
// key goes after the others. Returns the new number of lines.
size_t ApplyToLines(Line* lines, size_t n, size_t most, const char* key, const char* value) {
    size_t keyLength = strlen(key);
    size_t at = n;
    for (size_t k = 0; k < n && at == n; ++k)
        if (lines[k].value && lines[k].keyLength == keyLength &&
            CompareNoCase(lines[k].key, key, keyLength) == 0)
            at = k;
    if (!value) {
        if (at < n) {
            memmove(&lines[at], &lines[at + 1], sizeof(Line) * (n - at - 1));
            --n;
        }
    } else if (at < n) {
        lines[at].value = value;
    } else if (n < most) {
        lines[n++] = {key, keyLength, value};
    }
    return n;
}

// The lines as a section's text ("key=value", each ended by a zero, the list by another); null
// when there is no memory for it. The caller frees it.
char* JoinLines(const Line* lines, size_t n) {
    size_t size = 2;
    for (size_t k = 0; k < n; ++k)
        size += lines[k].keyLength + (lines[k].value ? strlen(lines[k].value) + 1 : 0) + 1;
    char* out = static_cast<char*>(malloc(size));
    if (!out)
        return nullptr;
    char* w = out;
    for (size_t k = 0; k < n; ++k) {
        memcpy(w, lines[k].key, lines[k].keyLength);
        w += lines[k].keyLength;
        if (lines[k].value) {
            *w++ = '=';
            size_t v = strlen(lines[k].value);
            memcpy(w, lines[k].value, v);
            w += v;
        }
        *w++ = 0;
    }
    w[0] = 0;
    if (n == 0)
        w[1] = 0;
    return out;
}

} // namespace

// The section as the file has it, every edit of it applied in order, written back in one go.
bool IniBatch::FlushSection(const char* section) {
    char name[kIniNameSize];
    CopyText(name, sizeof name, section);
    constexpr size_t kMostLines = 1024;
    char* text = static_cast<char*>(malloc(kSectionBufferSize));
    Line* lines = static_cast<Line*>(malloc(sizeof(Line) * kMostLines));
    size_t read = text ? file_->GetSection(name, text, kSectionBufferSize) : 0;
    bool ok = true;
    if (!text || !lines || read + 2 >= kSectionBufferSize) {
        // Too large to hold: the edits go through one by one, as without a batch.
        for (int i = 0; i < count_; ++i) {
            const Edit& e = edits_[i];
            if (SameName(e.section, name))
                ok = file_->WriteString(name, e.op == Op::kDeleteSection ? nullptr : e.key,
                                        e.op == Op::kSet ? e.value : nullptr) &&
                     ok;
        }
    } else {
        size_t n = ParseLines(text, lines, kMostLines);
        bool deleted = false;
        for (int i = 0; i < count_; ++i) {
            const Edit& e = edits_[i];
            if (!SameName(e.section, name))
                continue;
            if (e.op == Op::kDeleteSection) {
                deleted = true;
                n = 0;
            } else {
                n = ApplyToLines(lines, n, kMostLines, e.key, e.op == Op::kSet ? e.value : nullptr);
            }
        }
        if (deleted)
            ok = file_->WriteString(name, nullptr, nullptr); // what is written now starts afresh
        if (n > 0 || !deleted) {
            char* out = JoinLines(lines, n);
            ok = out && file_->WriteSection(name, out) && ok;
            free(out);
        }
    }
    free(text);
    free(lines);
    return ok;
}

} // namespace vn
