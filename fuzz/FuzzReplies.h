// Shared by the fuzz targets of the library and driver transports: the input as a sequence of
// replies, each a control byte (status bits for the fake library) and a chunk of data whose
// length comes from the input too.
#pragma once

#include "FuzzSupport.h"

#include "instrument/sicl/Transport.h"

#include <QByteArray>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace ymt::fuzz {

class ReplyStream {
public:
    explicit ReplyStream(QByteArray bytes) : bytes_(std::move(bytes)) {}
    bool atEnd() const { return position_ >= bytes_.size(); }
    // The next control byte (0 at the end).
    unsigned char control() {
        return atEnd() ? 0 : static_cast<unsigned char>(bytes_[position_++]);
    }
    // Copies the next chunk (at most capacity bytes, its length from the input) into buffer and
    // returns its length.
    std::size_t chunk(char* buffer, std::size_t capacity) {
        const std::size_t wanted = control() % 97;
        const std::size_t taken =
            std::min({wanted, capacity, static_cast<std::size_t>(bytes_.size() - position_)});
        if (taken > 0)
            std::memcpy(buffer, bytes_.constData() + position_, taken);
        position_ += static_cast<qsizetype>(taken);
        return taken;
    }

private:
    QByteArray bytes_;
    qsizetype position_ = 0;
};

// Queries, reads into a trace field's and a reply's buffer by turns, and polls, until the
// replies run out: whatever the library hands back, a read never reports more than it holds
// (and, where the library writes all or nothing, a write reports all or nothing).
inline void ExerciseTransport(sicl::Transport& transport, const ReplyStream& replies,
                              bool wholeWrites) {
    char field[13];
    char reply[255];
    for (int round = 0; round < 64 && !replies.atEnd(); ++round) {
        std::size_t sent = 0;
        transport.write("A?\r\n", 4, true, &sent);
        if (wholeWrites)
            check(sent == 0 || sent == 4);
        int reason = 0;
        std::size_t got = 0;
        char* buffer = round % 2 ? field : reply;
        const std::size_t capacity = round % 2 ? sizeof field : sizeof reply;
        transport.read(buffer, capacity, &reason, &got);
        check(got <= capacity);
        unsigned char status = 0;
        transport.readStatusByte(&status);
    }
    transport.close();
}

} // namespace ymt::fuzz
