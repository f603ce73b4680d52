#include "platform/file_fault.h"

#include <algorithm>
#include <atomic>
#include <mutex>

#include "platform/process_end.h"

namespace platform {
namespace {

std::atomic<bool> armed{false};
std::atomic<bool> endPending{false};
std::mutex faultLock;
FileFault current;

}  // namespace

void ArmFileFault(const FileFault& fault) {
  std::lock_guard<std::mutex> lock(faultLock);
  current = fault;
  armed.store(fault.count > 0, std::memory_order_release);
}

void DisarmFileFaults() {
  std::lock_guard<std::mutex> lock(faultLock);
  current = FileFault();
  armed.store(false, std::memory_order_release);
  endPending.store(false);
}

bool TakeFileFault(FileOperation operation, std::uint64_t requested, std::uint64_t& allowed,
                   ErrorCode& error) {
  if (!armed.load(std::memory_order_acquire))
    return false;
  std::lock_guard<std::mutex> lock(faultLock);
  if (current.count <= 0 || current.operation != operation)
    return false;
  if (current.skip > 0) {
    --current.skip;
    return false;
  }
  allowed = std::min(requested, current.bytesBefore);
  error = current.error;
  if (--current.count <= 0)
    armed.store(false, std::memory_order_release);
  if (current.endProcess) {
    if (operation != FileOperation::Write)
      EndProcessNow(kFaultEndStatus);
    endPending.store(true);
  }
  return true;
}

void EndProcessAfterFault() {
  if (endPending.load())
    EndProcessNow(kFaultEndStatus);
}

}  // namespace platform
