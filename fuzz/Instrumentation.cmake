# Included by the top CMakeLists.txt before any target is made when STACKMASON_FUZZ is on:
# every library the fuzz targets link is built with coverage for libFuzzer and with the
# address and undefined-behaviour sanitizers, which stop at the first fault.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "STACKMASON_FUZZ needs clang: configure with CC=clang CXX=clang++")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
