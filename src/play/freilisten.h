#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

class Tdb_procedures;
struct PlanDaten;

// An umpire of the class who is marked present: "Nachname, Vorname" and his id.
struct SchiriEintrag {
    QString name;
    int SCHIRIID = 0;
    bool operator==(const SchiriEintrag&) const = default;
};

// The tables and umpires of a class, read once when its plans are drawn.
struct Ressourcen {
    struct Platte {
        int GID = -1;
        QString platte;
    };
    QVector<Platte> platten;        // every Platten row of the class, by table name
    QVector<SchiriEintrag> schiris; // umpires of the class marked present
};

Ressourcen ressourcenLaden(Tdb_procedures& db, int kid);

// What is free in the running class: players per group (`sliste<GID>`), tables per group (`platte<GID>`),
// players and tables of matches outside groups (`allespieler`, `alleplatten`) and umpires (`schiri`), each a
// list of strings looked up by its name; `alleschiris` holds every umpire of the class who is present.
// The lists live from one drawing of the plans to the next.
class Freilisten {
public:
    static QString sliste(int gid) { return QStringLiteral("sliste%1").arg(gid); }
    static QString platte(int gid) { return QStringLiteral("platte%1").arg(gid); }
    static const QString allespieler;
    static const QString alleplatten;
    static const QString schiri;

    bool exists(const QString& name) const { return listen_.contains(name); }
    // Empty when the list does not exist.
    QStringList liste(const QString& name) const { return listen_.value(name); }
    bool enthaelt(const QString& name, const QString& eintrag) const;
    // Creates the list (empty) unless it exists.
    void anlegen(const QString& name) { listen_[name]; }
    // Appends to an existing list, only when it does not hold the entry yet.
    void hinzufuegen(const QString& name, const QString& eintrag);
    // Removes the first occurrence; nothing happens when the entry or the list is missing.
    void entfernen(const QString& name, const QString& eintrag);
    QStringList namen() const { return listen_.keys(); }

    // The lists a match of group `gruppe` (-1 outside groups) uses: its group's when that exists, else the
    // lists of matches outside groups.
    QString spielerliste(int gruppe) const;
    QString plattenliste(int gruppe) const;

    // Every existing list of one kind: the `platte<n>` lists and `alleplatten`, the `sliste<n>` lists and
    // `allespieler`.
    QStringList allePlattenlisten() const;
    QStringList alleSpielerlisten() const;

    QVector<SchiriEintrag> alleschiris;
    bool istSchiri(const QString& name) const;

    bool operator==(const Freilisten&) const = default;

private:
    QMap<QString, QStringList> listen_;
};

// The lists as the plans of the class create them: per group of every group phase its members with a
// name and its tables; for a knock-out phase with matches (or else the placement page) the players and
// tables outside groups; the umpires once.
Freilisten freilistenErstellen(const PlanDaten& d, const Ressourcen& r);
