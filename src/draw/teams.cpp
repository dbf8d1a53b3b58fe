#include "draw/teams.h"

#include "common/interaction.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QHash>
#include <QLocale>
#include <QVariant>
#include <algorithm>

const QString Teamauswahl::kNameFehlt = QStringLiteral("Sie müssen einen Mannschaftsname eingeben");
const QString Teamauswahl::kVereinFehlt = QStringLiteral("Sie müssen einen Verein eingeben");
const QString Teamauswahl::kUeberschreiben =
    QStringLiteral("Dieser Mannschaftsname existiert bereits!\nÜberschreiben?");
const QString Teamauswahl::kLoeschenFrage = QStringLiteral("Wollen Sie das Team wirklich löschen?");

namespace {

// The columns of a team's singles and reserve positions, the players who make up the team.
const char* const kMemberColumns[] = {"s1", "s2", "s3", "s4", "r1", "r2"};

QString personText(const Row& r) {
    return r.text(u"nachname") + QStringLiteral(", ") + r.text(u"vorname");
}

bool isPositional(TeamListe liste) {
    return liste == TeamListe::Spieler || liste == TeamListe::Reserve;
}

bool isDoubles(TeamListe liste) {
    return liste == TeamListe::Doppel1 || liste == TeamListe::Doppel2;
}

// A stored position: a value of 0 or less, or NULL, is an empty position.
int positionValue(const Row& r, const QString& column) {
    return std::max(0, r.integer(column));
}

// NULL for a position beyond the list's length, 0 for an empty one.
QVariant positionParam(const QVector<int>& list, int index) {
    return index < list.size() ? QVariant(list[index]) : QVariant();
}

} // namespace

Teamauswahl::Teamauswahl(AppState& state, Tdb_procedures& db, Interaction& interaction)
    : state_(state), db_(db), interaction_(interaction) {
    emptyPositions();
}

int Teamauswahl::kid() const {
    return selectedClass_ >= 0 && selectedClass_ < classes_.size() ? classes_[selectedClass_].kid : 0;
}

void Teamauswahl::open() {
    classes_.clear();
    const Rows rows =
        db_.select(QStringLiteral("SELECT KID,kbezeichnung FROM Turnierklassen WHERE (TID=:ID AND system=3) "
                                  "ORDER BY KID"),
                   {{":ID", state_.tid}});
    classes_.reserve(rows.size());
    for (const Row& r : rows)
        classes_.append({r.integer(u"KID"), r.text(u"kbezeichnung")});
    chooseClass(classes_.isEmpty() ? -1 : 0);
    if (!teams_.isEmpty()) showTeam(teams_.first().mid);
}

void Teamauswahl::chooseClass(int index) {
    selectedClass_ = index >= 0 && index < classes_.size() ? index : -1;
    loadClass();
}

void Teamauswahl::loadClass() {
    players_.clear();
    clubs_.clear();
    teams_.clear();
    teamname_.clear();
    verein_.clear();
    focus_ = Feld::Keines;
    spielerAnzahl_ = 0;
    reserveAnzahl_ = 0;
    const int k = kid();
    if (k > 0) {
        const Row sizes = db_.selectOne(
            QStringLiteral("SELECT spieler,reserve FROM Teamsystem WHERE KID=:ID"), {{":ID", k}});
        spielerAnzahl_ = std::clamp(sizes.integer(u"spieler"), 0, 4);
        reserveAnzahl_ = std::clamp(sizes.integer(u"reserve"), 0, 2);

        const Rows entered = db_.select(
            QStringLiteral(
                "SELECT s.nachname,s.vorname,s.SID FROM Spielerdaten as s INNER JOIN Spieler_im_Turnier "
                "as st ON (s.SID=st.SID AND st.KID=:ID) ORDER BY s.nachname,s.vorname"),
            {{":ID", k}});
        QSet<int> seen;
        players_.reserve(entered.size());
        for (const Row& r : entered) {
            const int sid = r.integer(u"SID");
            if (seen.contains(sid)) continue; // an entry stored twice is one player
            seen.insert(sid);
            players_.append({sid, personText(r), false});
        }

        const Rows clubs = db_.select(
            QStringLiteral(
                "SELECT distinct s.verein FROM Spielerdaten as s INNER JOIN Spieler_im_Turnier as st ON "
                "(s.SID=st.SID AND st.KID=:ID)"),
            {{":ID", k}});
        for (const Row& r : clubs) {
            const QString club = r.text(u"verein");
            if (!club.isEmpty() && !clubs_.contains(club)) clubs_ << club;
        }
        QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(clubs_.begin(), clubs_.end(), collator);

        loadTeams();
    }
    emptyPositions();
}

void Teamauswahl::loadTeams() {
    teams_.clear();
    const Rows rows =
        db_.select(QStringLiteral("SELECT * FROM Teams WHERE KID=:ID ORDER BY MID"), {{":ID", kid()}});
    QSet<int> members;
    teams_.reserve(rows.size());
    for (const Row& r : rows) {
        teams_.append({r.integer(u"MID"), r.text(u"teamname")});
        for (const char* column : kMemberColumns) {
            const int sid = positionValue(r, QString::fromLatin1(column));
            if (sid > 0) members.insert(sid);
        }
    }
    for (TeamMitglied& p : players_)
        p.imTeam = members.contains(p.sid);
}

void Teamauswahl::emptyPositions() {
    spieler_ = QVector<int>(spielerAnzahl_, 0);
    reserve_ = QVector<int>(reserveAnzahl_, 0);
    doppel1_ = QVector<int>(2, 0);
    doppel2_ = QVector<int>(2, 0);
}

int Teamauswahl::teamIndex() const {
    const QString name = teamname_.trimmed();
    for (int i = 0; i < teams_.size(); ++i)
        if (teams_[i].name == name) return i;
    return -1;
}

void Teamauswahl::chooseTeam(int index) {
    if (index < 0 || index >= teams_.size()) return;
    showTeam(teams_[index].mid);
}

void Teamauswahl::showTeam(int mid) {
    const Row r = db_.selectOne(QStringLiteral("SELECT * FROM Teams WHERE MID=:ID"), {{":ID", mid}});
    if (r.isEmpty()) return;
    focus_ = Feld::Keines;
    teamname_ = r.text(u"teamname");
    verein_ = r.text(u"verein");
    emptyPositions();
    for (int i = 0; i < spieler_.size(); ++i)
        spieler_[i] = positionValue(r, QStringLiteral("s%1").arg(i + 1));
    for (int i = 0; i < reserve_.size(); ++i)
        reserve_[i] = positionValue(r, QStringLiteral("r%1").arg(i + 1));
    for (int i = 0; i < 2; ++i) {
        doppel1_[i] = positionValue(r, QStringLiteral("d1_%1").arg(i + 1));
        doppel2_[i] = positionValue(r, QStringLiteral("d2_%1").arg(i + 1));
    }
}

void Teamauswahl::playerClicked(int index) {
    if (index < 0 || index >= players_.size()) return;
    const int sid = players_[index].sid;
    const Row r = db_.selectOne(
        QStringLiteral("SELECT MID, Teamname FROM Teams WHERE (KID=:ID AND (s1=:s1 OR "
                       "s2=:s2 OR s3=:s3 OR s4=:s4 OR r1=:r1 OR r2=:r2))"),
        {{":ID", kid()}, {":s1", sid}, {":s2", sid}, {":s3", sid}, {":s4", sid}, {":r1", sid}, {":r2", sid}});
    if (!r.isEmpty()) showTeam(r.integer(u"MID"));
}

QVector<int>* Teamauswahl::list(TeamListe liste) {
    switch (liste) {
    case TeamListe::Spieler:
        return &spieler_;
    case TeamListe::Reserve:
        return &reserve_;
    case TeamListe::Doppel1:
        return &doppel1_;
    case TeamListe::Doppel2:
        return &doppel2_;
    case TeamListe::Gemeldet:
        break;
    }
    return nullptr;
}

const QVector<int>& Teamauswahl::positions(TeamListe liste) const {
    static const QVector<int> none;
    switch (liste) {
    case TeamListe::Spieler:
        return spieler_;
    case TeamListe::Reserve:
        return reserve_;
    case TeamListe::Doppel1:
        return doppel1_;
    case TeamListe::Doppel2:
        return doppel2_;
    case TeamListe::Gemeldet:
        break;
    }
    return none;
}

bool Teamauswahl::playsIn(TeamListe liste, int sid) const {
    return positions(liste).contains(sid);
}

QString Teamauswahl::playerText(int sid) const {
    if (sid <= 0) return {};
    for (const TeamMitglied& p : players_)
        if (p.sid == sid) return p.text;
    // A stored team may still name a player who has left the class.
    const Row r = db_.selectOne(QStringLiteral("SELECT SID,nachname,vorname FROM Spielerdaten WHERE SID=:ID"),
                                {{":ID", sid}});
    return r.isEmpty() ? QString() : personText(r);
}

void Teamauswahl::dropOutsiders() {
    // A doubles pair is made of the team's own players: whoever left the team leaves the pairs too.
    for (QVector<int>* pair : {&doppel1_, &doppel2_})
        for (int& sid : *pair)
            if (sid > 0 && !spieler_.contains(sid) && !reserve_.contains(sid)) sid = 0;
}

bool Teamauswahl::drop(TeamListe target, int targetPos, TeamListe source, int sourcePos) {
    int sid = 0;
    if (source == TeamListe::Gemeldet) {
        if (sourcePos < 0 || sourcePos >= players_.size()) return false;
        sid = players_[sourcePos].sid;
    } else {
        const QVector<int>& from = positions(source);
        if (sourcePos < 0 || sourcePos >= from.size()) return false;
        sid = from[sourcePos];
    }
    if (sid <= 0) return false;

    if (target == TeamListe::Gemeldet) {
        if (source == TeamListe::Gemeldet) return false;
        (*list(source))[sourcePos] = 0;
        dropOutsiders();
        return true;
    }

    QVector<int>& to = *list(target);
    if (to.isEmpty()) return false;
    if (source == target) {
        if (targetPos < 0 || targetPos >= to.size()) return false;
        std::swap(to[targetPos], to[sourcePos]);
        return targetPos != sourcePos;
    }
    // The doubles take players from the position lists only; the position lists take none from the doubles.
    if (isDoubles(target) && !isPositional(source)) return false;
    if (isPositional(target) && isDoubles(source)) return false;
    if (playsIn(target, sid)) return false;
    if (targetPos < 0 || targetPos >= to.size()) {
        targetPos = int(to.indexOf(0));
        if (targetPos < 0) return false;
    }

    to[targetPos] = sid;
    if (isPositional(target)) {
        // A player holds one place in the team: taken from the other position list, that place is freed.
        const TeamListe other = target == TeamListe::Spieler ? TeamListe::Reserve : TeamListe::Spieler;
        QVector<int>& otherList = *list(other);
        const int at = int(otherList.indexOf(sid));
        if (at >= 0) otherList[at] = 0;
        dropOutsiders();
    }
    return true;
}

void Teamauswahl::newTeam(const QString& name) {
    teamname_ = name;
    focus_ = Feld::Keines;
    emptyPositions();
}

bool Teamauswahl::deleteTeam() {
    const int index = teamIndex();
    if (index < 0) return false;
    if (!interaction_.askOkCancel(kLoeschenFrage)) return false;
    const TeamEintrag team = teams_[index];
    {
        Transaction t(db_);
        db_.exec(QStringLiteral("DELETE FROM Teams WHERE MID=:ID"), {{":ID", team.mid}});
        db_.exec(QStringLiteral("UPDATE Doppelpartner SET mannschaft=:d0 WHERE (KID=:ID AND mannschaft=:d1)"),
                 {{":d0", QVariant()}, {":ID", kid()}, {":d1", team.name}});
        t.commit();
    }
    teamname_.clear();
    emptyPositions();
    loadTeams();
    return true;
}

bool Teamauswahl::refuseMembersOfOtherTeams(int ownMid) {
    const Rows rows = db_.select(QStringLiteral("SELECT * FROM Teams WHERE KID=:ID"), {{":ID", kid()}});
    QHash<int, QString> teamOf;
    for (const Row& r : rows) {
        if (r.integer(u"MID") == ownMid) continue;
        for (const char* column : kMemberColumns) {
            const int sid = positionValue(r, QString::fromLatin1(column));
            if (sid > 0) teamOf.insert(sid, r.text(u"teamname"));
        }
    }
    for (const QVector<int>* members : {&spieler_, &reserve_}) {
        for (const int sid : *members) {
            if (sid > 0 && teamOf.contains(sid)) {
                interaction_.warning(QStringLiteral("Der Spieler \"%1\" spielt bereits im Team \"%2\"")
                                         .arg(playerText(sid), teamOf.value(sid)));
                return true;
            }
        }
    }
    return false;
}

void Teamauswahl::writeMannschaft(const QString& name) {
    const int k = kid();
    // Players who left the team lose its name; then every player of the team gets it.
    db_.exec(QStringLiteral("UPDATE Doppelpartner SET mannschaft=:d0 WHERE (KID=:ID AND mannschaft=:d1)"),
             {{":d0", QVariant()}, {":ID", k}, {":d1", name}});
    QSet<int> withRow;
    for (const Row& r :
         db_.select(QStringLiteral("SELECT SID FROM Doppelpartner WHERE KID=:ID"), {{":ID", k}}))
        withRow.insert(r.integer(u"SID"));
    QSet<int> done;
    for (const QVector<int>* members : {&spieler_, &reserve_, &doppel1_, &doppel2_}) {
        for (const int sid : *members) {
            if (sid <= 0 || done.contains(sid)) continue;
            done.insert(sid);
            if (withRow.contains(sid)) {
                db_.exec(QStringLiteral("UPDATE Doppelpartner SET mannschaft=:d1 WHERE (KID=:ID AND SID=:s)"),
                         {{":d1", name}, {":ID", k}, {":s", sid}});
            } else {
                // A player entered without his row of the class (an import) gets it now, so his team shows.
                db_.exec(QStringLiteral("INSERT INTO Doppelpartner VALUES (:d0,:d1,:d2,:d3)"),
                         {{":d0", k}, {":d1", sid}, {":d2", QVariant()}, {":d3", name}});
            }
        }
    }
}

bool Teamauswahl::save() {
    focus_ = Feld::Keines;
    const QString name = teamname_.trimmed();
    if (name.isEmpty()) {
        interaction_.warning(kNameFehlt);
        focus_ = Feld::Teamname;
        return false;
    }
    const QString club = verein_.trimmed();
    if (club.isEmpty()) {
        interaction_.warning(kVereinFehlt);
        focus_ = Feld::Verein;
        return false;
    }
    const int k = kid();
    if (k <= 0) return false;

    const Row existing =
        db_.selectOne(QStringLiteral("SELECT MID,teamname FROM Teams WHERE teamname=:t AND KID=:ID"),
                      {{":t", name}, {":ID", k}});
    const int ownMid = existing.isEmpty() ? 0 : existing.integer(u"MID");
    if (refuseMembersOfOtherTeams(ownMid)) return false;
    if (ownMid > 0 && !interaction_.askOkCancel(kUeberschreiben)) return false;

    Params positions{{":d4", positionParam(spieler_, 0)},  {":d5", positionParam(spieler_, 1)},
                     {":d6", positionParam(spieler_, 2)},  {":d7", positionParam(spieler_, 3)},
                     {":d8", positionParam(reserve_, 0)},  {":d9", positionParam(reserve_, 1)},
                     {":d10", positionParam(doppel1_, 0)}, {":d11", positionParam(doppel1_, 1)},
                     {":d12", positionParam(doppel2_, 0)}, {":d13", positionParam(doppel2_, 1)}};
    Transaction t(db_);
    if (ownMid > 0) {
        Params p = positions;
        p += Params{{":d3", name}, {":v", club}, {":ID", ownMid}};
        db_.exec(QStringLiteral(
                     "UPDATE Teams SET teamname=:d3,s1=:d4,s2=:d5,s3=:d6,s4=:d7,r1=:d8,r2=:d9,d1_1=:d10,"
                     "d1_2=:d11,d2_1=:d12,d2_2=:d13,verein=:v WHERE MID=:ID"),
                 p);
    } else {
        const int mid = db_.nextId(QStringLiteral("Teams"), QStringLiteral("MID"));
        Params p = positions;
        p += Params{{":d0", state_.tid}, {":d1", k},      {":d2", mid},
                    {":d3", name},       {":d14", false}, {":d15", club}};
        db_.exec(
            QStringLiteral("INSERT INTO Teams VALUES (:d0,:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,:d12,"
                           ":d13,:d14,:d15)"),
            p);
    }
    writeMannschaft(name);
    t.commit();

    teamname_ = name;
    verein_ = club;
    if (!clubs_.contains(club)) clubs_ << club;
    loadTeams();
    return true;
}
