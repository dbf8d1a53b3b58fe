#pragma once

class QString;
class QWidget;

// A short note in the main window's status bar ("Spieler gespeichert"): shown for three seconds and
// never a dialog to click away. Does nothing for a widget outside a main window.
void statusmeldung(QWidget* from, const QString& text);
