# Options every target of ours is built with. Colour arithmetic must be
# bit-exact, so no fused multiply-add may merge a product into a sum, and
# 32-bit x86 must use SSE2 doubles rather than the wider x87 registers.
add_library(palvane_options INTERFACE)

if(MSVC)
  target_compile_options(palvane_options INTERFACE /W4 /permissive- /fp:precise /utf-8)
  if(PALVANE_WERROR)
    target_compile_options(palvane_options INTERFACE /WX)
  endif()
else()
  target_compile_options(palvane_options INTERFACE -Wall -Wextra -Wpedantic -ffp-contract=off)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "i.86|x86")
    target_compile_options(palvane_options INTERFACE -msse2 -mfpmath=sse)
  endif()
  if(PALVANE_WERROR)
    target_compile_options(palvane_options INTERFACE -Werror)
  endif()
  if(PALVANE_SANITIZE)
    target_compile_options(palvane_options INTERFACE
      -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(palvane_options INTERFACE -fsanitize=address,undefined)
  endif()
  if(PALVANE_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
      message(FATAL_ERROR "PALVANE_FUZZ needs clang: configure with CXX=clang++")
    endif()
    # Coverage for libFuzzer in everything the targets link.
    target_compile_options(palvane_options INTERFACE -fsanitize=fuzzer-no-link)
    target_link_options(palvane_options INTERFACE -fsanitize=fuzzer-no-link)
  endif()
endif()
