// What a run in rename mode does to the name of one found file, on the worker thread.
#pragma once

#include "platform/stop_event.h"
#include "processing/file_outcome.h"
#include "run/record/file_result.h"
#include "run/record/run_parameters.h"

// Searches and changes the name of the entry's file as the run says, recording the matches in
// the entry; returns what its one result message is to say, with the new path after a rename.
[[nodiscard]]
FileOutcome ProcessName(RunParameters& parameters, const platform::StopEvent& stop,
                        CFileResult& entry);
