#include "draw/teamsystem.h"

#include "common/interaction.h"
#include "store/db_procedures.h"

#include <QVariant>
#include <algorithm>

namespace teamsystem {

const QString kUngueltigerSpieler = QStringLiteral("Geben Sie einen gültigen Spieler ein");

namespace {

QChar sideLetter(Seite seite) {
    return seite == Seite::A ? u'A' : u'B';
}

QString column(int spiel, Seite seite) {
    return QStringLiteral("s%1%2").arg(spiel).arg(QChar(seite == Seite::A ? u'a' : u'b'));
}

// A stored code as the dialog understands it; anything else reads as no rubber.
std::optional<int> storedCode(const Row& row, const QString& name) {
    if (row.isNull(name)) return std::nullopt;
    const int code = row.integer(name);
    if ((code >= 1 && code <= kMaxSpieler) || code == kDoppel1 || code == kDoppel2) return code;
    return std::nullopt;
}

QVariant codeValue(const std::optional<int>& code) {
    return code ? QVariant(*code) : QVariant();
}

// The 20 values from `spieler` to `s9b` as the statements bind them, :d3 .. :d22.
Params values(const TeamSystem& system) {
    Params p;
    p.append({QStringLiteral(":d3"), clampSpieler(system.spieler)});
    p.append({QStringLiteral(":d4"), clampReserve(system.reserve)});
    for (int k = 0; k < kSpiele; ++k) {
        const TeamRubber& r = system.spiele[k];
        const bool played = r.exists();
        p.append({QStringLiteral(":d%1").arg(5 + 2 * k), played ? codeValue(r.a) : QVariant()});
        p.append({QStringLiteral(":d%1").arg(6 + 2 * k), played ? codeValue(r.b) : QVariant()});
    }
    return p;
}

} // namespace

QString codeText(int code, Seite seite) {
    if (code >= 1 && code < 10) return sideLetter(seite) + QString::number(code);
    if (code > 10) return u'D' + QString::number(code - 10);
    return {};
}

QStringList choices(int spieler, Seite seite) {
    QStringList list;
    const int n = clampSpieler(spieler);
    for (int i = 1; i <= n; ++i)
        list << codeText(i, seite);
    list << codeText(kDoppel1, seite) << codeText(kDoppel2, seite);
    return list;
}

std::optional<int> codeOf(const QString& text, int spieler, Seite seite) {
    const QString t = text.trimmed();
    const QStringList list = choices(spieler, seite);
    for (const QString& choice : list) {
        if (choice.compare(t, Qt::CaseInsensitive) != 0) continue;
        const int number = choice.mid(1).toInt();
        return choice.startsWith(u'D') ? 10 + number : number;
    }
    return std::nullopt;
}

bool codeValid(int code, int spieler) {
    return (code >= 1 && code <= clampSpieler(spieler)) || code == kDoppel1 || code == kDoppel2;
}

int clampSpieler(int spieler) {
    return std::clamp(spieler, 0, kMaxSpieler);
}

int clampReserve(int reserve) {
    return std::clamp(reserve, 0, kMaxReserve);
}

TeamSystem laden(Tdb_procedures& db, int kid) {
    const Row row = db.selectOne(QStringLiteral("SELECT * FROM Teamsystem WHERE KID=:ID"), {{":ID", kid}});
    TeamSystem system;
    if (row.isEmpty()) return system;
    system.spieler = clampSpieler(row.integer(u"spieler"));
    system.reserve = clampReserve(row.integer(u"reserve"));
    for (int k = 0; k < kSpiele; ++k) {
        system.spiele[k].a = storedCode(row, column(k + 1, Seite::A));
        system.spiele[k].b = storedCode(row, column(k + 1, Seite::B));
    }
    return system;
}

bool vorhanden(Tdb_procedures& db, int kid) {
    return !db.select(QStringLiteral("SELECT KID FROM Teamsystem WHERE KID=:ID"), {{":ID", kid}}).isEmpty();
}

bool pruefen(const TeamSystem& system, Interaction& interaction) {
    for (const TeamRubber& r : system.spiele) {
        for (const std::optional<int>& code : {r.a, r.b}) {
            if (code && !codeValid(*code, system.spieler)) {
                interaction.warning(kUngueltigerSpieler, Interaction::Button::Cancel);
                return false;
            }
        }
    }
    return true;
}

void einfuegen(Tdb_procedures& db, int tid, int kid, const TeamSystem& system) {
    Params p{{QStringLiteral(":d1"), tid}, {QStringLiteral(":d2"), kid}};
    p += values(system);
    p.append({QStringLiteral(":d23"), QVariant()});
    db.exec(QStringLiteral(
                "INSERT INTO Teamsystem VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,:d12,:d13,"
                ":d14,:d15,:d16,:d17,:d18,:d19,:d20,:d21,:d22,:d23)"),
            p);
}

void aendern(Tdb_procedures& db, int tid, int kid, const TeamSystem& system) {
    Params p = values(system);
    p.append({QStringLiteral(":t"), tid});
    p.append({QStringLiteral(":ID"), kid});
    db.exec(QStringLiteral(
                "UPDATE Teamsystem SET spieler=:d3,reserve=:d4,s1a=:d5,s1b=:d6,s2a=:d7,s2b=:d8,s3a=:d9,"
                "s3b=:d10,s4a=:d11,s4b=:d12,s5a=:d13,s5b=:d14,s6a=:d15,s6b=:d16,s7a=:d17,s7b=:d18,"
                "s8a=:d19,s8b=:d20,s9a=:d21,s9b=:d22 WHERE (TID=:t AND KID=:ID)"),
            p);
}

void schreiben(Tdb_procedures& db, int tid, int kid, const TeamSystem& system) {
    if (vorhanden(db, kid))
        aendern(db, tid, kid, system);
    else
        einfuegen(db, tid, kid, system);
}

bool speichern(Tdb_procedures& db, Interaction& interaction, int tid, int kid, const TeamSystem& system) {
    if (!pruefen(system, interaction)) return false;
    Transaction t(db);
    schreiben(db, tid, kid, system);
    t.commit();
    return true;
}

} // namespace teamsystem

int TeamSystem::rubberCount() const {
    return int(std::count_if(spiele.begin(), spiele.end(), [](const TeamRubber& r) { return r.exists(); }));
}
