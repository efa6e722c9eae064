// A captioned group of mutually exclusive items, as the window definition's radio groups are:
// one selected item index, items replaceable as a list, a signal when the operator picks one.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;
class QGridLayout;

namespace ymt {

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString& caption, const QStringList& items, int itemIndex,
                QWidget* parent = nullptr, int columns = 1);

    int itemIndex() const { return itemIndex_; }
    // Selects an item (-1: none) without emitting itemClicked, as code does.
    void setItemIndex(int index);
    QStringList items() const;
    // Replaces the items and keeps the selected index when it still exists.
    void setItems(const QStringList& items);
    QString itemText() const;
    QRadioButton* button(int index) const;
    int count() const;

signals:
    // The operator selected another item (also emitted by clicking an item through code).
    void itemClicked(int index);

private:
    void rebuild(const QStringList& items);

    QButtonGroup* group_;
    QGridLayout* layout_;
    int columns_;
    int itemIndex_ = -1;
};

} // namespace ymt
