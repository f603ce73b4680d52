// Find only over a large file read a piece at a time into blocks the thread reuses, searching
// each piece while it is in the cache: the same matches, positions and lines as a search of the
// file read whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/file.h"
#include "platform/stop_event.h"
#include "processing/file_outcome.h"
#include "run/record/file_result.h"
#include "run/record/run_parameters.h"

struct PieceSizes {
  std::uint64_t threshold = 0;  // files listed larger than this are read in pieces
  size_t piece = 0;             // the bytes read at a time
};

// A piece fits the processor's second-level cache, where it is searched right after the read;
// larger pieces measured slower, smaller ones no faster.
inline constexpr PieceSizes kPieceSizes{std::uint64_t{1} << 20, size_t{256} << 10};

// Sets the sizes, for the whole process (tests lower them); returns those set before.
PieceSizes SetPieceSizes(PieceSizes sizes);

// Whether the file of this listed size is searched in pieces: Find only, a plain find text that
// is not empty, and a code page whose text can be taken a piece at a time (a one-to-one
// single-byte one, UTF-8 or UTF-16). Runs that change files, previews and regular expressions
// need the whole file in memory.
bool ReadsInPieces(const RunParameters& parameters, const std::u16string& find,
                   std::uint64_t listedSize);

// Find only from the handle's position to the end of the file: the binary test and the choice of
// coding look at the head, as they do at a whole file. Stop is honoured between pieces and within
// the search of one.
FileOutcome FindInPieces(RunParameters& parameters, const platform::StopEvent& stop,
                         CFileResult& entry, platform::File& handle, const std::u16string& find);
