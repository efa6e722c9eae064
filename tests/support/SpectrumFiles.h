// Spectrum text files for tests, laid out as the program writes them: 20 header lines, the
// column-title line, then one row per point of three 16-character numbers (code page 1252).
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cmath>

namespace ymt::test {

struct SpectrumFileOptions {
    int points = 401;
    double fromKHz = 100;
    double toKHz = 300;
    bool german = false;
    QByteArray lineEnd = "\r\n";
    QStringList extraRows; // appended after the points, verbatim
};

// A number as the files hold it: sign or blank, d.ddddddd, "E", exponent sign, four digits.
inline QString FileNumber(double value) {
    QString text = QString::asprintf("%.7E", std::fabs(value));
    const qsizetype e = text.indexOf(QLatin1Char('E'));
    const QString exponent = text.mid(e + 2).rightJustified(4, QLatin1Char('0'));
    return (value < 0 ? QStringLiteral("-") : QStringLiteral(" ")) + text.left(e + 2) + exponent;
}

inline QByteArray SpectrumFileBytes(const SpectrumFileOptions& o = {}) {
    QStringList lines;
    lines << (o.german ? QStringLiteral("Kleinsignalimpedanzmessung")
                       : QStringLiteral("Low Field Impedance Analysis")) +
                 QStringLiteral("  09.12.2026 / 01:00:00 -- Vazaz")
          << QString() << QStringLiteral("Material                : PZT")
          << QStringLiteral("Sample Description      : Disc")
          << QStringLiteral("Notes                   : ")
          << QStringLiteral("Sample Geometry         : Ring")
          << QStringLiteral("Electrode-Distance [mm] : 1.000")
          << QStringLiteral("Electrode-Area [mm²]    : 100.000") << QString()
          << QStringLiteral("Frequency [kHz]         : 1.000")
          << QStringLiteral("Capacitance [nF]        : ---")
          << QStringLiteral("tand              [1e-4]: ---")
          << QStringLiteral("eps(rel)                : ---")
          << QStringLiteral("f(min)             [kHz]: ---")
          << QStringLiteral("f(max)             [kHz]: ---")
          << QStringLiteral("keff                 [%]: ---")
          << QStringLiteral("kt                   [%]: ---")
          << QStringLiteral("Q(3dB)                  : ---")
          << QStringLiteral("B(3dB)             [kHz]: ---") << QString()
          << (o.german ? QStringLiteral("Frequenz [kHz]") : QStringLiteral("Frequency [kHz]")) +
                 QStringLiteral("\t|Z| [Ohm]\ttheta [°]");
    for (int i = 0; i < o.points; ++i) {
        const double f = o.fromKHz + (o.toKHz - o.fromKHz) * i / std::max(o.points - 1, 1);
        const double z = 1000 + 500 * std::sin(f / 10);
        const double theta = -80 + 10 * std::cos(f / 7);
        lines << FileNumber(f) + QLatin1Char('\t') + FileNumber(z) + QLatin1Char('\t') +
                     FileNumber(theta);
    }
    lines << o.extraRows;
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + o.lineEnd;
    return bytes;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline bool WriteSpectrumFile(const QString& path, const SpectrumFileOptions& options = {}) {
    return WriteBytes(path, SpectrumFileBytes(options));
}

} // namespace ymt::test
