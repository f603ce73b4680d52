// How one file's bytes become text and back: the code pages, and a byte order mark that stays
// in front of the text.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "platform/file.h"
#include "platform/system_error.h"
#include "processing/byte_order_mark.h"
#include "text/byte_buffer.h"
#include "text/program_settings.h"

struct FileCoding {
  CodePage input = 0;
  CodePage output = 0;
  ByteOrderMark mark = ByteOrderMark::None;  // written back before the text

  // The bytes that hold the text: those after the mark.
  std::span<const unsigned char> Text(std::span<const unsigned char> bytes) const {
    return bytes.subspan(ByteOrderMarkBytes(mark).size());
  }
};

// The settings' code pages; or, when the settings use byte order marks and the file starts with
// a UTF-8 or UTF-16 one, that mark's encoding both ways. False for a file starting with a UTF-32
// mark, which is not read.
bool ChooseFileCoding(const ProgramSettings& settings, std::span<const unsigned char> bytes,
                      FileCoding& coding);

// Puts the coding's mark in front of the encoded text; 0 or platform::kErrorOutOfMemory.
platform::ErrorCode PrefixMark(const FileCoding& coding, ByteBuffer& bytes);

// Reads up to kBinarySniffSize of the file's first bytes, through a handle that only reads, and,
// when `times` is given, the file's times before the reading; returns 0 or the error.
platform::ErrorCode ReadFileHead(const std::u16string& path, std::basic_string<unsigned char>& head,
                                 platform::FileTimes* times);
