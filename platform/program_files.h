// Where the program's own files are, and reading them as the C runtime's text streams.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace platform {

// The folder of the running program's executable, without a trailing separator; empty when the
// system does not tell.
std::u16string ProgramFolder();

struct TextStreamClose {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using TextStream = std::unique_ptr<std::FILE, TextStreamClose>;

// Opens a file for reading in text mode ("r"); null when it cannot be opened.
TextStream OpenTextForReading(const std::u16string& path);

}  // namespace platform
