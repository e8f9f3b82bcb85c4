# 32-bit Windows (x86) with MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(VELKANO_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# The DWARF unwinder keeps one table of every module's frames: with a static libgcc each
# module would have its own, and an exception thrown in a driver would never find the host's
# handler. So libgcc is the shared libgcc_s_dw2-1.dll (which needs libwinpthread-1.dll), both
# shipped beside the drivers and the host; libstdc++ stays static.
set(_velkano_runtime "-static-libstdc++ -shared-libgcc")
set(VELKANO_RUNTIME_DLLS libgcc_s_dw2-1.dll libwinpthread-1.dll)
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_velkano_runtime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_velkano_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_velkano_runtime}")
