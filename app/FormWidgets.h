// Small factories for the controls of the main window: each control gets its component name
// as objectName, its caption, its hint as tooltip and its default, in one line of the builder.
#pragma once

#include "app/RadioGroup.h"
#include "plot/curves/CurveStore.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

class QCheckBox;
class QFormLayout;
class QFrame;
class QGridLayout;
class QLayout;

namespace ymt::form {

QPushButton* button(const char* name, const QString& caption, const QString& hint = {});
QLineEdit* edit(const char* name, const QString& text, const QString& hint = {});
QLabel* label(const char* name, const QString& caption);
QCheckBox* checkBox(const char* name, const QString& caption, bool checked = false);
QComboBox* comboBox(const char* name, const QStringList& items, int index, const QString& hint = {},
                    bool editable = false);
QGroupBox* groupBox(const char* name, const QString& caption);
TRadioGroup* radioGroup(const char* name, const QString& caption, const QStringList& items,
                        int index, int columns = 1);

// A row "caption  [field]" in a grid, the caption label named labelName.
QLabel* addRow(QGridLayout* grid, int row, const char* labelName, const QString& caption,
               QWidget* field, int column = 0);

// The colour a swatch frame shows (its window colour), and showing one.
Color swatchColor(const QFrame* swatch);
void setSwatchColor(QFrame* swatch, Color color);

// Hidden and disabled controls as the window definition has them.
template <typename W> W* hidden(W* widget) {
    widget->setVisible(false);
    return widget;
}
template <typename W> W* disabled(W* widget) {
    widget->setEnabled(false);
    return widget;
}

} // namespace ymt::form
