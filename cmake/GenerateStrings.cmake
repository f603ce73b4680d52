# Turns resources/strings.txt, the one list of user-visible texts, into
#   string_ids.h     - #define NAME ID, for C++ and for the resource compiler
#   string_table.inc - {ID, u"text"} rows for the native string table
#   strings.rc       - the STRINGTABLE of the Windows resources
# Run as: cmake -DINPUT=... -DOUTPUT_DIR=... -P GenerateStrings.cmake
#
# Line format: ID NAME "text". Texts are ASCII with the C escapes \" \\ \n and \t, and \uXXXX
# for a character beyond ASCII.
cmake_minimum_required(VERSION 3.25)

file(READ "${INPUT}" content)
# Protect the characters that CMake lists treat specially.
string(REPLACE ";" "@SEMI@" content "${content}")
string(REPLACE "[" "@LBR@" content "${content}")
string(REPLACE "]" "@RBR@" content "${content}")
string(REPLACE "\n" ";" lines "${content}")

set(ids "")
set(names "")
set(header "// Generated from resources/strings.txt; do not edit.\n#pragma once\n")
set(table "// Generated from resources/strings.txt; do not edit.\n")
set(rc "// Generated from resources/strings.txt; do not edit.\nSTRINGTABLE\nBEGIN\n")
set(lineno 0)
foreach(line IN LISTS lines)
  math(EXPR lineno "${lineno} + 1")
  string(STRIP "${line}" line)
  if(line STREQUAL "" OR line MATCHES "^#")
    continue()
  endif()
  if(NOT line MATCHES "^([0-9]+)[ \t]+([A-Z][A-Z0-9_]*)[ \t]+\"(.*)\"$")
    message(FATAL_ERROR "${INPUT}:${lineno}: expected: ID NAME \"text\"")
  endif()
  set(id "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_2}")
  set(text "${CMAKE_MATCH_3}")
  if(id IN_LIST ids)
    message(FATAL_ERROR "${INPUT}:${lineno}: string ID ${id} defined twice")
  endif()
  if(name IN_LIST names)
    message(FATAL_ERROR "${INPUT}:${lineno}: string name ${name} defined twice")
  endif()
  list(APPEND ids "${id}")
  list(APPEND names "${name}")

  # Only the escapes named above, and no bare quote.
  string(REGEX REPLACE "\\\\(\"|\\\\|n|t|u[0-9A-F][0-9A-F][0-9A-F][0-9A-F])" "" bare "${text}")
  if(bare MATCHES "[\\\\\"]")
    message(FATAL_ERROR "${INPUT}:${lineno}: unsupported escape or bare quote in ${name}")
  endif()

  string(REPLACE "@SEMI@" ";" text "${text}")
  string(REPLACE "@LBR@" "[" text "${text}")
  string(REPLACE "@RBR@" "]" text "${text}")
  # The resource compiler writes a quote as two quotes; its other escapes match C's.
  string(REPLACE "\\\"" "\"\"" rctext "${text}")
  # \uXXXX is \xXXXX in a wide string of the resource compiler.
  string(REGEX REPLACE "\\\\u([0-9A-F][0-9A-F][0-9A-F][0-9A-F])" "\\\\x\\1" rctext "${rctext}")

  string(APPEND header "#define ${name} ${id}\n")
  string(APPEND table "{${id}, u\"${text}\"},\n")
  string(APPEND rc "  ${id}, L\"${rctext}\"\n")
endforeach()
string(APPEND rc "END\n")

file(MAKE_DIRECTORY "${OUTPUT_DIR}")
foreach(pair "string_ids.h:header" "string_table.inc:table" "strings.rc:rc")
  string(REPLACE ":" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 var)
  # Write only on change so dependents are not rebuilt needlessly.
  set(path "${OUTPUT_DIR}/${file}")
  set(old "")
  if(EXISTS "${path}")
    file(READ "${path}" old)
  endif()
  if(NOT old STREQUAL "${${var}}")
    file(WRITE "${path}" "${${var}}")
  endif()
endforeach()
