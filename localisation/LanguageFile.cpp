#include "localisation/LanguageFile.h"

#include "localisation/TextTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>

#include <algorithm>

#ifndef YMT_DATA_DIR
#define YMT_DATA_DIR "/usr/local/share/zelvanor-ymt"
#endif

namespace ymt {
namespace {

const QLatin1Char kItemSeparator(';');

QString joinItems(const QStringList& items) {
    QString joined = items.join(kItemSeparator);
    if (joined.endsWith(kItemSeparator))
        joined.chop(1);
    return joined;
}

void applyItems(const IniFile& file, const QString& section, LngComponent& c) {
    if (c.itemsFromProgram)
        return;
    const auto value = file.value(section, c.name + QStringLiteral("Items"));
    // An empty value cannot be a translation of a list; the list keeps its items.
    if (!value || value->isEmpty())
        return;
    // The items become lines of text, so a separator at the very end adds no empty item.
    QString joined = *value;
    if (joined.endsWith(kItemSeparator))
        joined.chop(1);
    QStringList items = joined.split(kItemSeparator);
    // Positions in a list are selections (an analyzer, a backup option) that are stored; a file
    // changes the words, never how many there are: a list it cannot fill keeps its items, and
    // items beyond the list's own are not taken.
    const qsizetype translated = c.fixedItemCount > 0 ? c.fixedItemCount : c.items.size();
    if (translated == 0 || items.size() < std::min(translated, c.items.size()))
        return;
    items = items.mid(0, translated);
    for (qsizetype i = items.size(); i < c.items.size(); ++i)
        items << c.items[i];
    c.items = items;
}

} // namespace

void WriteWindowSection(IniDocument& document, const LngWindow& window) {
    const QString& s = window.name;
    document.setValue(s, window.name, window.caption);
    for (const LngComponent& c : window.components) {
        using Kind = LngComponent::Kind;
        switch (c.kind) {
        case Kind::Separator:
            document.setValue(s, c.name, QStringLiteral("-"));
            continue;
        case Kind::FileDialog:
            document.setValue(s, c.name + QStringLiteral("Title"), c.title);
            document.setValue(s, c.name + QStringLiteral("Filter"), c.filter);
            continue;
        case Kind::Caption:
        case Kind::RadioGroup:
        case Kind::Plot:
            document.setValue(s, c.name, c.caption);
            break;
        case Kind::List:
            break;
        }
        if (!c.hint.isEmpty())
            document.setValue(s, c.name + QStringLiteral("Hint"), c.hint);
        if (c.kind == Kind::List || c.kind == Kind::RadioGroup)
            document.setValue(s, c.name + QStringLiteral("Items"), joinItems(c.items));
        if (c.kind == Kind::Plot) {
            const std::pair<const char*, const QString*> axes[] = {{"XAxisTitle", &c.xAxisTitle},
                                                                   {"YAxisTitle", &c.yAxisTitle},
                                                                   {"Y2AxisTitle", &c.y2AxisTitle}};
            for (const auto& [suffix, title] : axes) {
                if (!title->isEmpty())
                    document.setValue(s, c.name + QLatin1String(suffix), *title);
            }
        }
    }
}

void ApplyWindowSection(const IniFile& file, LngWindow& window) {
    const QString& s = window.name;
    window.caption = file.read(s, window.name, window.caption);
    for (LngComponent& c : window.components) {
        using Kind = LngComponent::Kind;
        switch (c.kind) {
        case Kind::Separator:
            continue;
        case Kind::FileDialog:
            c.title = file.read(s, c.name + QStringLiteral("Title"), c.title);
            c.filter = file.read(s, c.name + QStringLiteral("Filter"), c.filter);
            continue;
        case Kind::Caption:
        case Kind::RadioGroup:
        case Kind::Plot:
            c.caption = file.read(s, c.name, c.caption);
            break;
        case Kind::List:
            break;
        }
        c.hint = file.read(s, c.name + QStringLiteral("Hint"), c.hint);
        if (c.kind == Kind::List || c.kind == Kind::RadioGroup)
            applyItems(file, s, c);
        if (c.kind == Kind::Plot) {
            c.xAxisTitle = file.read(s, c.name + QStringLiteral("XAxisTitle"), c.xAxisTitle);
            c.yAxisTitle = file.read(s, c.name + QStringLiteral("YAxisTitle"), c.yAxisTitle);
            c.y2AxisTitle = file.read(s, c.name + QStringLiteral("Y2AxisTitle"), c.y2AxisTitle);
        }
    }
}

void WriteMessages(IniDocument& document, const QStringList& messages) {
    document.eraseSection(kMessageSection);
    for (qsizetype i = 0; i < messages.size(); ++i)
        document.setValue(kMessageSection, QString::number(kFirstMessageKey + i), messages[i]);
}

void ApplyMessages(const IniFile& file) {
    for (int i = 0; i < kMessageCount; ++i) {
        const auto value = file.value(kMessageSection, QString::number(kFirstMessageKey + i));
        if (value)
            SetMessage(i, *value);
    }
}

QStringList CurrentMessages() {
    QStringList messages;
    for (int i = 0; i < kMessageCount; ++i)
        messages << Message(i);
    return messages;
}

bool IsUtf8WithoutBom(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return false;
    const bool beyondAscii =
        std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (!beyondAscii)
        return false;
    // Code page 1252 text with umlauts is almost never valid UTF-8: an umlaut byte is followed
    // by a letter, not by the continuation byte UTF-8 needs.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError() && !text.isEmpty();
}

QStringList LanguageFolders(const QString& programDir) {
    QStringList folders;
    const auto add = [&folders](const QString& folder) {
        if (folder.isEmpty())
            return;
        const QString clean = QDir::cleanPath(folder) + QLatin1Char('/');
        if (!folders.contains(clean))
            folders << clean;
    };
    add(programDir);
    // A run with --home still finds the files shipped beside the executable.
    if (QCoreApplication::instance())
        add(QCoreApplication::applicationDirPath());
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!dataHome.isEmpty())
        add(dataHome + QStringLiteral("/zelvanor-ymt"));
    add(QStringLiteral(YMT_DATA_DIR));
    return folders;
}

QString FindLanguageFile(const QString& language, const QStringList& folders) {
    if (language.isEmpty() || language.contains(QLatin1Char('/')))
        return {};
    for (const QString& folder : folders) {
        const QFileInfo file(folder + language + QStringLiteral(".lng"));
        if (file.isFile())
            return file.filePath();
    }
    return {};
}

QString LanguageFileFor(const QString& itemText, int itemIndex, const QStringList& folders) {
    const QString file = FindLanguageFile(itemText, folders);
    if (!file.isEmpty() || itemIndex < 0 || itemIndex > 1)
        return file;
    return FindLanguageFile(itemIndex == 1 ? QStringLiteral("German") : QStringLiteral("English"),
                            folders);
}

QStringList AvailableLanguages(const QStringList& folders) {
    QStringList names;
    for (const QString& folder : folders) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
        for (const QFileInfo& file : files) {
            const QString name = file.completeBaseName();
            if (!name.isEmpty() && !names.contains(name, Qt::CaseInsensitive))
                names << name;
        }
    }
    return names;
}

int LanguageIndexFor(const QString& stored, const QStringList& items) {
    const QString value = stored.trimmed();
    if (value.compare(QStringLiteral("German"), Qt::CaseInsensitive) == 0 ||
        value.compare(QStringLiteral("Deutsch"), Qt::CaseInsensitive) == 0)
        return items.size() > 1 ? 1 : 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (items[i].compare(value, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    }
    return 0;
}

DimensionCaptionIds DimensionCaptionMessages(int geometryKind) {
    switch (geometryKind) {
    case 1:
        return {Msg::DiameterCaption, {}};
    case 2:
        return {Msg::LengthCaption, Msg::WidthCaption};
    case 3:
        return {Msg::OuterDiameterCaption, Msg::InnerDiameterCaption};
    default:
        return {};
    }
}

std::pair<QString, QString> DimensionCaptions(int geometryKind) {
    const auto [first, second] = DimensionCaptionMessages(geometryKind);
    return {first ? Message(*first) : QString(), second ? Message(*second) : QString()};
}

} // namespace ymt
