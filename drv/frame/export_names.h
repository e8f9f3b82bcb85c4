// The names a driver's frame and exports take. Built as its own .drf, a driver exports the
// plain FIO_ names. Linked into a program beside the other driver, both would define the same
// names: there VELKANO_LINKED_DRIVER (the driver's name) prefixes its exports
// (Velkano17Rte_FIO_ReadObject) and gives its frame a namespace of its own, and the program
// reaches them through the driver's export table (velkano/linked_drivers.h).
#pragma once

#define VELKANO_PASTE_TOKENS(a, b) a##b
#define VELKANO_PASTE(a, b) VELKANO_PASTE_TOKENS(a, b)

#if defined(VELKANO_LINKED_DRIVER)
#define FIO_NAME(name) VELKANO_PASTE(VELKANO_LINKED_DRIVER, _##name)
#define VELKANO_FRAME_NAMESPACE VELKANO_PASTE(linked_, VELKANO_LINKED_DRIVER)
#else
#define FIO_NAME(name) name
#define VELKANO_FRAME_NAMESPACE plugin
#endif
