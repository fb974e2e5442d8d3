#include "manager/companion_win.h"

#include "manager/resource.h"
#include "manager/ui_win.h"

#include "hook/core/sizes.h"
#include "hook/core/text.h"

#include <cstdio>
#include <cstring>

namespace vn {

namespace {

// How long a companion told to go may take to remove its hook before it is ended.
constexpr DWORD kCompanionQuitWaitMs = 5000;

bool FileExists(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The path of a file in this program's folder; empty when it does not fit.
void BesideThisProgram(const char* name, char* buf, DWORD size) {
    buf[0] = 0;
    DWORD n = GetModuleFileNameA(nullptr, buf, size);
    if (n == 0 || n >= size) {
        buf[0] = 0;
        return;
    }
    char* slash = strrchr(buf, '\\');
    if (slash)
        slash[1] = 0;
    else
        buf[0] = 0;
    if (strlen(buf) + strlen(name) >= size)
        buf[0] = 0;
    else
        AppendText(buf, size, name);
}

} // namespace

Companion::Companion() : watch_(!kBuiltFor32Bit), lastSeen_(watch_.State()) {}

void Companion::Start() {
    if (!watch_.ShouldStart())
        return;
    quitEvent_ = CreateEventA(nullptr, TRUE, FALSE, kCompanionQuitEventName);
    Launch();
}

void Companion::Launch() {
    char program[kPathSize], library[kPathSize];
    BesideThisProgram(kCompanionProgram, program, sizeof program);
    BesideThisProgram(kCompanionLibrary, library, sizeof library);
    if (!program[0] || !FileExists(program) || !FileExists(library)) {
        watch_.Missing();
        return;
    }
    if (!quitEvent_) {
        watch_.StartFailed(GetLastError());
        return;
    }
    ResetEvent(quitEvent_);
    char commandLine[kPathSize + 32];
    snprintf(commandLine, sizeof commandLine, "\"%s\" %lu", program,
             static_cast<unsigned long>(GetCurrentProcessId()));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(program, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        watch_.StartFailed(GetLastError());
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    watch_.Started(GetTickCount());
}

bool Companion::Look() {
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) {
        DWORD status = 0;
        GetExitCodeProcess(process_, &status);
        CloseHandle(process_);
        process_ = nullptr;
        watch_.Ended(status, GetTickCount());
    }
    if (watch_.ShouldStart())
        Launch();
    bool changed = watch_.State() != lastSeen_;
    lastSeen_ = watch_.State();
    return changed;
}

void Companion::Stop() {
    if (process_) {
        if (quitEvent_)
            SetEvent(quitEvent_);
        if (WaitForSingleObject(process_, kCompanionQuitWaitMs) != WAIT_OBJECT_0)
            TerminateProcess(process_, 1);
        CloseHandle(process_);
        process_ = nullptr;
    }
    if (quitEvent_)
        CloseHandle(quitEvent_);
    quitEvent_ = nullptr;
}

void Companion::Note(char* buf, int size) const {
    buf[0] = 0;
    UINT id = 0;
    switch (watch_.State()) {
    case CompanionState::kMissing:
        id = IDS_COMPANION_MISSING;
        break;
    case CompanionState::kCannotStart:
        id = IDS_COMPANION_CANNOT_START;
        break;
    case CompanionState::kKeepsEnding:
        id = IDS_COMPANION_KEEPS_ENDING;
        break;
    default:
        return;
    }
    char format[256];
    LoadManagerString(id, "32-bit programs are not extended.", format, sizeof format);
    snprintf(buf, static_cast<size_t>(size), format, static_cast<unsigned>(watch_.Detail()));
}

} // namespace vn
