#pragma once

#include <QDate>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

struct AppState;
class Tdb_procedures;
class Interaction;

// What the umpire panel's fields hold, as typed.
struct SchiriFields {
    QString nachname;
    QString vorname;
    QString geburtstag; // "tt.mm.jjjj" or empty
    QString verein;
    QString kverband;
    QString bverband;
    QString lverband;
    QString land;
    QString spielklasse;
    QString memo;
    bool angemeldet = false;
};

// One line of the umpire list.
struct SchiriEntry {
    int schiriId = 0;
    QString name; // "snname, svname"
    QString verein;
    bool angemeldet = false;
};

// One line of the class list "Verfügbare Klassen".
struct SchiriClass {
    int kid = 0;
    QString text; // class name and kind, e.g. "Herren A (Einzel)"
};

// The editable value lists offered beside the umpire fields.
struct SchiriValueLists {
    QStringList vereine;
    QStringList kverband;
    QStringList bverband;
    QStringList lverband;
    QStringList land;
    QStringList spielklasse;
};

// Reads a typed date "tt.mm.jjjj" (one-digit day and month accepted). Nothing when the text is no
// existing day, such as 31.02.2000.
std::optional<QDate> parseGermanDate(const QString& text);

// The umpires of the current tournament as the umpire panel works on them: the lists, the fields, the
// loaded umpire and the state of the save button. The panel shows this state and forwards the user's
// actions; every refusal goes through Interaction and writes nothing.
class Schiriverwaltung {
public:
    static const QString kSpeichern;            // "Speichern"
    static const QString kAenderungUebernehmen; // "Änderung übernehmen"

    Schiriverwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction);

    // Opening the panel: fresh lists from the database, empty fields, nothing loaded.
    void open();
    void clearFields();
    // Loads the umpire into the fields and selects the classes he is available for.
    void load(int schiriId);
    // A click (or the keyboard) on a line of the umpire list.
    void choose(int index);
    // Selects the first umpire whose surname starts with the search text, if he is in the list.
    // Gives the selected line afterwards (-1 none).
    int search(const QString& searchText);
    // "Neuer Schiedsrichter".
    void newUmpire();
    // A field or the class selection changed.
    void markChanged();
    // "Speichern" / "Änderung übernehmen".
    void save();
    // "Schiedsrichter löschen".
    void remove();

    SchiriFields& fields() { return fields_; }
    const SchiriFields& fields() const { return fields_; }
    const QVector<SchiriEntry>& entries() const { return entries_; }
    int selectedEntry() const { return selected_; }
    void setSelectedEntry(int index);
    const QVector<SchiriClass>& classes() const { return classes_; }
    const QSet<int>& selectedClasses() const { return selectedClasses_; }
    void setSelectedClasses(const QSet<int>& kids) { selectedClasses_ = kids; }
    const SchiriValueLists& valueLists() const { return values_; }
    bool saveEnabled() const { return saveEnabled_; }
    QString saveCaption() const { return saveCaption_; }
    QString loadedName() const { return loadedName_; }
    QString searchText() const { return searchText_; }
    void setSearchText(const QString& text) { searchText_ = text; }

    // "surname, first name" from the fields, untrimmed.
    QString nameText() const;
    int indexOfName(const QString& name) const;

private:
    void fillLists();
    void insert(const std::optional<QDate>& birth);
    void update(int schiriId, const std::optional<QDate>& birth);
    void writeClasses(int schiriId);

    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;

    SchiriFields fields_;
    QVector<SchiriEntry> entries_;
    int selected_ = -1;
    QVector<SchiriClass> classes_;
    QSet<int> selectedClasses_;
    SchiriValueLists values_;
    bool saveEnabled_ = false;
    QString saveCaption_;
    QString loadedName_;
    int loadedId_ = 0; // the umpire the fields show; 0 for a new one
    QString searchText_;
};
