#include "core/FileTypeFilter.h"

#include <QStringList>

namespace ymt {

QString FileTypeFilter(Txt id) {
    const QStringList english = EnglishText(id).split(QLatin1Char('|'));
    QStringList parts = Text(id).split(QLatin1Char('|'));
    if (parts.size() != english.size())
        return english.join(QLatin1Char('|'));
    for (qsizetype i = 1; i < parts.size(); i += 2)
        parts[i] = english[i];
    return parts.join(QLatin1Char('|'));
}

} // namespace ymt
