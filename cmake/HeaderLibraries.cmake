include_guard(GLOBAL)

# CLI11, nlohmann-json and xxHash (used header-only, XXH_INLINE_ALL) are header-only Debian packages in /usr/include. Both builds get only
# their own folders, linked into the build tree, so the cross build never sees the host's other
# headers.
set(VOXALON_HEADER_LIBRARIES_DIR ${CMAKE_BINARY_DIR}/header-libraries)

function(voxalon_header_library target header folder)
  find_path(${target}_INCLUDE_DIR ${header} PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(MAKE_DIRECTORY ${VOXALON_HEADER_LIBRARIES_DIR})
  if(NOT EXISTS ${VOXALON_HEADER_LIBRARIES_DIR}/${folder})
    file(CREATE_LINK ${${target}_INCLUDE_DIR}/${folder} ${VOXALON_HEADER_LIBRARIES_DIR}/${folder}
         SYMBOLIC)
  endif()
  add_library(${target} INTERFACE)
  target_include_directories(${target} SYSTEM INTERFACE ${VOXALON_HEADER_LIBRARIES_DIR})
endfunction()

voxalon_header_library(voxalon_cli11 CLI/CLI.hpp CLI)
voxalon_header_library(voxalon_json nlohmann/json.hpp nlohmann)
voxalon_header_library(voxalon_xxhash xxhash.h xxhash.h)
