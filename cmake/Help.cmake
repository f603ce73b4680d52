# The help file VOXAHELP.chm, compiled with chmcmd (Debian fp-utils) from help/ into the top of
# the build folder, beside voxalon.exe. Every page, style sheet and picture under help/ goes in;
# help/contents.hhc and help/index.hhk list the topics. A new topic is one .html file plus its
# lines in the contents and the index.
find_program(VOXALON_CHMCMD chmcmd)
if(NOT VOXALON_CHMCMD)
  message(STATUS "chmcmd not found: the help file is not built")
  return()
endif()

set(help_source ${PROJECT_SOURCE_DIR}/help)
set(help_work ${CMAKE_BINARY_DIR}/help)
set(VOXALON_HELP_FILE ${CMAKE_BINARY_DIR}/VOXAHELP.chm)
file(GLOB help_files RELATIVE ${help_source} CONFIGURE_DEPENDS
  ${help_source}/*.html ${help_source}/*.css ${help_source}/*.hhc ${help_source}/*.hhk
  ${help_source}/images/*.png)
list(SORT help_files)
list(JOIN help_files "\n" help_file_lines)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/voxahelp.hhp CONTENT "[OPTIONS]
Compatibility=1.1 or later
Compiled file=VOXAHELP.chm
Contents file=contents.hhc
Index file=index.hhk
Default topic=Welcome.html
Display compile progress=No
Full-text search=Yes
Language=0x409 English (United States)
Title=Voxalon Help

[FILES]
${help_file_lines}
")

list(TRANSFORM help_files PREPEND ${help_source}/ OUTPUT_VARIABLE help_dependencies)
# chmcmd reads the files beside the project file and writes the help file into its working
# directory.
add_custom_command(OUTPUT ${VOXALON_HELP_FILE}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${help_work}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${help_source} ${help_work}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/generated/voxahelp.hhp ${help_work}/
  COMMAND ${VOXALON_CHMCMD} ${help_work}/voxahelp.hhp
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS ${help_dependencies} ${CMAKE_BINARY_DIR}/generated/voxahelp.hhp
  COMMENT "Compiling VOXAHELP.chm"
  VERBATIM)
add_custom_target(voxalon_help ALL DEPENDS ${VOXALON_HELP_FILE})

find_program(VOXALON_EXTRACT_CHM extract_chmLib)
if(BUILD_TESTING AND VOXALON_EXTRACT_CHM)
  add_test(NAME help_file_links COMMAND ${PROJECT_SOURCE_DIR}/tests/help/check-help
    ${VOXALON_HELP_FILE} ${help_source})
endif()
