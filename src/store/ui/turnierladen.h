#pragma once

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"
#include "store/tournaments.h"

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class TMSDENetworkForm;

// "Bestehendes Turnier laden": chooses the database (the file database or a server), lists its
// tournaments and opens one (tournamentLoaded). Closing it without loading gives an open tournament its
// database back.
class Tturnierladen : public QDialog {
    Q_OBJECT
public:
    Tturnierladen(AppState& state, Tdb_procedures& db, Interaction& ui, const QString& programDir,
                  QWidget* parent = nullptr);

    // The server database to connect to (tests use their own).
    void setDatabaseName(const QString& name);
    TMSDENetworkForm* networkForm() const { return network_; }

signals:
    // The state names the tournament and its database; the dialog has closed.
    void tournamentLoaded(int tid, const QString& name);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    QString shippedFile() const;
    void chooseFile();
    // Connects to the file database at path and lists its tournaments.
    void openFileDatabase(const QString& path);
    bool chooseServer();
    void durchsuchen();
    void anhaengen();
    void laden();
    bool listTournaments();
    void serverAccepted(const QString& server);
    void setWaiting(const QString& text);

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& ui_;
    QString programDir_;
    QString databaseName_;
    bool lastChoiceServer_ = false;
    QString openDir_;
    tournaments::RestorePoint before_;
    bool loaded_ = false;

    QListWidget* turnierliste_;
    QRadioButton* datenbankserver_;
    QRadioButton* dateidatenbank_;
    QLineEdit* speicherort_;
    QPushButton* durchsuchen_;
    QFrame* wartepanel_;
    QLabel* wartetext_;
    QPushButton* anhaengen_;
    QPushButton* laden_;
    QPushButton* zurueck_;
    TMSDENetworkForm* network_;
};
