# Generates the string ID header and both string tables from resources/strings.txt.
set(VOXALON_STRINGS_SOURCE ${PROJECT_SOURCE_DIR}/resources/strings.txt)
set(VOXALON_STRINGS_OUTPUTS
  ${VOXALON_GENERATED_DIR}/string_ids.h
  ${VOXALON_GENERATED_DIR}/string_table.inc
  ${VOXALON_GENERATED_DIR}/strings.rc)
add_custom_command(
  OUTPUT ${VOXALON_STRINGS_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${VOXALON_STRINGS_SOURCE} -DOUTPUT_DIR=${VOXALON_GENERATED_DIR}
          -P ${PROJECT_SOURCE_DIR}/cmake/GenerateStrings.cmake
  DEPENDS ${VOXALON_STRINGS_SOURCE} ${PROJECT_SOURCE_DIR}/cmake/GenerateStrings.cmake
  COMMENT "Generating the string tables"
  VERBATIM)
add_custom_target(voxalon_strings DEPENDS ${VOXALON_STRINGS_OUTPUTS})
