#pragma once

#include <QDate>
#include <QString>
#include <optional>

class Tdb_procedures;

// An age class of a tournament: birth-date bounds, each optional, and whether players born before
// `von` ("älter") or after `bis` ("jünger") are admitted too.
struct AgeClass {
    QString name;
    QDate von;
    QDate bis;
    bool aelter = false;
    bool juenger = false;
};

// Whether a player born on `birth` is admitted. Bound dates belong to the age class: a player born on
// the first or last admitted day is in it.
bool admitsBirthDate(const AgeClass& ageClass, const QDate& birth);

// The age class a competition class is bound to; none when its name matches no age class of the
// tournament (as "ohne Beschränkung" does), and then every birth date is admitted.
std::optional<AgeClass> ageClassOfClass(Tdb_procedures& db, int kid);
