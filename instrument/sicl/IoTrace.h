// Trace of every SICL call, one line each (--io-trace FILE): the function name first, data
// bytes C-escaped inside double quotes, e.g.  iwrite 1 "PRES\r\n" END  or  iread 1 "+1E+05\n" rc=0
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace ymt::sicl {

// Starts writing trace lines to a file (created or truncated); false if it cannot be opened.
// An empty path stops tracing to a file.
bool setIoTraceFile(const QString& path);
// Additional receiver of every trace line (tests); an empty function removes it.
void setIoTraceSink(std::function<void(const QByteArray& line)> sink);
bool ioTraceEnabled();
// Writes one line to the file and the sink (callers check ioTraceEnabled() first).
void writeIoTraceLine(const QByteArray& line);
// Bytes as C string contents: \r \n \t \" \\ and \xHH for other non-printable bytes.
QByteArray cEscaped(const char* data, std::size_t count);

} // namespace ymt::sicl
