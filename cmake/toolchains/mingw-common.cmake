# Shared part of the MinGW-w64 cross toolchains; the including file sets VELKANO_MINGW_TRIPLET.
# Debian's "-posix" compilers: the thread model whose libstdc++ has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VELKANO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELKANO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELKANO_MINGW_TRIPLET}-windres)

# Libraries and headers come only from the target's sysroot; never mix in the build
# machine's /usr/include or its ELF libraries.
set(CMAKE_FIND_ROOT_PATH /usr/${VELKANO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Tests and test discovery run the executables under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# GoogleTest, CLI11 and nlohmann_json are taken from Debian's sources and headers rather than
# from the build machine's CMake packages (see cross-deps.cmake).
set(CMAKE_PROJECT_TOP_LEVEL_INCLUDES ${CMAKE_CURRENT_LIST_DIR}/cross-deps.cmake)
