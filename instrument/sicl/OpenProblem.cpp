#include "instrument/sicl/OpenProblem.h"

#include "instrument/sicl/IoTrace.h"

namespace ymt::sicl {
namespace {

QString& problem() {
    static QString text;
    return text;
}

} // namespace

void reportOpenProblem(const QString& text) {
    problem() = text;
    if (ioTraceEnabled()) {
        const QByteArray bytes = text.toUtf8();
        writeIoTraceLine("iopen-problem \"" +
                         cEscaped(bytes.constData(), std::size_t(bytes.size())) + "\"");
    }
}

QString lastOpenProblem() {
    return problem();
}

void clearOpenProblem() {
    problem().clear();
}

} // namespace ymt::sicl
