function(zeltra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wconversion -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual)
endfunction()

# zeltra_layer(<name> [LINKS <targets>...] [WIN32_LINKS <libs>...] [PORTABLE_ONLY])
# One library per layer folder, zeltra_<name>: its portable *.cpp files, and
# its win32/ part in Windows builds or its linux/ part in Linux builds (the
# program's entry point, app/win32/main_win32.cpp, belongs to the executable
# only). LINKS are the layers directly below it, the only code it may call;
# WIN32_LINKS the system libraries its win32/ part imports. PORTABLE_ONLY
# leaves the platform folders to targets of their own (the HID backends).
# Globbing keeps parallel work on different files from touching shared lists.
function(zeltra_layer name)
  cmake_parse_arguments(ARG "PORTABLE_ONLY" "" "LINKS;WIN32_LINKS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT ARG_PORTABLE_ONLY)
    if(WIN32)
      file(GLOB _platform CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
      list(FILTER _platform EXCLUDE REGEX "/main_win32\\.cpp$")
      list(APPEND _sources ${_platform})
    elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
      file(GLOB _platform CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/linux/*.cpp)
      list(APPEND _sources ${_platform})
    endif()
  endif()
  add_library(zeltra_${name} STATIC ${_sources})
  target_include_directories(zeltra_${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(zeltra_${name} PUBLIC ${ARG_LINKS})
  if(WIN32 AND NOT ARG_PORTABLE_ONLY)
    target_link_libraries(zeltra_${name} PUBLIC ${ARG_WIN32_LINKS})
  endif()
  zeltra_warnings(zeltra_${name})
endfunction()
