#include "common/ui/statusmeldung.h"

#include <QMainWindow>
#include <QStatusBar>

void statusmeldung(QWidget* from, const QString& text) {
    if (!from) return;
    if (auto* main = qobject_cast<QMainWindow*>(from->window())) main->statusBar()->showMessage(text, 3000);
}
