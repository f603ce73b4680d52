// What a run does to the content of one found file, on the worker thread.
#pragma once

#include "platform/file_attributes.h"
#include "platform/stop_event.h"
#include "processing/file_outcome.h"
#include "run/record/file_result.h"
#include "run/record/run_parameters.h"
#include "run/record/run_types.h"
#include "text/program_settings.h"

// The result text of a file whose content is left alone for its attributes (read-only outside
// Find only, hidden, online-only: reading would download it), or 0 when the content is read.
unsigned AttributeSkipText(const platform::FileAttributes& attributes,
                           const ProgramSettings& settings, ActionType action);

// Searches and changes the content of the entry's file as the run says, recording the matches in
// the entry; returns what its one result message is to say.
[[nodiscard]]
FileOutcome ProcessContent(RunParameters& parameters, const platform::StopEvent& stop,
                           CFileResult& entry);

// The change of a file whose write waited (FileOutcome::pendingWrite), once its backup is
// durable: written in place as any change; the outcome the file reports.
[[nodiscard]]
FileOutcome WritePendingChange(ContentFile& file, CFileResult& entry);
// Its backup could not be made durable: the file stays as it is, with the reason.
[[nodiscard]]
FileOutcome GiveUpPendingChange(ContentFile& file, const std::u16string& reason);
