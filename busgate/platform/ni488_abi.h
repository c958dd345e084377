// The classic 32-bit language interface of the NI-488.2 driver library, as the
// driver exports it: __stdcall on Windows, the default convention elsewhere.
#pragma once

#if defined(_WIN32)
#define NI488_CALL __stdcall
#define NI488_DRIVER_EXPORT __declspec(dllexport)
#else
#define NI488_CALL
#define NI488_DRIVER_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
typedef unsigned short Addr4882_t;
typedef int(NI488_CALL* GpibNotifyCallback_t)(int ud, int ibsta, int iberr, long ibcntl,
                                              void* refData);
}
