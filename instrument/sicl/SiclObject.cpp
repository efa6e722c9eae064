#include "instrument/sicl/SiclObject.h"

#include "core/TextFile.h"
#include "instrument/analyzer/ReplyParsers.h"
#include "instrument/sicl/Sicl.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace ymt {

TSicl::TSicl(const QString& interfaceName, int openTimeout)
    : InterfaceName(interfaceName), OpenTimeout(openTimeout), Terminator("\r\n") {}

void TSicl::Open(int address, int& handle) {
    const QByteArray text =
        EncodeCp1252(InterfaceName + QLatin1Char(',') + QString::number(address));
    handle = sicl::iopen(text.constData());
    if (handle != 0) {
        SetTimeout(handle, OpenTimeout);
        if (LastError == 0)
            Clear(handle);
    } else {
        LastError = 0;
    }
    Version();
}

void TSicl::Write(int handle, const QString& command) {
    const QByteArray bytes = EncodeCp1252(command) + Terminator;
    std::size_t sent = 0;
    LastError = sicl::iwrite(handle, bytes.constData(), std::size_t(bytes.size()), true, &sent);
}

void TSicl::Read(int handle, QString& reply) {
    std::array<char, kReplyBufferBytes> buffer{};
    int reason = 0;
    std::size_t received = 0;
    LastError = sicl::iread(handle, buffer.data(), buffer.size(), &reason, &received);
    if (LastError != 0) {
        reply = ErrorText();
        return;
    }
    received = std::min(received, buffer.size());
    const auto* nul = static_cast<const char*>(std::memchr(buffer.data(), 0, received));
    const std::size_t length = nul ? std::size_t(nul - buffer.data()) : received;
    reply = DecodeCp1252(QByteArray(buffer.data(), qsizetype(length)));
}

int TSicl::ReadFixedValues(int handle, int& count, std::span<double> values) {
    const int wanted = std::clamp(count, 0, static_cast<int>(values.size()));
    int stored = 0;
    int converted = 0;
    int reason = 0;
    while (stored < wanted) {
        std::array<char, kFieldBytes> field{};
        std::size_t received = 0;
        LastError = sicl::iread(handle, field.data(), field.size(), &reason, &received);
        if (LastError != 0)
            break;
        received = std::min(received, field.size());
        // A field ends with its separator or with the end of the message; one that was cut
        // off before either is a piece of a number, not a reading.
        if (received < field.size() && !(reason & sicl::I_TERM_END)) {
            LastError = static_cast<int>(received) + 1;
            break;
        }
        const auto* nul = static_cast<const char*>(std::memchr(field.data(), 0, received));
        const std::size_t length =
            std::min<std::size_t>(nul ? std::size_t(nul - field.data()) : received, 12);
        double value = 0;
        LastError = ConvertFixedField(field.data(), length, value);
        const char separator = field[field.size() - 1];
        if (LastError == 0 && received == field.size() && !nul && separator != ',' &&
            separator != '\n' && separator != '\r')
            LastError = static_cast<int>(field.size());
        values[std::size_t(stored++)] = value;
        if (LastError == 0)
            converted = stored;
        if (reason != sicl::I_TERM_MAXCNT || LastError != 0)
            break;
    }
    count = stored;
    return converted;
}

int TSicl::ReadValuePairs(int handle, int count, std::span<double> values) {
    count = std::clamp(count, 1, kMaxPairs);
    std::array<double, 2 * kMaxPairs> list{};
    const QByteArray format = "%," + QByteArray::number(2 * count) + "lf";
    const int parsed = sicl::iscanf(handle, format.constData(), list.data(), list.size());
    const int pairs = std::min({count, (parsed + 1) / 2, static_cast<int>(values.size())});
    for (int i = 0; i < pairs; ++i)
        values[std::size_t(i)] = list[std::size_t(2 * i)];
    return std::max(pairs, 0);
}

void TSicl::SetTimeout(int handle, int ms) {
    LastError = sicl::itimeout(handle, ms);
}

void TSicl::Clear(int handle) {
    LastError = sicl::iclear(handle);
}

QString TSicl::ErrorText() const {
    if (LastError > 0)
        return QString::fromLatin1(sicl::igeterrstr(LastError));
    switch (LastError) {
    case -2:
        return QStringLiteral("card is not open!");
    case -1:
        return QStringLiteral("card is open!");
    case 0:
        return QStringLiteral("no error");
    default:
        return QStringLiteral("no entry in error list");
    }
}

int TSicl::Version() {
    LastError = sicl::iversion(&VersionMajor, &VersionMinor);
    return VersionMajor;
}

unsigned char TSicl::ReadStatusByte(int handle) {
    unsigned char status = 0;
    LastError = sicl::ireadstb(handle, &status);
    return status;
}

void TSicl::Close(int handle) {
    if (handle != 0)
        sicl::iclose(handle);
}

QString ThermometerQuery(int thermometerHandle, const QString& command) {
    // One buffer of 1024 bytes for command and reply: a longer command is cut to the buffer,
    // and a longer reply ends at it.
    constexpr std::size_t kBufferBytes = 1024;
    std::array<char, kBufferBytes> buffer{};
    const QByteArray bytes = EncodeCp1252(command).left(qsizetype(kBufferBytes));
    std::memcpy(buffer.data(), bytes.constData(), std::size_t(bytes.size()));
    std::size_t count = 0;
    sicl::iwrite(thermometerHandle, buffer.data(), std::size_t(bytes.size()), true, &count);
    int reason = 0;
    count = 0;
    // What came before the timeout is the reply (it may lack the terminator); only a failed
    // line gives nothing.
    const int rc = sicl::iread(thermometerHandle, buffer.data(), buffer.size(), &reason, &count);
    if (rc != sicl::I_ERR_NOERROR && rc != sicl::I_ERR_TIMEOUT)
        count = 0;
    return DecodeCp1252(QByteArray(buffer.data(), qsizetype(std::min(count, buffer.size()))));
}

} // namespace ymt
