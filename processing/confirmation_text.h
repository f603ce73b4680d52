// The question shown before a match is changed.
#pragma once

#include <string>

#include "run/record/file_result.h"

// "The following file:", the path in double quotes, and the match's line and character counted
// from 1, on three lines.
std::u16string ConfirmationText(const std::u16string& fullPath,
                                const CFileResult::replace_info& position);
