// Our own SICL-style instrument I/O layer. The C-style functions below keep the names and the
// behaviour the program relies on; each session runs over a named transport (see Transport.h)
// chosen through sicl.conf (see SiclConfig.h). Every call can be traced (see IoTrace.h).
//
//   int h = ymt::sicl::iopen("gpib0,17");          // 0 when nothing answers there
//   ymt::sicl::iwrite(h, "PRES\r\n", 6, true, nullptr);
//   char buf[255]; int reason; std::size_t got;
//   ymt::sicl::iread(h, buf, sizeof buf, &reason, &got);  // reason: I_TERM_* bits
//
// Error codes are positive and our own; their texts contain no digits, because replies that
// failed are parsed like numbers by the callers.
#pragma once

#include <cstddef>

namespace ymt::sicl {

enum ErrorCode {
    I_ERR_NOERROR = 0,
    I_ERR_BADADDR = 1,   // address text malformed
    I_ERR_NOCONN = 2,    // nothing answers at that address
    I_ERR_INVLINST = 3,  // handle not open
    I_ERR_TIMEOUT = 4,   // session timeout expired
    I_ERR_PARAM = 5,     // invalid parameter
    I_ERR_IO = 6,        // transport failure
    I_ERR_NOTSUPP = 7,   // operation not supported by this session
    I_ERR_SYMNAME = 8,   // interface name not configured
    I_ERR_BADCONFIG = 9, // transport named in the configuration is unknown
    I_ERR_OVERFLOW = 10, // more data than the buffer holds
};

// Reasons why iread returned (bits, as several may apply at once).
enum ReadReason {
    I_TERM_MAXCNT = 1, // the buffer is full
    I_TERM_END = 2,    // the device ended its message (END with the last byte)
    I_TERM_CHR = 4,    // termination character seen (not used by our transports)
};

// Serial-control requests of iserialctrl.
enum SerialRequest {
    I_SERIAL_BAUD = 1,
    I_SERIAL_PARITY = 2,
    I_SERIAL_STOP = 3,
    I_SERIAL_WIDTH = 4,
    I_SERIAL_FLOW_IN = 5,
    I_SERIAL_READ_EOI = 10,
};

constexpr int kVersionMajor = 1;
constexpr int kVersionMinor = 0;

// Opens "interface,address" (GPIB primary address 0-30) or "COMn"; returns 0 on failure.
int iopen(const char* address);
int iclose(int handle);
// Sends count bytes; with end the device sees the end of the message after the last byte.
int iwrite(int handle, const char* data, std::size_t count, bool end, std::size_t* actual);
// Reads at most size bytes; returns 0 on success (reason says why it returned).
int iread(int handle, char* buffer, std::size_t size, int* reason, std::size_t* actual);
// Supports the list format "%,Nlf": reads one message and parses up to N comma-separated
// doubles into values, never more than capacity. Returns the number of values stored.
int iscanf(int handle, const char* format, double* values, std::size_t capacity);
// Bounds later reads and writes of the session; 0 = no limit.
int itimeout(int handle, long ms);
int iclear(int handle);
// Serial poll: the device's status byte; clears its service request.
int ireadstb(int handle, unsigned char* status);
// Readable text of an error code; never contains digits.
const char* igeterrstr(int code);
int iversion(int* major, int* minor);
int iserialctrl(int handle, int request, unsigned long value);

// Closes every open session (tests, shut-down); handles are numbered from 1 again.
void closeAllSessions();

} // namespace ymt::sicl
