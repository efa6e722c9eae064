// Walks the lines of a file read whole, LF or CR LF, without copying them.
#pragma once

#include <QByteArrayView>

namespace ymt {

// The line that begins at START (its LF or CR LF left off) into LINE, and START past it; false
// once START has reached the end.
inline bool NextByteLine(QByteArrayView bytes, qsizetype& start, QByteArrayView& line) {
    if (start >= bytes.size())
        return false;
    qsizetype stop = bytes.indexOf('\n', start);
    if (stop < 0)
        stop = bytes.size();
    line = bytes.sliced(start, stop - start);
    start = stop + 1;
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}

} // namespace ymt
