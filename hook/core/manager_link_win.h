// Everything the library says to the manager window goes through here.
#pragma once

#include "hook/core/messages.h"
#include "hook/core/settings.h"
#include "hook/core/shared_state_win.h"

namespace vn {

// Sends a message to the manager window without ever blocking this thread on it for longer than
// kManagerTimeoutMs, and not at all when the manager hangs. Returns false when no answer came.
bool SendToManager(const SharedState& s, unsigned msg, WPARAM wParam, LPARAM lParam,
                   DWORD_PTR* result);

// Posts a notification to the manager window, when there is one.
void PostToManager(const SharedState& s, unsigned msg, WPARAM wParam, LPARAM lParam);

// The manager's settings serial, asked for with MSG_SETTINGS_SERIAL.
class ManagerSerialQuery : public SerialQuery {
  public:
    explicit ManagerSerialQuery(const SharedState& s) : s_(s) {}
    bool QuerySerial(const char* moduleName, uint32_t* serial) override;

  private:
    const SharedState& s_;
};

// The library's settings read for a dialog of the given module: refreshes the cached settings
// and exclusion lists from the settings file when the manager's serial has changed.
void ReadHookSettings(SharedState& s, const char* moduleName);

} // namespace vn
