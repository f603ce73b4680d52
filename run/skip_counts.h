// The files a run passed over, counted by reason, and the summary that tells the user.
#pragma once

#include <array>
#include <string>

#include "run/record/file_result.h"

struct SkipCounts {
  std::array<int, kSkipReasons> byReason{};

  void Add(SkipReason reason) { ++byReason[static_cast<size_t>(reason)]; }
  int operator[](SkipReason reason) const { return byReason[static_cast<size_t>(reason)]; }
};

// "Found files: N", followed by "; skipped: 12 binary, 340 excluded" when files were skipped.
std::u16string FoundFilesSummary(int found, const SkipCounts& skips);
