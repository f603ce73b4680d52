// The program's per-user data folder: the application data folder's "VOXA" on Windows, the XDG
// data home's "voxalon" on POSIX ($XDG_DATA_HOME, else ~/.local/share). Created when missing
// (failure ignored); empty when the system tells no such place.
#pragma once

#include <string>

namespace platform {

std::u16string UserDataFolder();

}  // namespace platform
