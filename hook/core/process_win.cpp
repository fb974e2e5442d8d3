#include "hook/core/process_win.h"

#include "hook/core/text.h"

namespace vn {

ProcessState g_process;

bool ReadCancelPath(char* out, size_t size) {
    if (!out || size == 0)
        return false;
    CopyText(out, size, g_process.cancelPathValid ? g_process.cancelPath : "");
    return g_process.cancelPathValid != 0;
}

} // namespace vn
