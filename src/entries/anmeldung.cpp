#include "entries/anmeldung.h"

#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QLocale>
#include <algorithm>
#include <functional>
#include <numeric>

namespace {

const QString kTrenner = QStringLiteral(", ");

// Lists read alphabetically as a German reader expects, the same on both engines: letter case does
// not split a name from its neighbours and umlauts sit beside their base letters.
const QCollator& germanCollator() {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// The keys one line is ordered by, compared field by field.
struct SortKeys {
    QVector<QCollatorSortKey> keys;
    QStringList raw; // decides between values that collate equal, so the order never depends on the engine
    int id = 0;
};

bool lessKeys(const SortKeys& a, const SortKeys& b) {
    for (int i = 0; i < a.keys.size(); ++i) {
        const int c = a.keys[i].compare(b.keys[i]);
        if (c != 0) return c < 0;
    }
    for (int i = 0; i < a.raw.size(); ++i) {
        const int c = QString::compare(a.raw[i], b.raw[i]);
        if (c != 0) return c < 0;
    }
    return a.id < b.id;
}

// Line indexes of list ordered by the given fields of each line.
QVector<int> orderOf(const QVector<AnmeldeEintrag>& list,
                     const std::function<QStringList(const AnmeldeEintrag&)>& fields) {
    const QCollator& collator = germanCollator();
    QVector<SortKeys> keys;
    keys.reserve(list.size());
    for (const AnmeldeEintrag& e : list) {
        SortKeys k;
        k.raw = fields(e);
        for (const QString& f : std::as_const(k.raw))
            k.keys.append(collator.sortKey(f));
        k.id = e.id;
        keys.append(std::move(k));
    }
    QVector<int> order(list.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return lessKeys(keys[a], keys[b]); });
    return order;
}

QStringList nameFields(const AnmeldeEintrag& e) {
    return {e.nachname, e.vorname};
}
QStringList clubFields(const AnmeldeEintrag& e) {
    return {e.verein, e.nachname, e.vorname};
}

QVector<AnmeldeEintrag> permuted(const QVector<AnmeldeEintrag>& list, const QVector<int>& order) {
    QVector<AnmeldeEintrag> out;
    out.reserve(list.size());
    for (int i : order)
        out.append(list[i]);
    return out;
}

} // namespace

NeuerSpielerName splitSpielerName(const QString& text) {
    const int comma = text.indexOf(u',');
    if (comma >= 0) return {text.left(comma).trimmed(), text.mid(comma + 1).trimmed()};
    const QString t = text.trimmed();
    const int blank = t.indexOf(u' ');
    if (blank >= 0) return {t.left(blank).trimmed(), t.mid(blank + 1).trimmed()};
    return {t, QString()};
}

Anmeldung::Anmeldung(AppState& state, Tdb_procedures& db) : state_(state), db_(db) {}

void Anmeldung::open() {
    order_ = Sortierung::Nachname;
    players_.clear();
    teams_.clear();
    selectedPlayer_ = selectedTeam_ = -1;
    fillPlayers();
    fillTeams();
}

void Anmeldung::sortPlayers(Sortierung order) {
    order_ = order;
    fillPlayers();
}

void Anmeldung::sortTeams() {
    fillTeams();
}

void Anmeldung::fillPlayers() {
    const QString sql =
        order_ == Sortierung::Verein
            ? QStringLiteral("SELECT SID, nachname, vorname, verein, angemeldet FROM Spielerdaten WHERE "
                             "TID=:ID ORDER BY verein,nachname,vorname")
            : QStringLiteral("SELECT SID, nachname, vorname, verein, angemeldet FROM Spielerdaten WHERE "
                             "TID=:ID ORDER BY nachname,vorname");
    const Rows rows = db_.select(sql, {{":ID", state_.tid}});
    QVector<AnmeldeEintrag> list;
    list.reserve(rows.size());
    for (const Row& r : rows) {
        AnmeldeEintrag e;
        e.id = r.integer(u"SID");
        e.nachname = r.text(u"nachname");
        e.vorname = r.text(u"vorname");
        e.verein = r.text(u"verein");
        e.angemeldet = r.boolean(u"angemeldet");
        e.name = e.nachname + kTrenner + e.vorname;
        e.text = e.name + QStringLiteral(" (") + e.verein + u')';
        list.append(std::move(e));
    }
    // The engines collate differently (SQLite by code points); the list follows one German order.
    if (order_ == Sortierung::Verein) {
        players_ = permuted(list, orderOf(list, clubFields));
        playersByName_ = orderOf(players_, nameFields);
    } else {
        players_ = permuted(list, orderOf(list, nameFields));
        playersByName_.resize(players_.size());
        std::iota(playersByName_.begin(), playersByName_.end(), 0);
    }
    selectedPlayer_ = players_.isEmpty() ? -1 : 0;
}

void Anmeldung::fillTeams() {
    const Rows rows = db_.select(QStringLiteral("SELECT * FROM Teams WHERE TID=:ID ORDER BY teamname"),
                                 {{":ID", state_.tid}});
    QVector<AnmeldeEintrag> list;
    list.reserve(rows.size());
    for (const Row& r : rows) {
        AnmeldeEintrag e;
        e.id = r.integer(u"MID");
        e.nachname = r.text(u"teamname");
        e.verein = r.text(u"verein");
        e.angemeldet = r.boolean(u"angemeldet");
        e.name = e.nachname;
        e.text = e.nachname;
        list.append(std::move(e));
    }
    teams_ = permuted(list, orderOf(list, nameFields));
    teamsByName_.resize(teams_.size());
    std::iota(teamsByName_.begin(), teamsByName_.end(), 0);
    selectedTeam_ = teams_.isEmpty() ? -1 : 0;
}

void Anmeldung::selectPlayer(int index) {
    selectedPlayer_ = index >= 0 && index < players_.size() ? index : -1;
}

void Anmeldung::selectTeam(int index) {
    selectedTeam_ = index >= 0 && index < teams_.size() ? index : -1;
}

int Anmeldung::search(const QVector<AnmeldeEintrag>& list, const QVector<int>& byName, const QString& text) {
    // Matched in memory against the lines read at opening: one rule on both engines (SQLite's LIKE
    // ignores case for ASCII letters only), and no round trip per key stroke. A player another desk
    // added since then is not in the list and could not be selected anyway.
    for (int i : byName)
        if (list[i].nachname.startsWith(text, Qt::CaseInsensitive)) return i;
    return -1;
}

int Anmeldung::searchPlayer(const QString& text) {
    const int found = search(players_, playersByName_, text);
    if (found >= 0) selectedPlayer_ = found;
    return selectedPlayer_;
}

int Anmeldung::searchTeam(const QString& text) {
    const int found = search(teams_, teamsByName_, text);
    if (found >= 0) selectedTeam_ = found;
    return selectedTeam_;
}

int Anmeldung::indexOfPlayer(int sid) const {
    for (int i = 0; i < players_.size(); ++i)
        if (players_[i].id == sid) return i;
    return -1;
}

int Anmeldung::indexOfTeam(int mid) const {
    for (int i = 0; i < teams_.size(); ++i)
        if (teams_[i].id == mid) return i;
    return -1;
}

void Anmeldung::spieleranmeldung(int sid, bool angemeldet) {
    db_.exec(QStringLiteral("UPDATE Spielerdaten SET angemeldet=:g WHERE TID=:ID AND SID=:s"),
             {{":g", angemeldet}, {":ID", state_.tid}, {":s", sid}});
    const int i = indexOfPlayer(sid);
    if (i >= 0) players_[i].angemeldet = angemeldet;
}

TeamMeldung Anmeldung::teamanmeldung(int mid, bool angemeldet) {
    // The team's players are read before anything is written, so a failed read changes nothing.
    const Row team = db_.selectOne(QStringLiteral("SELECT * FROM Teams WHERE MID=:ID"), {{":ID", mid}});
    static const char16_t* const columns[] = {u"s1", u"s2", u"s3", u"s4", u"r1", u"r2"};
    QVector<TeamPosition> positions;
    Params params;
    QStringList placeholders;
    for (int p = 0; p < 6; ++p) {
        const int sid = team.integer(columns[p]);
        if (sid <= 0) continue; // an empty position
        bool seen = false;
        for (const TeamPosition& tp : std::as_const(positions))
            seen = seen || tp.sid == sid;
        if (seen) continue;
        positions.append({p, sid, QString()});
        const QString name = QStringLiteral(":p%1").arg(p);
        placeholders << name;
        params.append({name, sid});
    }
    if (!positions.isEmpty()) {
        const Rows rows =
            db_.select(QStringLiteral("SELECT SID,nachname,vorname FROM Spielerdaten WHERE SID IN (") +
                           placeholders.join(u',') + u')',
                       params);
        for (TeamPosition& tp : positions)
            for (const Row& r : rows)
                if (r.integer(u"SID") == tp.sid)
                    tp.name = r.text(u"nachname") + kTrenner + r.text(u"vorname");
        // A position naming a player who no longer exists offers nobody.
        positions.erase(std::remove_if(positions.begin(), positions.end(),
                                       [&](const TeamPosition& tp) {
                                           return std::none_of(rows.begin(), rows.end(), [&](const Row& r) {
                                               return r.integer(u"SID") == tp.sid;
                                           });
                                       }),
                        positions.end());
    }

    db_.exec(QStringLiteral("UPDATE Teams SET angemeldet=:g WHERE TID=:ID AND MID=:s"),
             {{":g", angemeldet}, {":ID", state_.tid}, {":s", mid}});
    const int i = indexOfTeam(mid);
    if (i >= 0) teams_[i].angemeldet = angemeldet;
    return {mid, team.text(u"teamname"), angemeldet, positions};
}

void Anmeldung::teamSpielerMelden(const QList<int>& sids, bool angemeldet) {
    if (sids.isEmpty()) return;
    Transaction t(db_);
    for (int sid : sids)
        db_.exec(QStringLiteral("UPDATE Spielerdaten SET angemeldet=:g WHERE TID=:ID AND SID=:s"),
                 {{":g", angemeldet}, {":ID", state_.tid}, {":s", sid}});
    t.commit();
    for (int sid : sids) {
        const int i = indexOfPlayer(sid);
        if (i >= 0) players_[i].angemeldet = angemeldet;
    }
}

bool Anmeldung::togglePlayer() {
    if (selectedPlayer_ < 0) return false;
    const AnmeldeEintrag& e = players_[selectedPlayer_];
    spieleranmeldung(e.id, !e.angemeldet);
    return true;
}

std::optional<TeamMeldung> Anmeldung::toggleTeam() {
    if (selectedTeam_ < 0) return std::nullopt;
    const AnmeldeEintrag& e = teams_[selectedTeam_];
    return teamanmeldung(e.id, !e.angemeldet);
}
