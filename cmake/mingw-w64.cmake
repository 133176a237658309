# Cross-build for Windows with Debian's MinGW-w64 (posix threads), for the
# processor the including toolchain file names in CORVANE_MINGW_PROCESSOR.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${CORVANE_MINGW_PROCESSOR})
set(corvane_mingw_triplet ${CORVANE_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${corvane_mingw_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${corvane_mingw_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${corvane_mingw_triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${corvane_mingw_triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
