// A serial port opened raw through termios: one device path, one baud rate, 8N1 (or another
// framing), no flow control, exclusive access, DTR and RTS raised. Reads end on a terminator
// byte or when a timeout of the one clock expires. Used by the thermometer transport and by
// serial GPIB adapters.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace ymt::serial {

struct SerialFraming {
    int dataBits = 8;  // 5-8
    char parity = 'N'; // 'N', 'E' or 'O'
    int stopBits = 1;  // 1 or 2
    bool hardwareFlow = false;
};

class SerialPort {
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    // Opens devicePath (for example /dev/ttyS1 or /dev/ttyUSB0) raw at baudRate with the
    // framing. False with errorText (the system's own message) when it cannot.
    bool open(const QString& devicePath, int baudRate, const SerialFraming& framing = {});
    void close();
    bool isOpen() const { return fd >= 0; }
    QString devicePath() const { return path; }
    // The system's message of the last failure ("" after success).
    QString errorText() const { return lastError; }
    // errno of the system's refusal behind errorText, 0 when the port failed for another reason:
    // errorText is in the system's language, so no caller can look for words in it.
    int errorNumber() const { return lastErrno; }

    // Line settings of an open port; false (and errorText) when the port refuses them.
    bool setBaudRate(int baudRate);
    bool setFraming(const SerialFraming& framing);
    int baudRate() const { return currentBaud; }
    SerialFraming framing() const { return currentFraming; }

    // Terminator of reads: a byte 0-255, or -1 for none (a read then ends on a full buffer
    // or on the timeout).
    void setTerminator(int byte) { terminator = byte; }
    int terminatorByte() const { return terminator; }
    // With a terminator set, a read also ends after a line feed: a device that ends its reply
    // with CR LF instead of the terminator is not waited for until the timeout.
    void setEndAtLineFeed(bool on) { endAtLineFeed = on; }
    // Bounds every read and write in milliseconds of the one clock; 0 = no limit.
    void setTimeoutMs(long ms) { timeout = ms < 0 ? 0 : ms; }
    long timeoutMs() const { return timeout; }

    enum class ReadEnd { Terminator, Full, Timeout, Error };
    struct ReadResult {
        std::size_t count = 0; // bytes stored
        ReadEnd end = ReadEnd::Error;
    };

    // Writes all count bytes; false on an error or when the timeout passes first.
    bool write(const char* data, std::size_t count, std::size_t* written = nullptr);
    bool write(const QByteArray& bytes) {
        return write(bytes.constData(), std::size_t(bytes.size()));
    }
    // Reads into buffer until the terminator (kept in the buffer), size bytes, or the timeout.
    ReadResult read(char* buffer, std::size_t size);
    // Convenience: read up to maxBytes into a byte array.
    QByteArray readMessage(std::size_t maxBytes, ReadEnd* end = nullptr);
    // Discards whatever arrived and was not read yet (a late reply, line noise).
    void flushInput();

    // Supported baud rates of this platform (110 ... 230400).
    static bool isSupportedBaudRate(int baudRate);

private:
    bool applyLineSettings(int baudRate, const SerialFraming& framing);
    void fail(const QString& what, int error);

    int fd = -1;
    bool endAtLineFeed = false;
    QString path;
    QString lastError;
    int lastErrno = 0;
    int currentBaud = 0;
    SerialFraming currentFraming;
    int terminator = -1;
    long timeout = 0;
};

} // namespace ymt::serial
