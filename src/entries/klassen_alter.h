#pragma once

#include "entries/ageclass.h"

#include <QDate>
#include <QString>
#include <optional>

struct AppState;
class Interaction;
class Tdb_procedures;

// An age class as typed into its dialog.
struct AltersklassenEingabe {
    QString name;
    QString von;
    QString bis;
    bool aelter = false;
    bool juenger = false;
};

namespace altersklassen {

// Reads a date typed as tt.mm.jjjj (leading zeros optional); none for text that is no existing date.
std::optional<QDate> parseDate(const QString& text);
// The form a date is shown in: tt.mm.jjjj.
QString formatDate(const QDate& date);

} // namespace altersklassen

// The age classes of the current tournament. Refusals are told through Interaction and write nothing.
class Altersklassenverwaltung {
public:
    Altersklassenverwaltung(AppState& state, Tdb_procedures& db, Interaction& interaction);

    // The stored age class of that name, if any.
    std::optional<AgeClass> find(const QString& name);
    // Inserts a new age class or updates the one of that name; gives the saved name, none when refused.
    std::optional<QString> save(const AltersklassenEingabe& input);
    // Deletes an age class; classes that name it keep the name and admit everybody. False when refused.
    bool remove(const QString& name);

private:
    AppState& state_;
    Tdb_procedures& db_;
    Interaction& interaction_;
};
