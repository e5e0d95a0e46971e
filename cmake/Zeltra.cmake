function(zeltra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wconversion -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual)
endfunction()

# Adds a subsystem folder's sources: its portable *.cpp files to zeltra_core;
# in Windows builds its win32/*.cpp files to zeltra_win32 (the program's
# entry point, app/win32/main_win32.cpp, belongs to the executable only); in
# Linux builds its linux/*.cpp files to zeltra_core.
# Globbing keeps parallel work on different files from touching shared lists.
function(zeltra_subsystem_sources)
  file(GLOB _portable CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(_portable)
    target_sources(zeltra_core PRIVATE ${_portable})
  endif()
  if(WIN32)
    file(GLOB _win32 CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/win32/*.cpp)
    list(FILTER _win32 EXCLUDE REGEX "/main_win32\\.cpp$")
    if(_win32)
      target_sources(zeltra_win32 PRIVATE ${_win32})
    endif()
  endif()
  if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    file(GLOB _linux CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/linux/*.cpp)
    if(_linux)
      target_sources(zeltra_core PRIVATE ${_linux})
    endif()
  endif()
endfunction()
