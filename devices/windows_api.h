// The Windows API for the few host-file parts that differ there, without the macros
// that would clash with the standard library (min, max) and without its rarely used parts.
#ifndef ORLAN_DEVICES_WINDOWS_API_H_
#define ORLAN_DEVICES_WINDOWS_API_H_

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

#endif  // ORLAN_DEVICES_WINDOWS_API_H_
