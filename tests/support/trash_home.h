// Keeps the tests' deletions out of the user's real trash: for the whole test process the
// desktop trash lives in a temporary folder (XDG_DATA_HOME, set before anything uses it). On
// Windows this works under Wine, whose recycle bin is the desktop trash of the host.
#pragma once

#include <filesystem>

// The folder that receives trashed files ($XDG_DATA_HOME/Trash/files); empty where the trash
// cannot be redirected (Windows outside Wine).
std::filesystem::path TrashFilesFolder();
