#include "app/navigationbar.h"

#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
// Button texts treat "&" as a mnemonic; class names may contain one.
QString literalText(const QString& caption) {
    QString t = caption;
    return t.replace(QLatin1Char('&'), QStringLiteral("&&"));
}
} // namespace

NavigationBar::NavigationBar(const QString& caption, QWidget* parent)
    : QWidget(parent), caption_(caption), header_(new QToolButton(this)), body_(new QWidget(this)),
      bodyLayout_(new QVBoxLayout(body_)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    header_->setText(literalText(caption));
    header_->setAccessibleName(caption);
    header_->setCheckable(true);
    header_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    header_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    header_->setFocusPolicy(Qt::StrongFocus);
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    connect(header_, &QToolButton::clicked, this, [this] { setExpanded(!expanded_); });
    layout->addWidget(header_);

    // The items read like a left-aligned list; the keyboard focus stays visible.
    body_->setStyleSheet(
        QStringLiteral("QPushButton { text-align: left; padding: 3px 6px; border: 1px solid transparent; }"
                       "QPushButton:hover { text-decoration: underline; }"
                       "QPushButton:focus { border: 1px dotted palette(highlight); }"));
    bodyLayout_->setContentsMargins(8, 2, 0, 4);
    bodyLayout_->setSpacing(0);
    layout->addWidget(body_);

    expanded_ = true; // so that the call below takes effect
    setExpanded(false);
}

int NavigationBar::addItem(const QString& caption) {
    auto* b = new QPushButton(body_);
    b->setText(literalText(caption));
    b->setAccessibleName(caption);
    b->setToolTip(caption);
    b->setFlat(true);
    // Long class names must not widen the column; the tool tip shows them whole.
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    b->setFocusPolicy(Qt::StrongFocus);
    connect(b, &QPushButton::clicked, this, [this, b] { choose(b); });
    bodyLayout_->addWidget(b);
    items_.append({caption, b});
    fixTabOrder();
    return int(items_.size()) - 1;
}

void NavigationBar::removeItem(int index) {
    if (index < 0 || index >= items_.size()) return;
    QPushButton* b = items_.takeAt(index).button;
    // The button may be the one whose click is being handled right now.
    bodyLayout_->removeWidget(b);
    b->hide();
    b->setParent(nullptr);
    b->deleteLater();
}

void NavigationBar::renameItem(int index, const QString& caption) {
    if (index < 0 || index >= items_.size()) return;
    items_[index].caption = caption;
    items_[index].button->setText(literalText(caption));
    items_[index].button->setAccessibleName(caption);
}

void NavigationBar::clearItems() {
    while (!items_.isEmpty())
        removeItem(int(items_.size()) - 1);
}

QString NavigationBar::itemCaption(int index) const {
    return index >= 0 && index < items_.size() ? items_[index].caption : QString();
}

QStringList NavigationBar::itemCaptions() const {
    QStringList list;
    for (const auto& item : items_)
        list << item.caption;
    return list;
}

int NavigationBar::indexOf(const QString& caption) const {
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i].caption == caption) return i;
    return -1;
}

void NavigationBar::setItemEnabled(int index, bool enabled) {
    if (QPushButton* b = itemButton(index)) b->setEnabled(enabled);
}

bool NavigationBar::isItemEnabled(int index) const {
    const QPushButton* b = itemButton(index);
    return b && b->isEnabledTo(this);
}

void NavigationBar::setExpanded(bool expanded) {
    header_->setChecked(expanded);
    header_->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    if (expanded == expanded_) return;
    expanded_ = expanded;
    body_->setVisible(expanded);
    emit expandedChanged(expanded);
}

QPushButton* NavigationBar::itemButton(int index) const {
    return index >= 0 && index < items_.size() ? items_[index].button : nullptr;
}

void NavigationBar::choose(QPushButton* button) {
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i].button == button) {
            emit itemChosen(i, items_[i].caption);
            return;
        }
}

void NavigationBar::fixTabOrder() {
    // Items added later would otherwise come last in the window's tab chain.
    QWidget* previous = header_;
    for (const auto& item : items_) {
        QWidget::setTabOrder(previous, item.button);
        previous = item.button;
    }
}
