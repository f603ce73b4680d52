#include <windows.h>

#include "platform/process_end.h"

namespace platform {

void EndProcessNow(int status) {
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(status));
  // TerminateProcess on the own process does not return; should it fail, the process still ends.
  ExitProcess(static_cast<UINT>(status));
}

}  // namespace platform
