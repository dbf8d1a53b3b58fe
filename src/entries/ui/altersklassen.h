#pragma once

#include "entries/klassen_alter.h"

#include <QDialog>

struct AppState;
class Clock;
class Interaction;
class QCheckBox;
class QLineEdit;
class QPushButton;
class Tdb_procedures;

// "Altersklasse verwalten": creates, changes and deletes the age class named on the class panel.
class TAltersklassen : public QDialog {
    Q_OBJECT
public:
    TAltersklassen(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                   QWidget* parent = nullptr);

    // Shows the stored age class of that name, or a new one carrying the name.
    void activate(const QString& ageClassText);

signals:
    void saved(const QString& name);
    void removed(const QString& name);

private:
    void olderToggled(bool on);
    void youngerToggled(bool on);
    bool checkDate(QLineEdit* field);
    void save();
    void remove();

    Interaction& interaction_;
    Altersklassenverwaltung logic_;
    QLineEdit* aname_;
    QLineEdit* avon_;
    QLineEdit* abis_;
    QCheckBox* aelter_;
    QCheckBox* juenger_;
};
