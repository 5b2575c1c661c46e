# One place that gives every target the same warnings.
option(HM_WARNINGS_AS_ERRORS "Treat warnings as errors" OFF)

function(hm_target_warnings target)
  if(MSVC)
    target_compile_options(${target} PRIVATE /W4 /utf-8)
    if(HM_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE /WX)
    endif()
  else()
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                           -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
                           -Wimplicit-fallthrough)
    # GCC 12 reports impossible overlaps inside libstdc++'s string concatenation at -O2 and
    # above ("accessing 2147483650 or more bytes"); the warning is wrong there.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
      target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(HM_WARNINGS_AS_ERRORS)
      target_compile_options(${target} PRIVATE -Werror)
    endif()
  endif()
endfunction()
