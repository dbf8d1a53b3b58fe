#pragma once

#include "entries/partnercheck.h"

#include <QDialog>
#include <memory>

class Clock;
class Interaction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class Tdb_procedures;
struct AppState;

// The dialog "Doppelpartner": chooses the partner of the player panel's player in one doubles or mixed
// class. The choice goes into the panel's partner line; the panel's save stores it.
class TDoppelauswahl : public QDialog {
    Q_OBJECT
public:
    TDoppelauswahl(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                   QWidget* parent = nullptr);
    ~TDoppelauswahl() override;

    // What the player panel is given (SpielerPanel::setPairingHook): opens this dialog for a partner line
    // and stores the pairs when the player is saved.
    PairingHook* hook();

    // Fills the dialog for the panel's partner line and shows it; the windows behind take no input until
    // it closes.
    void start(Spielerverwaltung& panel, int line, const QString& caption);

private:
    class Hook;
    void uebernehmen();

    Interaction& interaction_;
    std::unique_ptr<Hook> hook_;
    std::unique_ptr<Doppelauswahl> auswahl_;
    QLabel* doppelklasse_;
    QComboBox* doppelcombo_;
    QLineEdit* mannschaftsname_;
    QPushButton* uebernehmen_;
    QPushButton* zurueck_;
};
