// The worker side of the confirmation request.
#pragma once

#include "run/record/file_result.h"
#include "run/record/run_parameters.h"

// Asks the window about one match unless the run already has a standing "to all" answer; stores
// the answer as the standing one and returns whether the match may be changed.
bool AskConfirmation(RunParameters& parameters, const CFileResult::replace_info& position,
                     const CFileResult& file);

// A callable giving the lines of the change asked about, called only when a question is sent.
class ChangeDescription {
 public:
  template <class Describe>
  ChangeDescription(const Describe& describe)  // NOLINT: made from any lambda
      : object_(&describe), call_([](const void* object) {
          return (*static_cast<const Describe*>(object))();
        }) {}
  ChangeLines operator()() const { return call_(object_); }

 private:
  const void* object_;
  ChangeLines (*call_)(const void*);
};

// The same, showing the change's lines in the question (file.askedChange while it is asked).
bool AskConfirmation(RunParameters& parameters, const CFileResult::replace_info& position,
                     CFileResult& file, const ChangeDescription& describe);
