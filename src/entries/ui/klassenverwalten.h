#pragma once

#include "entries/klassen.h"

#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

struct AppState;
class Clock;
class Interaction;
class QListWidget;
class QListWidgetItem;
class TAltersklassen;
class Tdb_procedures;
class Ttisch_verwaltung;

namespace Ui {
class Klassenverwalten;
}

// The panel "Turnierklassen verwalten": the classes of the open tournament by kind, one class's fields,
// its tables and age class. The main window shows it with showPanel() and keeps its class bar in step
// through the class signals.
class Klassenverwalten : public QWidget {
    Q_OBJECT
public:
    Klassenverwalten(AppState& state, Tdb_procedures& db, Interaction& interaction, Clock& clock,
                     QWidget* parent = nullptr);
    ~Klassenverwalten() override;

    // Fills the panel afresh for the open tournament; called each time it is brought to the front.
    void showPanel();

    // The stored class on the panel; 0 while a new class is being entered.
    int currentKid() const { return loadedKid_; }
    // The team line-up the next save writes for a team class.
    const TeamSystem& teamSystem() const { return teamSystem_; }
    // A changed line-up from the team system dialog: the class counts as changed.
    void setTeamSystem(const TeamSystem& teamSystem);
    // The names of the class's playing tables, in order.
    const QStringList& tables() const { return tables_; }

    TAltersklassen* altersklassenDialog() const { return altersklassen_; }
    Ttisch_verwaltung* tischDialog() const { return tische_; }

signals:
    // Captions are the class name followed by " (Einzel)", " (Doppel)", " (Mixed)" or " (Team)".
    void classAdded(const QString& caption);
    void classRenamed(const QString& oldCaption, const QString& newCaption);
    void classRemoved(const QString& caption);
    // "Teamsystem" was pressed for a team class; the line-up is teamSystem(), the class currentKid().
    void teamSystemRequested();

private:
    void neueKlasse();
    void speichern();
    void loeschen();
    void tischeVerwalten();
    void altersklasseBearbeiten();
    void ageClassSaved(const QString& name);
    void ageClassRemoved(const QString& name);

    void markChanged();
    void kindChanged(int kind);
    void tableCountChanged(const QString& text);
    void listSelected(int kind);
    void loadClass(int kid);

    void clearFields();
    void showForm(const KlassenFormular& form);
    KlassenFormular readForm() const;
    void setTables(const QStringList& tables);
    void setSaveState(bool enabled);
    QListWidget* list(int kind) const;
    QListWidgetItem* itemOfKid(int kind, int kid) const;
    void selectOnly(QListWidgetItem* item);

    AppState& state_;
    Interaction& interaction_;
    Clock& clock_;
    Klassenverwaltung logic_;
    std::unique_ptr<Ui::Klassenverwalten> ui_;
    TAltersklassen* altersklassen_;
    Ttisch_verwaltung* tische_;

    // The stored class being edited: id, and name and kind as last loaded or saved.
    int loadedKid_ = 0;
    QString loadedName_;
    int loadedKind_ = klassen::Einzel;
    QStringList tables_;
    TeamSystem teamSystem_;
    // Set while the panel fills its own fields, which is no change by the user.
    bool filling_ = false;
};
