// Platform dialogs behind the dialog interface.
#include "app/WidgetDialogs.h"

#include "localisation/ProgramTexts.h"
#include "plot/FastGraph.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>

namespace ymt {
namespace {

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    case MessageKind::None:
        return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QString titleOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Error:
        return Text(Txt::BoxError);
    case MessageKind::Warning:
        return Text(Txt::BoxWarning);
    case MessageKind::Information:
        return Text(Txt::BoxInformation);
    case MessageKind::Confirmation:
        return Text(Txt::BoxConfirm);
    case MessageKind::None:
        return QString();
    }
    return QString();
}

struct ButtonMapping {
    DialogButton button;
    QMessageBox::StandardButton standard;
};

const ButtonMapping kButtonMappings[] = {
    {DialogButton::OK, QMessageBox::Ok},       {DialogButton::Cancel, QMessageBox::Cancel},
    {DialogButton::Yes, QMessageBox::Yes},     {DialogButton::No, QMessageBox::No},
    {DialogButton::Abort, QMessageBox::Abort}, {DialogButton::Ignore, QMessageBox::Ignore},
};

QMessageBox::StandardButton standardOf(DialogButton button) {
    for (const ButtonMapping& mapping : kButtonMappings) {
        if (mapping.button == button)
            return mapping.standard;
    }
    return QMessageBox::Ok;
}

} // namespace

QStringList QtNameFilters(const QString& filter) {
    QStringList filters;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*"); // also files without an extension
        }
        const QString patternList = patterns.join(QLatin1Char(' '));
        // Qt reads the patterns from the last parenthesis of the description.
        const qsizetype open = description.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && description.endsWith(QLatin1Char(')')))
            description = description.left(open).trimmed();
        filters.append(QStringLiteral("%1 (%2)").arg(description, patternList));
    }
    return filters;
}

WidgetDialogs::WidgetDialogs(QWidget* parent) : parent_(parent) {}

WidgetDialogs::~WidgetDialogs() = default;

DialogButton WidgetDialogs::showMessage(MessageKind kind, const QString& text, ButtonSet buttons) {
    const QList<DialogButton> choices = ButtonsOf(buttons);
    QMessageBox box(iconOf(kind), titleOf(kind), text, QMessageBox::NoButton, parent_);
    for (DialogButton button : choices)
        box.addButton(standardOf(button));
    box.setDefaultButton(standardOf(choices.first()));
    box.setEscapeButton(box.button(standardOf(SafeButton(buttons))));
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonMapping& mapping : kButtonMappings) {
        if (mapping.standard == clicked && choices.contains(mapping.button))
            return mapping.button;
    }
    return SafeButton(buttons);
}

FileDialogResult WidgetDialogs::runFileDialog(const FileDialogOptions& options, bool save) {
    QFileDialog dialog(parent_, options.title, options.initialDir);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (save) {
        // The program asks its own question before overwriting a file.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        dialog.setFileMode(QFileDialog::AnyFile);
    } else {
        dialog.setFileMode(options.multipleSelection ? QFileDialog::ExistingFiles
                                                     : QFileDialog::ExistingFile);
    }
    const QStringList filters = QtNameFilters(options.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, options.filterIndex, static_cast<int>(filters.size()));
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!options.defaultExtension.isEmpty()) {
        dialog.setDefaultSuffix(options.defaultExtension);
        // Choosing another file type makes its extension the default one.
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
                static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.(\\w+)"));
                const QRegularExpressionMatch match = pattern.match(filter);
                if (match.hasMatch())
                    dialog.setDefaultSuffix(match.captured(1));
            });
    }
    if (!options.fileName.isEmpty())
        dialog.selectFile(ProposedFilePath(options));

    FileDialogResult result;
    result.filterIndex = options.filterIndex;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return result;
    result.accepted = true;
    result.paths = dialog.selectedFiles();
    const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0)
        result.filterIndex = static_cast<int>(chosen) + 1;
    return result;
}

QString ProposedFilePath(const FileDialogOptions& options) {
    if (options.fileName.isEmpty() || options.initialDir.isEmpty() ||
        !QDir::isRelativePath(options.fileName))
        return options.fileName;
    return QDir(options.initialDir).filePath(options.fileName);
}

FileDialogResult WidgetDialogs::openFile(const FileDialogOptions& options) {
    return runFileDialog(options, false);
}

FileDialogResult WidgetDialogs::saveFile(const FileDialogOptions& options) {
    return runFileDialog(options, true);
}

std::optional<ymt::Color> WidgetDialogs::chooseColor(ymt::Color initial) {
    const QColor chosen = QColorDialog::getColor(toQColor(initial), parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return fromQColor(chosen);
}

bool WidgetDialogs::printDialog(QPrinter& printer) {
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace ymt
