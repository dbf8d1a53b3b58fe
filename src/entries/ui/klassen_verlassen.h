#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Checks a field when the keyboard focus leaves it. A failed check has told the user why; the focus goes
// back to the field. Opening the field's own popup or switching to another program is no leaving, and
// neither is going to one of the given widgets (a "Zurück" button must still close a dialog).
class LeaveCheck : public QObject {
public:
    LeaveCheck(QWidget* field, std::function<bool()> check, QList<QWidget*> exits = {});

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> field_;
    std::function<bool()> check_;
    QList<QPointer<QWidget>> exits_;
    bool checking_ = false;
};
