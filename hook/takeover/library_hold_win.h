// A dialog whose procedure is KsOpenProc must never outlive the library in its process: once the
// manager has removed the hook, the system may unload the library from under an open dialog. So
// every take-over holds a reference to the library, and every dialog given back its procedure
// lets go of one, from a thread of its own once no call of KsOpenProc is running any more: the
// release never returns into code that may be gone.
#pragma once

#include <windows.h>

namespace vn {

// One more reference to the library, for a dialog being taken over.
void HoldLibrary();

// Lets go of one reference once the library's window procedures are idle.
void ReleaseLibrary();

// Marks a call of one of the library's window procedures for its lifetime.
class ActiveCall {
  public:
    ActiveCall();
    ~ActiveCall();
    ActiveCall(const ActiveCall&) = delete;
    ActiveCall& operator=(const ActiveCall&) = delete;
};

} // namespace vn
