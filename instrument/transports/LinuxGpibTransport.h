// The "linux-gpib" transport: a device on a board of the linux-gpib library, which is loaded at
// run time (libgpib.so.0, or the file named in sicl.conf). Only the few functions used here
// are declared, from the library's public documentation.
#pragma once

#include "instrument/sicl/Transport.h"

namespace ymt::sicl {

// linux-gpib timeout code for a time in ms: the smallest code not below it (0 = none).
int linuxGpibTimeoutCode(long ms);

// The library's functions the transport calls (the fuzz target supplies its own).
struct GpibApi {
    int (*ibdev)(int board, int pad, int sad, int timo, int sendEoi, int eos) = nullptr;
    int (*ibwrt)(int ud, const void* data, long count) = nullptr;
    int (*ibrd)(int ud, void* buffer, long count) = nullptr;
    int (*ibrsp)(int ud, char* status) = nullptr;
    int (*ibclr)(int ud) = nullptr;
    int (*ibtmo)(int ud, int timo) = nullptr;
    int (*ibonl)(int ud, int online) = nullptr;
    int (*ibloc)(int ud) = nullptr;                                   // optional
    int (*ibln)(int ud, int pad, int sad, short* listener) = nullptr; // optional
    long (*threadIbcntl)() = nullptr;                                 // or the global below
    long* globalIbcntl = nullptr;
    int (*threadIberr)() = nullptr; // optional

    long count() const { return threadIbcntl ? threadIbcntl() : *globalIbcntl; }
    int error() const { return threadIberr ? threadIberr() : -1; }
};

// A session on the device descriptor ud of api (ibdev's result); api must outlive it.
std::unique_ptr<Transport> makeLinuxGpibTransport(const GpibApi& api, int descriptor);

// The factory registered as "linux-gpib".
TransportFactory makeLinuxGpibTransportFactory();

} // namespace ymt::sicl
