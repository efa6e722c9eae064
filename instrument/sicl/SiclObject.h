// TSicl: the analyzer session over the SICL layer (Sicl.h). The caller owns the handle (0 = not
// open) and passes it to every operation; operations that record store the SICL result in
// LastError. ThermometerQuery is the one query helper of the serial thermometer session.
//
//   TSicl session("gpib0", 2000);
//   int handle = 0;
//   session.Open(17, handle);          // "gpib0,17"; handle 0 when nothing answers
//   session.Write(handle, "PRES");     // CR LF appended, END with the last byte
//   QString reply; session.Read(handle, reply);   // ErrorText() on failure
//   session.ReadFixedValues(handle, count, values);  // 13-byte fields (HP 4194A traces)
//   session.ReadValuePairs(handle, 401, values);     // "%,802lf", first of each pair kept
//
// Array arguments are spans: no operation writes beyond them, whatever the device sends.
#pragma once

#include <QByteArray>
#include <QString>

#include <span>

namespace ymt {

class TSicl {
public:
    static constexpr int kReplyBufferBytes = 255;
    static constexpr int kFieldBytes = 13;
    static constexpr int kMaxPairs = 401;

    // Create.
    TSicl(const QString& interfaceName, int openTimeout);

    QString InterfaceName;
    int OpenTimeout = 2000;
    QByteArray Terminator;
    int LastError = 0;
    int VersionMajor = 0;
    int VersionMinor = 0;

    void Open(int address, int& handle);
    void Write(int handle, const QString& command);
    void Read(int handle, QString& reply);
    // Reads up to count (at most values.size()) fields; count becomes the number stored. Returns
    // how many of them converted completely: a field that did not is stored but is no reading.
    // A field cut off before its separator and the end of the message is not stored.
    int ReadFixedValues(int handle, int& count, std::span<double> values);
    // values[i] = first value of pair i, for the pairs the device sent; the rest stay as they
    // were. count is clamped to 1..401 and to values.size(). Returns the number of pairs stored.
    int ReadValuePairs(int handle, int count, std::span<double> values);
    void SetTimeout(int handle, int ms);
    void Clear(int handle);
    QString ErrorText() const;
    int Version();
    unsigned char ReadStatusByte(int handle);
    void Close(int handle);
};

// Sends command byte for byte (no terminator, END requested) on the thermometer session and
// returns what comes back within one read of at most 1024 bytes ("" when nothing does).
QString ThermometerQuery(int thermometerHandle, const QString& command);

} // namespace ymt
