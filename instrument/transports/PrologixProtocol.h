// The line protocol of GPIB adapters with the "++" command set, shared by the transport that
// drives such an adapter and by the simulated adapter server. Lines end with CR or LF; lines
// that start with "++" are for the adapter, all others go to the instrument; inside instrument
// data CR, LF, ESC and "+" carry an ESC in front.
#pragma once

#include <QByteArray>

#include <cstddef>
#include <optional>

namespace ymt::prologix {

constexpr char kEscape = 27;
// Longest line the server takes; a longer one is refused whole.
constexpr qsizetype kMaxLineBytes = 64 * 1024;

// Instrument data as one line for the adapter: escaped, ended by an unescaped LF.
QByteArray dataLine(const char* data, std::size_t count);

struct AdapterLine {
    enum class Kind { Command, Data, Overlong };
    Kind kind = Kind::Data;
    QByteArray text; // unescaped; for commands without the leading "++"
};

// Splits the byte stream from a controller into lines, undoing the escapes.
class LineSplitter {
public:
    void feed(const char* data, std::size_t count);
    // The next complete line, or nothing until more bytes come. Empty lines are skipped.
    std::optional<AdapterLine> next();

private:
    QByteArray pending;
    qsizetype scanned = 0;
    bool overlongMarker = false; // the line being received has grown past the limit
};

// The status byte in a reply to "++spoll" ("64\r\n"); false when it is not a number 0-255.
bool parseStatusByteReply(const QByteArray& reply, unsigned char& status);

} // namespace ymt::prologix
