#include "hook/core/process_win.h"

namespace vn {

ProcessState g_process;

} // namespace vn
