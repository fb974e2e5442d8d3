// RecordFile over named byte vectors, for the unit tests and the fuzz targets. It keeps the
// contract of the real file (a write is published only by Close(true)) and can be told to fail,
// so that tests see what the rules do to the files, not just what they return.
#pragma once

#include "hook/trained/trained_db.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace vntest {

using Bytes = std::vector<unsigned char>;

class MemoryRecordFile final : public vn::RecordFile {
  public:
    std::map<std::string, Bytes> files;
    // Bytes that writes accept in one open before they fail; negative for no limit.
    long writeLimit = -1;
    bool failOpenWrite = false;
    int readOpens = 0;
    int writeOpens = 0;
    int commits = 0;

    bool IsOpen() const { return mode_ != Mode::kClosed; }

    bool OpenRead(const char* path) override {
        Close(false);
        auto it = path ? files.find(path) : files.end();
        if (it == files.end())
            return false;
        ++readOpens;
        path_ = path;
        position_ = 0;
        mode_ = Mode::kReading;
        return true;
    }

    bool OpenWrite(const char* path) override {
        Close(false);
        if (!path || failOpenWrite)
            return false;
        ++writeOpens;
        path_ = path;
        pending_.clear();
        written_ = 0;
        mode_ = Mode::kWriting;
        return true;
    }

    size_t Read(void* dst, size_t n) override {
        if (mode_ != Mode::kReading)
            return 0;
        const Bytes& data = files[path_];
        size_t available = data.size() - position_;
        size_t take = n < available ? n : available;
        if (take)
            memcpy(dst, data.data() + position_, take);
        position_ += take;
        return take;
    }

    size_t Write(const void* src, size_t n) override {
        if (mode_ != Mode::kWriting)
            return 0;
        size_t take = n;
        if (writeLimit >= 0) {
            size_t room = static_cast<size_t>(writeLimit) - written_;
            take = n < room ? n : room;
        }
        const unsigned char* bytes = static_cast<const unsigned char*>(src);
        pending_.insert(pending_.end(), bytes, bytes + take);
        written_ += take;
        return take;
    }

    bool Close(bool commit) override {
        bool published = mode_ == Mode::kWriting && commit;
        if (published) {
            files[path_] = pending_;
            ++commits;
        }
        mode_ = Mode::kClosed;
        pending_.clear();
        return published;
    }

  private:
    enum class Mode { kClosed, kReading, kWriting };
    Mode mode_ = Mode::kClosed;
    std::string path_;
    size_t position_ = 0;
    size_t written_ = 0;
    Bytes pending_;
};

} // namespace vntest
