#include "processing/confirmation.h"

#include "run/record/run_channel.h"

namespace {

bool Standing(ConfirmAnswer state) {
  return state == ConfirmAnswer::YesToAll || state == ConfirmAnswer::NoToAll;
}

}  // namespace

bool AskConfirmation(RunParameters& parameters, const CFileResult::replace_info& position,
                     const CFileResult& file) {
  ConfirmAnswer& state = parameters.confirmState;
  if (!Standing(state))
    state = parameters.targetWindow->SendConfirmation(position, file);
  return state == ConfirmAnswer::Yes || state == ConfirmAnswer::YesToAll;
}

bool AskConfirmation(RunParameters& parameters, const CFileResult::replace_info& position,
                     CFileResult& file, const ChangeDescription& describe) {
  if (Standing(parameters.confirmState))
    return AskConfirmation(parameters, position, file);
  const ChangeLines lines = describe();
  struct Asked {
    CFileResult& file;
    ~Asked() { file.askedChange = nullptr; }
  } asked{file};
  file.askedChange = &lines;
  return AskConfirmation(parameters, position, file);
}
