#include "app/FormWidgets.h"

#include "plot/FastGraph.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QRegularExpression>

namespace ymt::form {

namespace {
template <typename W> W* named(W* widget, const char* name, const QString& hint) {
    widget->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty())
        widget->setToolTip(hint);
    return widget;
}
} // namespace

QPushButton* button(const char* name, const QString& caption, const QString& hint) {
    return named(new QPushButton(caption), name, hint);
}

QLineEdit* edit(const char* name, const QString& text, const QString& hint) {
    auto* field = named(new QLineEdit(text), name, hint);
    field->setMinimumWidth(60);
    field->setCursorPosition(0);
    // A field that starts with a number holds numbers: about a dozen digits wide, however wide
    // the window. Text fields (names, paths) keep growing with it.
    static const QRegularExpression number(QStringLiteral("^-?[0-9]+(\\.[0-9]+)?$"));
    if (number.match(text).hasMatch()) {
        field->setMaximumWidth(
            field->fontMetrics().horizontalAdvance(QString(14, QLatin1Char('0'))) + 12);
        field->setSizePolicy(QSizePolicy::Preferred, field->sizePolicy().verticalPolicy());
    }
    return field;
}

QLabel* label(const char* name, const QString& caption) {
    return named(new QLabel(caption), name, {});
}

QCheckBox* checkBox(const char* name, const QString& caption, bool checked) {
    auto* box = named(new QCheckBox(caption), name, {});
    box->setChecked(checked);
    return box;
}

QComboBox* comboBox(const char* name, const QStringList& items, int index, const QString& hint,
                    bool editable) {
    auto* list = named(new QComboBox, name, hint);
    list->setEditable(editable);
    list->addItems(items);
    list->setCurrentIndex(index);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return list;
}

QGroupBox* groupBox(const char* name, const QString& caption) {
    return named(new QGroupBox(caption), name, {});
}

TRadioGroup* radioGroup(const char* name, const QString& caption, const QStringList& items,
                        int index, int columns) {
    return named(new TRadioGroup(caption, items, index, nullptr, columns), name, {});
}

QLabel* addRow(QGridLayout* grid, int row, const char* labelName, const QString& caption,
               QWidget* field, int column) {
    QLabel* text = label(labelName, caption);
    text->setBuddy(field);
    grid->addWidget(text, row, column);
    grid->addWidget(field, row, column + 1);
    return text;
}

Color swatchColor(const QFrame* swatch) {
    return fromQColor(swatch->palette().color(QPalette::Window));
}

void setSwatchColor(QFrame* swatch, Color color) {
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, toQColor(color));
    swatch->setPalette(palette);
}

} // namespace ymt::form
