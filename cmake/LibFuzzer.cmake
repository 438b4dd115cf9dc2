# VOREL_LIBFUZZER: everything is compiled with the fuzzer's coverage hooks and
# the address and undefined-behaviour sanitizers; only the drivers link the
# fuzzer's own main (vorel_fuzz in fuzz/CMakeLists.txt). The flags are target
# options, not CMAKE_CXX_FLAGS, so that CMake's compiler check still links.
if(VOREL_LIBFUZZER)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VOREL_LIBFUZZER needs clang: -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
