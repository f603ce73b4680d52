// Ending the process at once, as a crash would: no destructors, no flushing of the C runtime's
// streams, no exit handlers (_exit; TerminateProcess on Windows).
#pragma once

namespace platform {

[[noreturn]] void EndProcessNow(int status);

}  // namespace platform
