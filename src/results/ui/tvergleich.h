#pragma once

#include "results/tabelle.h"

#include <QDialog>

class QListWidget;
class QPushButton;

// "Direkter Vergleich": the operator puts the red (marked) entries of a tie in order; black entries
// stay where the criteria put them. Shows a tabelle::Vergleich and leaves the chosen order in it.
class Tvergleich : public QDialog {
    Q_OBJECT
public:
    explicit Tvergleich(tabelle::Vergleich& vergleich, QWidget* parent = nullptr);

    // The decision callback of result processing: shows the dialog modally over `parent`.
    static tabelle::Entscheider entscheider(QWidget* parent);

    QListWidget* liste() const { return liste_; }

private:
    void fuellen(int auswahl);
    void rauf();
    void runter();

    tabelle::Vergleich& vergleich_;
    QListWidget* liste_;
};
