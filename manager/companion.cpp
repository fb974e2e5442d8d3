#include "manager/companion.h"

namespace vn {

bool ParseCompanionArguments(const char* arguments, uint32_t* managerProcessId) {
    if (!arguments)
        return false;
    const char* p = arguments;
    while (*p == ' ' || *p == '\t')
        ++p;
    uint64_t value = 0;
    int digits = 0;
    for (; *p >= '0' && *p <= '9'; ++p, ++digits) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > 0xFFFFFFFFull)
            return false;
    }
    while (*p == ' ' || *p == '\t')
        ++p;
    if (digits == 0 || *p || value == 0)
        return false;
    *managerProcessId = static_cast<uint32_t>(value);
    return true;
}

bool CompanionWatch::GaveUp() const {
    return state_ == CompanionState::kMissing || state_ == CompanionState::kCannotStart ||
           state_ == CompanionState::kKeepsEnding;
}

void CompanionWatch::StartFailed(uint32_t error) {
    state_ = CompanionState::kCannotStart;
    detail_ = error;
}

void CompanionWatch::Started(uint32_t now) {
    state_ = CompanionState::kRunning;
    startedAt_ = now;
}

void CompanionWatch::Ended(uint32_t exitStatus, uint32_t now) {
    if (state_ != CompanionState::kRunning)
        return;
    detail_ = exitStatus;
    if (now - startedAt_ < kCompanionQuickEndMs)
        ++quickEnds_;
    else
        quickEnds_ = 0;
    state_ = quickEnds_ >= kCompanionMaxQuickEnds ? CompanionState::kKeepsEnding
                                                  : CompanionState::kToStart;
}

} // namespace vn
