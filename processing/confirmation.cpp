#include "processing/confirmation.h"

#include "run/record/run_channel.h"

bool AskConfirmation(RunParameters& parameters, const CFileResult::replace_info& position,
                     const CFileResult& file) {
  ConfirmAnswer& state = parameters.confirmState;
  if (state != ConfirmAnswer::YesToAll && state != ConfirmAnswer::NoToAll)
    state = parameters.targetWindow->SendConfirmation(position, file);
  return state == ConfirmAnswer::Yes || state == ConfirmAnswer::YesToAll;
}
