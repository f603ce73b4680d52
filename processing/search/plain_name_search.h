// The plain (not regular expression) search and change of a file name in rename mode.
#pragma once

#include <string>

#include "run/record/file_result.h"
#include "run/record/run_parameters.h"

// Searches the run's non-empty find text in newName (without regard to case unless the run is
// case-sensitive), asks for every match that the action would change, records each accepted
// match as (0, index) in file.matches and changes newName as the action says.
void SearchNamePlain(RunParameters& parameters, CFileResult& file, std::u16string& newName);
