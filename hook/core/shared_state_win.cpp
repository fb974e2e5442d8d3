#include "hook/core/shared_state_win.h"

#include "hook/core/object_trust_win.h"

#include <sddl.h>

#include <cstdio>

namespace vn {
namespace {

// The mapping starts with a small header so that a process can tell a finished initialisation
// from one in progress, and a mapping of another layout from ours.
struct SharedMapping {
    volatile LONG initState; // 0 fresh (zeroed by the system), 1 being initialised, 2 ready
    uint32_t magic;
    uint32_t layoutSize;
    uint32_t reserved;
    SharedState state;
};

constexpr uint32_t kMagic = 0x564E5353; // "VNSS"
constexpr LONG kFresh = 0, kInitialising = 1, kReady = 2;

SharedState* volatile g_shared = nullptr;
HANDLE volatile g_mapping = nullptr; // kept open with the view, see MapShared
volatile LONG g_mapFailed = 0;

// The session-local name carries the layout size, so that two builds with different layouts never
// read each other's bytes.
void MappingName(char* name, size_t size) {
    snprintf(name, size, "Local\\VantorSharedState-%u", static_cast<unsigned>(kSharedStateSize));
}

// Only the user and the system may open the mapping, and its medium integrity label with
// no-write-up keeps sandboxed (low integrity) processes of the same user to reading it.
PSECURITY_DESCRIPTOR MakeSecurityDescriptor() {
    char user[192] = "";
    alignas(8) BYTE buffer[256];
    char* text = nullptr;
    if (PSID sid = CurrentUserSid(buffer)) {
        if (ConvertSidToStringSidA(sid, &text)) {
            snprintf(user, sizeof user, "%s", text);
            LocalFree(text);
        }
    }
    if (!user[0])
        return nullptr;
    char sddl[320];
    PSECURITY_DESCRIPTOR sd = nullptr;
    snprintf(sddl, sizeof sddl, "D:P(A;;GA;;;SY)(A;;GA;;;%s)S:(ML;;NW;;;ME)", user);
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr))
        return sd;
    // A system that does not know integrity labels still gets the restricted access list.
    snprintf(sddl, sizeof sddl, "D:P(A;;GA;;;SY)(A;;GA;;;%s)", user);
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr))
        return sd;
    return nullptr;
}

SharedState* MapShared(HANDLE* handle) {
    char name[64];
    MappingName(name, sizeof name);
    SECURITY_ATTRIBUTES sa = {sizeof sa, MakeSecurityDescriptor(), FALSE};
    HANDLE mapping =
        CreateFileMappingA(INVALID_HANDLE_VALUE, sa.lpSecurityDescriptor ? &sa : nullptr,
                           PAGE_READWRITE, 0, sizeof(SharedMapping), name);
    bool createdHere = mapping && GetLastError() != ERROR_ALREADY_EXISTS;
    if (sa.lpSecurityDescriptor)
        LocalFree(sa.lpSecurityDescriptor);
    if (!mapping)
        return nullptr;
    // A mapping that someone else made under the name is used only if it is the user's own.
    if (!TrustNamedObject(mapping, createdHere)) {
        CloseHandle(mapping);
        return nullptr;
    }
    auto* m = static_cast<SharedMapping*>(
        MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(SharedMapping)));
    if (!m) {
        CloseHandle(mapping);
        return nullptr;
    }
    // The handle stays open as long as the view (ReleaseShared): a view alone does not keep the
    // name alive everywhere (under Wine the next process would create a fresh, empty mapping).

    // Two processes may map a fresh section at the same moment: the first to claim it
    // initialises, the others wait (bounded) until it is ready.
    if (InterlockedCompareExchange(&m->initState, kInitialising, kFresh) == kFresh) {
        InitSharedState(m->state);
        m->magic = kMagic;
        m->layoutSize = static_cast<uint32_t>(sizeof(SharedState));
        InterlockedExchange(&m->initState, kReady);
    } else {
        for (int i = 0; i < 2000 && m->initState != kReady; ++i)
            Sleep(1);
    }
    if (m->initState != kReady || m->magic != kMagic || m->layoutSize != sizeof(SharedState)) {
        UnmapViewOfFile(m);
        CloseHandle(mapping);
        return nullptr;
    }
    *handle = mapping;
    return &m->state;
}

} // namespace

SharedState* Shared() {
    SharedState* s = g_shared;
    if (s || g_mapFailed)
        return s;
    HANDLE mapping = nullptr;
    s = MapShared(&mapping);
    if (!s) {
        InterlockedExchange(&g_mapFailed, 1);
        return nullptr;
    }
    // Another thread of this process may have mapped it meanwhile: keep one view.
    void* prev =
        InterlockedCompareExchangePointer(reinterpret_cast<void* volatile*>(&g_shared), s, nullptr);
    if (prev) {
        UnmapViewOfFile(reinterpret_cast<char*>(s) - offsetof(SharedMapping, state));
        CloseHandle(mapping);
        return static_cast<SharedState*>(prev);
    }
    InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_mapping), mapping);
    return s;
}

// Kernel32 calls only: it runs under the loader lock. Shared() answers null from now on, so that
// nothing maps the state again while the library leaves.
void ReleaseShared() {
    InterlockedExchange(&g_mapFailed, 1);
    void* s = InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_shared), nullptr);
    HANDLE mapping = static_cast<HANDLE>(
        InterlockedExchangePointer(reinterpret_cast<void* volatile*>(&g_mapping), nullptr));
    if (s)
        UnmapViewOfFile(static_cast<char*>(s) - offsetof(SharedMapping, state));
    if (mapping)
        CloseHandle(mapping);
}

} // namespace vn
