# KESTRUNE_SANITIZE turns on AddressSanitizer and UndefinedBehaviorSanitizer for every target.
if(KESTRUNE_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# KESTRUNE_FUZZ builds every library with libFuzzer's coverage and both sanitizers; the
# targets in fuzz/ link libFuzzer itself. Only clang has libFuzzer.
if(KESTRUNE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "KESTRUNE_FUZZ needs clang: configure with -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
