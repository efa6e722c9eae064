// The "visa" transport: any vendor's VISA library, loaded at run time (libvisa.so, or the file
// named in sicl.conf). The few functions and constants used here are declared from the
// library's public documentation.
#pragma once

#include "instrument/Transport.h"

namespace ymt::sicl {

// The factory registered as "visa".
TransportFactory makeVisaTransportFactory();

} // namespace ymt::sicl
