#pragma once

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/tournaments.h"

#include <QDialog>
#include <QList>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Neues Turnier erstellen": takes the name and the database, connects and checks it. The main window
// then opens the new tournament and stores its record (tournamentCreated).
class TTurnier_erstellen : public QDialog {
    Q_OBJECT
public:
    TTurnier_erstellen(AppState& state, Tdb_procedures& db, Interaction& ui, const QString& programDir,
                       QWidget* parent = nullptr);

    // The navigation item shows the dialog with an empty name.
    void clearName();
    // The server database to connect to (tests use their own).
    void setDatabaseName(const QString& name) { databaseName_ = name; }
    // The four general settings, stored as einstellung1 to einstellung4.
    QList<bool> options() const;

signals:
    // The database is connected and checked and the state names the tournament; the dialog has closed.
    void tournamentCreated(const QString& name, const QList<bool>& options);

private:
    void erstellen();
    // A failed attempt must not take the database away from a tournament that is open.
    void giveUp(const tournaments::RestorePoint& before);

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& ui_;
    QString programDir_;
    QString databaseName_;

    QLineEdit* turniername_;
    QRadioButton* datenbankserver_;
    QRadioButton* dateidatenbank_;
    QList<QCheckBox*> einstellungen_;
    QPushButton* erstellen_;
    QPushButton* zurueck_;
};
