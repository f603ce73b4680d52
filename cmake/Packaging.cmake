# The packages, built into VOXALON_DIST_DIR by the target voxalon_dist: from the Windows build
# the portable zip and the Windows Installer package (packaging/windows-dist), from a native
# build the Debian package of voxalon-cli (packaging/deb). Names and versions come from the
# project version; the installer's texts from resources/strings.txt.
get_filename_component(default_dist_dir ${CMAKE_BINARY_DIR}/../dist ABSOLUTE)
set(VOXALON_DIST_DIR ${default_dist_dir} CACHE PATH "Where voxalon_dist puts the packages")

# The text of string `id` of resources/strings.txt, for texts outside the program.
function(voxalon_string id out)
  file(STRINGS ${PROJECT_SOURCE_DIR}/resources/strings.txt line REGEX "^${id} ")
  string(REGEX REPLACE "^[0-9]+ [A-Z0-9_]+ \"(.*)\"$" "\\1" text "${line}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

if(WIN32)
  if(NOT TARGET voxalon_help)
    return()
  endif()
  voxalon_string(780 IDS_SHELL_SEARCH_WITH)
  voxalon_string(781 IDS_INSTALL_NEWER_VERSION)
  voxalon_string(782 IDS_SHORTCUT_DESCRIPTION)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/voxalon.wxs.in
    ${CMAKE_BINARY_DIR}/packaging/voxalon.wxs @ONLY)
  add_custom_target(voxalon_dist
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/windows-dist ${PROJECT_VERSION} ${CMAKE_BINARY_DIR}
            ${PROJECT_SOURCE_DIR} ${VOXALON_DIST_DIR} ${CMAKE_STRIP}
    DEPENDS voxalon voxalon-cli voxalon_help
    COMMENT "Packaging the zip and the installer into ${VOXALON_DIST_DIR}"
    VERBATIM)
elseif(VOXALON_SANITIZE)
  # A sanitizer build would make the package depend on the sanitizer runtimes.
  add_custom_target(voxalon_dist
    COMMAND ${CMAKE_COMMAND} -E echo "The Debian package needs -DVOXALON_SANITIZE=OFF"
    COMMAND ${CMAKE_COMMAND} -E false
    VERBATIM)
else()
  voxalon_string(783 IDS_CLI_PACKAGE_SUMMARY)
  add_custom_target(voxalon_dist
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/deb ${PROJECT_VERSION} ${CMAKE_BINARY_DIR}
            ${PROJECT_SOURCE_DIR} ${VOXALON_DIST_DIR} ${IDS_CLI_PACKAGE_SUMMARY}
    DEPENDS voxalon-cli
    COMMENT "Packaging voxalon-cli into ${VOXALON_DIST_DIR}"
    VERBATIM)
endif()
