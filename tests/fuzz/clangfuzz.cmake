# Initial cache of the libFuzzer build, used by scripts/fuzz.sh:
#   cmake -C tests/fuzz/clangfuzz.cmake -S . -B build-libfuzzer -G Ninja
# Every library is built with the address and undefined-behaviour sanitizers
# and with the fuzzer's coverage hooks, so the fuzzer is guided by the code
# under test and not only by the harness.
set(CMAKE_C_COMPILER clang CACHE STRING "")
set(CMAKE_CXX_COMPILER clang++ CACHE STRING "")
set(CMAKE_BUILD_TYPE RelWithDebInfo CACHE STRING "")
set(CMAKE_CXX_FLAGS "-fsanitize=fuzzer-no-link" CACHE STRING "")
set(SIGNOVAT_SANITIZE ON CACHE BOOL "")
set(SIGNOVAT_FUZZ ON CACHE BOOL "")
set(SIGNOVAT_BUILD_BENCH OFF CACHE BOOL "")
