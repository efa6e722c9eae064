#include "instrument/transports/PrologixProtocol.h"

#include <utility>

namespace ymt::prologix {

QByteArray dataLine(const char* data, std::size_t count) {
    QByteArray line;
    line.reserve(static_cast<qsizetype>(count + count / 8 + 2));
    for (std::size_t i = 0; i < count; ++i) {
        const char byte = data[i];
        if (byte == '\r' || byte == '\n' || byte == kEscape || byte == '+')
            line += kEscape;
        line += byte;
    }
    line += '\n';
    return line;
}

void LineSplitter::feed(const char* data, std::size_t count) {
    pending.append(data, static_cast<qsizetype>(count));
}

std::optional<AdapterLine> LineSplitter::next() {
    for (;;) {
        // Find the first unescaped line end; an ESC makes the byte after it literal.
        qsizetype end = -1;
        qsizetype i = scanned;
        while (i < pending.size()) {
            const char byte = pending[i];
            if (byte == kEscape) {
                if (i + 1 >= pending.size())
                    break;
                i += 2;
                continue;
            }
            if (byte == '\r' || byte == '\n') {
                end = i;
                break;
            }
            ++i;
        }
        if (end < 0) {
            scanned = i;
            if (pending.size() > kMaxLineBytes + 1) {
                // Keep discarding the line until its end arrives, then report it once.
                pending =
                    pending.right(1).startsWith(kEscape) ? QByteArray(1, kEscape) : QByteArray();
                scanned = 0;
                overlongMarker = true;
            }
            return std::nullopt;
        }
        const QByteArray raw = pending.left(end);
        pending.remove(0, end + 1);
        scanned = 0;
        if (std::exchange(overlongMarker, false) || raw.size() > kMaxLineBytes)
            return AdapterLine{AdapterLine::Kind::Overlong, {}};
        if (raw.isEmpty())
            continue;
        AdapterLine line;
        if (raw.startsWith("++")) {
            line.kind = AdapterLine::Kind::Command;
            line.text = raw.mid(2).trimmed();
            return line;
        }
        line.text.reserve(raw.size());
        for (qsizetype k = 0; k < raw.size(); ++k) {
            if (raw[k] == kEscape && k + 1 < raw.size())
                ++k;
            line.text += raw[k];
        }
        return line;
    }
}

bool parseStatusByteReply(const QByteArray& reply, unsigned char& status) {
    const QByteArray text = reply.trimmed();
    if (text.isEmpty() || text.size() > 3)
        return false;
    int value = 0;
    for (const char digit : text) {
        if (digit < '0' || digit > '9')
            return false;
        value = value * 10 + (digit - '0');
    }
    if (value > 255)
        return false;
    status = static_cast<unsigned char>(value);
    return true;
}

} // namespace ymt::prologix
