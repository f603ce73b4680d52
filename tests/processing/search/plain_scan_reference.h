// The plain scan written the slow, obvious way, unit by unit: the oracle for the fast one.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "run/record/file_result.h"
#include "run/record/run_types.h"

struct ReferenceScan {
  std::u16string text;
  std::vector<CFileResult::replace_info> matches;
};

ReferenceScan ReferencePlainScan(
    std::u16string text, ActionType action, const std::u16string& find,
    const std::u16string& replace, bool caseSensitive,
    const std::function<bool(const CFileResult::replace_info&)>& consent);
