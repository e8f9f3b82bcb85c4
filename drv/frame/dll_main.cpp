// The Windows library entry point of every driver. There is no extension-module registry to
// join outside the host's class library, so attaching only has to succeed; detaching releases
// the driver state, closing the companion files, even when the host never called
// FIO_ExitDriver.
#include <windows.h>

#include "velkano/fio_exports.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) FIO_ExitDriver();
    return TRUE;
}
