# Cross toolchain: 64-bit Windows programs built with mingw-w64 (posix threads, so std::thread works).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VOXALON_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VOXALON_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOXALON_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VOXALON_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VOXALON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Windows test programs run under Wine; scripts/wine-run picks the project's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
