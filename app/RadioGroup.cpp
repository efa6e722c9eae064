#include "app/RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

namespace ymt {

TRadioGroup::TRadioGroup(const QString& caption, const QStringList& items, int itemIndex,
                         QWidget* parent, int columns)
    : QGroupBox(caption, parent), group_(new QButtonGroup(this)), layout_(new QGridLayout(this)),
      columns_(columns < 1 ? 1 : columns) {
    group_->setExclusive(true);
    layout_->setContentsMargins(8, 4, 8, 4);
    layout_->setVerticalSpacing(2);
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) {
        if (id == itemIndex_)
            return;
        itemIndex_ = id;
        emit itemClicked(id);
    });
    rebuild(items);
    setItemIndex(itemIndex);
}

void TRadioGroup::rebuild(const QStringList& items) {
    for (QAbstractButton* old : group_->buttons()) {
        group_->removeButton(old);
        delete old;
    }
    for (int i = 0; i < items.size(); ++i) {
        auto* radio = new QRadioButton(items[i], this);
        group_->addButton(radio, i);
        layout_->addWidget(radio, i / columns_, i % columns_);
    }
}

void TRadioGroup::setItemIndex(int index) {
    itemIndex_ = (index >= 0 && index < count()) ? index : -1;
    group_->setExclusive(false);
    for (QAbstractButton* radio : group_->buttons())
        radio->setChecked(group_->id(radio) == itemIndex_);
    group_->setExclusive(true);
}

QStringList TRadioGroup::items() const {
    QStringList texts;
    for (int i = 0; i < count(); ++i)
        texts << button(i)->text();
    return texts;
}

void TRadioGroup::setItems(const QStringList& items) {
    const int keep = itemIndex_;
    rebuild(items);
    setItemIndex(keep);
}

QString TRadioGroup::itemText() const {
    return itemIndex_ >= 0 ? button(itemIndex_)->text() : QString();
}

QRadioButton* TRadioGroup::button(int index) const {
    return qobject_cast<QRadioButton*>(group_->button(index));
}

int TRadioGroup::count() const {
    return static_cast<int>(group_->buttons().size());
}

} // namespace ymt
