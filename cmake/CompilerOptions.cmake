# Options every target of the project shares.
add_library(voxalon_options INTERFACE)
target_compile_features(voxalon_options INTERFACE cxx_std_20)
target_compile_options(voxalon_options INTERFACE -Wall -Wextra)
# GCC 12 reports false -Wrestrict overlaps inside std::string's own operator+ (GCC bug 105329).
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(voxalon_options INTERFACE -Wno-restrict)
endif()
target_include_directories(voxalon_options INTERFACE ${PROJECT_SOURCE_DIR} ${VOXALON_GENERATED_DIR})

if(WIN32)
  target_compile_definitions(voxalon_options INTERFACE
    UNICODE _UNICODE _WIN32_WINNT=0x0601 WINVER=0x0601 NOMINMAX)
  # Test programs keep GoogleTest's main(); voxalon.exe adds -municode for its wWinMain.
  target_link_options(voxalon_options INTERFACE -static -static-libgcc -static-libstdc++)
else()
  option(VOXALON_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
  if(VOXALON_SANITIZE)
    set(sanitizers -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_compile_options(voxalon_options INTERFACE ${sanitizers})
    target_link_options(voxalon_options INTERFACE ${sanitizers})
  endif()
endif()
