#include "instrument/transports/AdapterLine.h"

#include "core/TextCatalogue.h"
#include "instrument/sicl/OpenProblem.h"
#include "instrument/sicl/Sicl.h"

#include <QRegularExpression>
#include <QStringList>

namespace ymt::sicl {
namespace {

constexpr qsizetype kMaxParameterText = 1024;

bool fail(QString* error, const QString& reason) {
    if (error)
        *error = reason;
    return false;
}

bool parseNumberWord(const QString& word, int minimum, int maximum, int& value) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,9}$"));
    if (!digits.match(word).hasMatch())
        return false;
    value = word.toInt();
    return value >= minimum && value <= maximum;
}

bool parseHostPort(const QString& text, AdapterLine& line, QString* error) {
    static const QRegularExpression hostPort(
        QStringLiteral("^([A-Za-z0-9][A-Za-z0-9.\\-]{0,252})(?::([0-9]{1,5}))?$"));
    const auto match = hostPort.match(text);
    if (!match.hasMatch())
        return fail(error, Text(Txt::IoPrologixNeedsHostPort).arg(text));
    line.host = match.captured(1);
    if (match.hasCaptured(2) && !parseNumberWord(match.captured(2), 1, 65535, line.port))
        return fail(error, Text(Txt::IoPortOutOfRange).arg(text));
    return true;
}

bool parsePrologix(const QStringList& words, AdapterLine& line, QString* error) {
    if (words.size() < 2)
        return fail(error, Text(Txt::IoPrologixNeedsMode));
    const QString mode = words[0].toLower();
    if (mode == QLatin1String("tcp")) {
        if (words.size() != 2)
            return fail(error, Text(Txt::IoPrologixTcpOneHost));
        line.kind = AdapterLine::Kind::PrologixTcp;
        return parseHostPort(words[1], line, error);
    }
    if (mode == QLatin1String("serial")) {
        if (words.size() > 3)
            return fail(error, Text(Txt::IoPrologixSerialArgs));
        line.kind = AdapterLine::Kind::PrologixSerial;
        line.devicePath = words[1];
        if (words.size() == 3 && !parseNumberWord(words[2], 50, 4000000, line.baudRate))
            return fail(error, Text(Txt::IoBaudNotUsable).arg(words[2]));
        return true;
    }
    return fail(error, Text(Txt::IoPrologixModeUnknown).arg(mode));
}

} // namespace

bool parseAdapterLine(const QString& transportName, const QString& parameters, AdapterLine& line,
                      QString* error) {
    line = AdapterLine();
    if (parameters.size() > kMaxParameterText)
        return fail(error, Text(Txt::IoInterfaceLineTooLong));
    const QStringList words =
        parameters.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    const QString name = transportName.toLower();
    if (name == QLatin1String("prologix"))
        return parsePrologix(words, line, error);
    if (name == QLatin1String("usbtmc")) {
        if (words.size() != 1)
            return fail(error, Text(Txt::IoUsbtmcOneDevice));
        line.kind = AdapterLine::Kind::Usbtmc;
        line.devicePath = words[0];
        return true;
    }
    if (name == QLatin1String("linux-gpib")) {
        if (words.isEmpty() || words.size() > 2 ||
            !parseNumberWord(words[0], 0, 15, line.boardIndex))
            return fail(error, Text(Txt::IoLinuxGpibBoard));
        line.kind = AdapterLine::Kind::LinuxGpib;
        line.library = words.value(1);
        return true;
    }
    if (name == QLatin1String("visa")) {
        if (words.isEmpty() || words.size() > 2)
            return fail(error, Text(Txt::IoVisaResource));
        // The resource is handed to the library after %d is replaced, so no other
        // conversion may sit in it.
        const QString& resource = words[0];
        const qsizetype percent = resource.count(QLatin1Char('%'));
        const qsizetype placeholders = resource.count(QLatin1String("%d"));
        if (percent != placeholders || placeholders > 1)
            return fail(error, Text(Txt::IoVisaOnePlaceholder));
        line.kind = AdapterLine::Kind::Visa;
        line.resource = resource;
        line.library = words.value(1);
        return true;
    }
    return fail(error, QStringLiteral("unknown transport \"%1\"").arg(transportName));
}

QString visaResourceFor(const QString& pattern, int primaryAddress) {
    QString resource = pattern;
    resource.replace(QLatin1String("%d"), QString::number(primaryAddress));
    return resource;
}

bool readAdapterLineForOpen(const QString& transportName, const QString& interfaceName,
                            const QString& parameters, AdapterLine& line, int* error) {
    QString problem;
    if (parseAdapterLine(transportName, parameters, line, &problem))
        return true;
    reportOpenProblem(QStringLiteral("sicl.conf, %1: %2").arg(interfaceName, problem));
    *error = I_ERR_BADCONFIG;
    return false;
}

} // namespace ymt::sicl
