// Variables of the find and replacement texts: %filename%, %filedirectory% and %filepath% (the
// folder, the platform's separator and the name), matched without regard to the case of A-Z,
// and %% for a percent sign.
#pragma once

#include <string>

struct CFileResult;

// Expands the variables of text in place for the file; with no file every variable expands to
// the empty text, which makes the call a syntax check. On failure the text is replaced by the
// error message and false is returned. Values are inserted as they are, never expanded again.
bool ExpandVariables(std::u16string& text, const CFileResult* file);
