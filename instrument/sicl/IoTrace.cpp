#include "instrument/sicl/IoTrace.h"

#include <QFile>

#include <memory>

namespace ymt::sicl {
namespace {

struct TraceState {
    std::unique_ptr<QFile> file;
    std::function<void(const QByteArray&)> sink;
};

TraceState& state() {
    static TraceState instance;
    return instance;
}

} // namespace

bool setIoTraceFile(const QString& path) {
    state().file.reset();
    if (path.isEmpty())
        return true;
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    state().file = std::move(file);
    return true;
}

void setIoTraceSink(std::function<void(const QByteArray&)> sink) {
    state().sink = std::move(sink);
}

bool ioTraceEnabled() {
    return state().file || state().sink;
}

void writeIoTraceLine(const QByteArray& line) {
    if (state().file) {
        state().file->write(line);
        state().file->write("\n");
        // Flushed line by line so that the trace survives a crash of the program.
        state().file->flush();
    }
    if (state().sink)
        state().sink(line);
}

QByteArray cEscaped(const char* data, std::size_t count) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(static_cast<qsizetype>(count));
    for (std::size_t i = 0; i < count; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        switch (byte) {
        case '\r':
            out += "\\r";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            if (byte < 0x20 || byte >= 0x7F) {
                out += "\\x";
                out += hex[byte >> 4];
                out += hex[byte & 0x0F];
            } else {
                out += static_cast<char>(byte);
            }
        }
    }
    return out;
}

} // namespace ymt::sicl
