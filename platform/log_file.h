// Appending to a UTF-16LE text file that is opened and closed again for every append.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Appends the text to the file, creating the file when it does not exist. A new, empty file
// first gets the UTF-16LE byte order mark; every line feed of the text becomes CR LF. An empty
// text only makes sure the file exists. False when the file cannot be opened or written.
bool AppendToLogFile(const std::u16string& path, std::u16string_view text);

}  // namespace platform
