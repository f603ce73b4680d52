// The worker side of the confirmation request.
#pragma once

#include "run/record/file_result.h"
#include "run/record/run_parameters.h"

// Asks the window about one match unless the run already has a standing "to all" answer; stores
// the answer as the standing one and returns whether the match may be changed.
bool AskConfirmation(RunParameters& parameters, const CFileResult::replace_info& position,
                     const CFileResult& file);
