#include "entries/ui/klassen_verlassen.h"

#include <QApplication>
#include <QFocusEvent>
#include <QTimer>
#include <QWidget>

LeaveCheck::LeaveCheck(QWidget* field, std::function<bool()> check, QList<QWidget*> exits)
    : QObject(field), field_(field), check_(std::move(check)) {
    for (QWidget* w : exits)
        exits_ << w;
    field->installEventFilter(this);
    // An editable list's text field passes its focus to the list, but keep watching both.
    for (QWidget* child : field->findChildren<QWidget*>())
        if (child->focusProxy() == field) child->installEventFilter(this);
}

bool LeaveCheck::eventFilter(QObject*, QEvent* event) {
    if (event->type() != QEvent::FocusOut || checking_ || !field_ || !field_->isEnabled()) return false;
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason) return false;
    // The new focus widget is already set when the old one hears it has lost the focus.
    QWidget* next = QApplication::focusWidget();
    for (const auto& exit : exits_)
        if (exit && next == exit) return false;
    checking_ = true;
    const bool ok = check_();
    checking_ = false;
    if (!ok)
        QTimer::singleShot(0, field_, [f = field_] {
            if (f) f->setFocus(Qt::OtherFocusReason);
        });
    return false;
}
