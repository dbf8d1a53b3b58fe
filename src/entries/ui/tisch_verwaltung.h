#pragma once

#include <QDialog>
#include <QStringList>

struct AppState;
class Clock;
class Interaction;
class QLineEdit;
class QListWidget;
class QPushButton;
class Tdb_procedures;

// "Tische verwalten": renames the playing tables of the class being edited. The names go back to the
// class panel on "Übernehmen" and reach the database with the next save of the class.
class Ttisch_verwaltung : public QDialog {
    Q_OBJECT
public:
    Ttisch_verwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                      QWidget* parent = nullptr);

    // Takes a copy of the class's table list and empties the name field.
    void activate(const QStringList& tables);
    QStringList tables() const;

signals:
    // A name was changed: the class counts as changed even if the list is not taken over.
    void classChanged();
    void tablesAccepted(const QStringList& tables);

private:
    void renameSelected();

    QListWidget* liste_;
    QLineEdit* name_;
    QPushButton* aendern_;
};
