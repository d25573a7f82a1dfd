# Shared part of the two mingw-w64 toolchain files. The -posix compilers give
# std::thread through winpthreads; everything is linked statically so the
# program folder holds only our own files.
set(CMAKE_C_COMPILER ${VELMORA_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELMORA_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELMORA_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test programs run under our private Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
