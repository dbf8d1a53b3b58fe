#pragma once

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// "PCs im Netzwerk": chooses the database server for the load dialog. The server's name is typed into
// "Gewählter PC"; the network is not searched for computers.
class TMSDENetworkForm : public QDialog {
    Q_OBJECT
public:
    TMSDENetworkForm(AppState& state, Tdb_procedures& db, Interaction& ui, QWidget* parent = nullptr);

    // The server database to connect to (tests use their own).
    void setDatabaseName(const QString& name) { databaseName_ = name; }

    // A computer name as the user may give it ("\\PC-Name", "'PC Name'") reduced to the bare name.
    static QString stripName(const QString& text);

signals:
    // Shown and ready: the load dialog hides its wait text.
    void opened();
    // Connected to the database on server; the load dialog shows it and lists its tournaments.
    void serverAccepted(const QString& server);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void uebernehmen();
    void nameEdited(const QString& text);

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& ui_;
    QString databaseName_;
    QString previous_;

    QListWidget* pcliste_;
    QLineEdit* gewaehlterPC_;
    QLabel* wartetext_;
    QPushButton* uebernehmen_;
    QPushButton* abbrechen_;
};
