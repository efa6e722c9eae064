// The "linux-gpib" transport: a device on a board of the linux-gpib library, which is loaded at
// run time (libgpib.so.0, or the file named in sicl.conf). Only the few functions used here
// are declared, from the library's public documentation.
#pragma once

#include "instrument/Transport.h"

namespace ymt::sicl {

// linux-gpib timeout code for a time in ms: the smallest code not below it (0 = none).
int linuxGpibTimeoutCode(long ms);

// The factory registered as "linux-gpib".
TransportFactory makeLinuxGpibTransportFactory();

} // namespace ymt::sicl
