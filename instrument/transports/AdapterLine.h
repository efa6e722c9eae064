// The parameters of a real-hardware transport, as written after its name in the [interfaces]
// section of sicl.conf:
//
//   gpib0 = prologix tcp 192.168.1.50[:1234]     GPIB-ETHERNET adapter ("++" commands)
//   gpib0 = prologix serial /dev/ttyUSB0 [BAUD]   GPIB-USB adapter on a virtual serial port
//   gpib0 = usbtmc /dev/usbtmc0                   USBTMC device of the kernel's usbtmc driver
//   gpib0 = linux-gpib 0 [LIBRARY]                linux-gpib board index (libgpib.so.0)
//   gpib0 = visa GPIB0::%d::INSTR [LIBRARY]       VISA resource, %d = the GPIB address
#pragma once

#include <QString>

namespace ymt::sicl {

struct AdapterLine {
    enum class Kind { PrologixTcp, PrologixSerial, Usbtmc, LinuxGpib, Visa };
    Kind kind = Kind::PrologixTcp;
    QString host;          // prologix tcp
    int port = 1234;       // prologix tcp
    QString devicePath;    // prologix serial, usbtmc
    int baudRate = 115200; // prologix serial (USB adapters ignore it)
    int boardIndex = 0;    // linux-gpib
    QString resource;      // visa, with at most one %d
    QString library;       // linux-gpib, visa: library file or path; empty = the default
};

// Reads the parameters of the transport named (case-insensitive) "prologix", "usbtmc",
// "linux-gpib" or "visa". False with a one-line reason in *error when they are not usable.
bool parseAdapterLine(const QString& transportName, const QString& parameters, AdapterLine& line,
                      QString* error);

// parseAdapterLine for an iopen on interfaceName: a line that is not usable is reported as the
// open problem ("sicl.conf, gpib0: ...") and sets *error to I_ERR_BADCONFIG.
bool readAdapterLineForOpen(const QString& transportName, const QString& interfaceName,
                            const QString& parameters, AdapterLine& line, int* error);

// The VISA resource for a GPIB primary address: the %d of the pattern replaced by it.
QString visaResourceFor(const QString& pattern, int primaryAddress);

} // namespace ymt::sicl
