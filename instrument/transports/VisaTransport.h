// The "visa" transport: any vendor's VISA library, loaded at run time (libvisa.so, or the file
// named in sicl.conf). The few functions and constants used here are declared from the
// library's public documentation.
#pragma once

#include "instrument/sicl/Transport.h"

#include <cstdint>
#include <memory>

namespace ymt::sicl {

using ViStatus = std::int32_t;
using ViSession = std::uint32_t;
using ViUInt32 = std::uint32_t;
using ViAttr = std::uint32_t;

// The library's functions the transport calls (the fuzz target supplies its own).
struct VisaApi {
    ViStatus (*viOpenDefaultRM)(ViSession* manager) = nullptr;
    ViStatus (*viOpen)(ViSession manager, const char* resource, ViUInt32 mode, ViUInt32 timeout,
                       ViSession* session) = nullptr;
    ViStatus (*viClose)(ViSession object) = nullptr;
    ViStatus (*viWrite)(ViSession session, const unsigned char* data, ViUInt32 count,
                        ViUInt32* written) = nullptr;
    ViStatus (*viRead)(ViSession session, unsigned char* buffer, ViUInt32 count,
                       ViUInt32* got) = nullptr;
    ViStatus (*viReadSTB)(ViSession session, std::uint16_t* status) = nullptr;
    ViStatus (*viClear)(ViSession session) = nullptr;
    ViStatus (*viSetAttribute)(ViSession session, ViAttr attribute, unsigned long value) = nullptr;
    ViStatus (*viGpibControlREN)(ViSession session, std::uint16_t mode) = nullptr; // optional
    ViSession manager = 0;
};

// A session on vi of api (viOpen's result); api must outlive it.
std::unique_ptr<Transport> makeVisaTransport(const VisaApi& api, ViSession session);

// The factory registered as "visa".
TransportFactory makeVisaTransportFactory();

} // namespace ymt::sicl
