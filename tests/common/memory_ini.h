// An ini file in memory that behaves like the profile functions, shared by the unit tests of
// everything that reads or writes ini files.
#pragma once

#include "hook/core/settings.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace vntest {

inline std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// An ini file in memory that behaves like the profile functions: names ignore case, keys keep
// the order in which they were first written, a null key deletes a section and a null value a
// key, numbers are read from the front. An unreadable file gives every default and takes no
// write.
class MemoryIni : public vn::IniFile {
  public:
    using Keys = std::vector<std::pair<std::string, std::string>>;
    std::vector<std::pair<std::string, Keys>> sections;
    int writes = 0;
    int reads = 0;
    bool unreadable = false;

    Keys* Find(const std::string& section) {
        for (auto& s : sections)
            if (Lower(s.first) == Lower(section))
                return &s.second;
        return nullptr;
    }
    const std::string* Value(const std::string& section, const std::string& key) {
        Keys* keys = Find(section);
        if (keys)
            for (auto& k : *keys)
                if (Lower(k.first) == Lower(key))
                    return &k.second;
        return nullptr;
    }
    std::string Get(const std::string& section, const std::string& key) {
        const std::string* v = Value(section, key);
        return v ? *v : "<none>";
    }
    std::vector<std::string> KeyOrder(const std::string& section) {
        std::vector<std::string> names;
        if (Keys* keys = Find(section))
            for (auto& k : *keys)
                names.push_back(k.first);
        return names;
    }
    // Puts a value in place as a test's given, not as a write of the code under test.
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        Store(section.c_str(), key.c_str(), value.c_str());
    }
    // Whether the code under test wrote the key.
    bool Wrote(const std::string& key) const {
        return std::find(written.begin(), written.end(), key) != written.end();
    }

    int32_t GetInt(const char* section, const char* key, int32_t def) override {
        ++reads;
        const std::string* v = unreadable ? nullptr : Value(section, key);
        if (!v || v->empty())
            return def;
        const char* p = v->c_str() + ((*v)[0] == '-' || (*v)[0] == '+');
        uint32_t n = 0;
        while (*p >= '0' && *p <= '9')
            n = n * 10 + static_cast<uint32_t>(*p++ - '0');
        return static_cast<int32_t>((*v)[0] == '-' ? 0u - n : n);
    }
    size_t GetString(const char* section, const char* key, const char* def, char* buf,
                     size_t size) override {
        ++reads;
        const std::string* v = unreadable ? nullptr : Value(section, key);
        std::string text = v ? *v : def;
        size_t n = std::min(text.size(), size - 1);
        memcpy(buf, text.data(), n);
        buf[n] = 0;
        return n;
    }
    bool WriteString(const char* section, const char* key, const char* value) override {
        if (unreadable)
            return false;
        ++writes;
        written.push_back(key ? key : "");
        Store(section, key, value);
        return true;
    }
    std::vector<std::string> written; // keys written, in order
    int sectionWrites = 0;

    bool HasSections() const override { return true; }
    size_t GetSection(const char* section, char* buf, size_t size) override {
        std::string text;
        if (Keys* keys = unreadable ? nullptr : Find(section))
            for (auto& k : *keys)
                text += k.first + "=" + k.second + std::string(1, '\0');
        if (text.size() + 2 > size)
            text = text.substr(0, size - 2); // as the profile function cuts it
        memcpy(buf, text.data(), text.size());
        buf[text.size()] = buf[text.size() + 1] = 0;
        return text.size() + 2 > size ? size - 2 : text.size();
    }
    bool WriteSection(const char* section, const char* lines) override {
        if (unreadable)
            return false;
        ++sectionWrites;
        Keys fresh;
        for (const char* p = lines; *p; p += strlen(p) + 1) {
            const char* eq = strchr(p, '=');
            fresh.push_back(eq ? std::make_pair(std::string(p, eq), std::string(eq + 1))
                               : std::make_pair(std::string(p), std::string()));
        }
        if (Keys* keys = Find(section))
            *keys = fresh;
        else
            sections.push_back({section, fresh});
        return true;
    }

  private:
    void Store(const char* section, const char* key, const char* value) {
        if (!key) {
            sections.erase(
                std::remove_if(sections.begin(), sections.end(),
                               [&](auto& s) { return Lower(s.first) == Lower(section); }),
                sections.end());
            return;
        }
        Keys* keys = Find(section);
        if (!keys) {
            sections.push_back({section, {}});
            keys = &sections.back().second;
        }
        for (auto it = keys->begin(); it != keys->end(); ++it) {
            if (Lower(it->first) == Lower(key)) {
                if (value)
                    it->second = value;
                else
                    keys->erase(it);
                return;
            }
        }
        if (value)
            keys->push_back({key, value});
    }
};

} // namespace vntest
