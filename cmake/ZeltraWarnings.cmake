function(zeltra_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
    -Wconversion -Wno-sign-conversion -Wnon-virtual-dtor -Woverloaded-virtual)
endfunction()
