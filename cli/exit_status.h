// The console front end's exit statuses.
#pragma once

enum CliExitStatus : int {
  kExitFinished = 0,       // the run finished (also when the file limit ended it)
  kExitWithErrors = 1,     // the run finished, with file or folder errors
  kExitRefused = 2,        // the command line or a check refused the run
  kExitCancelled = 3,      // a question was answered No, or could not be asked
  kExitInterrupted = 130,  // Ctrl+C stopped the run
};
