#include "play/planung.h"

#include "common/classkind.h"
#include "common/interaction.h"
#include "play/matchrecord.h"
#include "store/db_procedures.h"

#include <QMetaType>
#include <QVariant>
#include <cstdlib>

namespace planung {

int zeileVon(const QTime& zeit) {
    if (!zeit.isValid()) return 0;
    return zeit.hour() * 6 + zeit.minute() / 10;
}

QTime zeitVon(int zeile) {
    return QTime(0, 0).addSecs(zeile * 600);
}

} // namespace planung

QString PlanungsKlasse::anzeige() const {
    return classkind::caption(kbezeichnung, system);
}

namespace {

// geplante_zeit is a date-time of which only the time counts; older rows may hold a bare time. The file
// database's text is cut instead of parsed as a local date-time: with thousands of rows, every local-time
// conversion asking the system for its time zone made opening the scheduler ten times slower.
QTime zeitAus(const Row& r) {
    const QVariant v = r.value(u"geplante_zeit");
    if (v.isNull()) return {};
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString();
        const qsizetype blank = t.indexOf(u' ');
        const QTime z = QTime::fromString(blank < 0 ? t : t.mid(blank + 1), Qt::ISODate);
        if (z.isValid()) return z;
    }
    const QDateTime dt = r.dateTime(u"geplante_zeit");
    return dt.isValid() ? dt.time() : r.time(u"geplante_zeit");
}

QDate datumAus(const Row& r) {
    const QVariant v = r.value(u"geplanter_tag");
    if (v.typeId() == QMetaType::QString) {
        const QDate d = QDate::fromString(v.toString().left(10), Qt::ISODate);
        if (d.isValid()) return d;
    }
    return r.date(u"geplanter_tag");
}

PlanSpiel spielAus(const Row& r, bool rubber) {
    PlanSpiel s;
    s.KID = r.integer(u"KID");
    s.spielnummer = r.integer(u"spielnummer");
    s.nummer = rubber ? r.integer(u"nummer") : -1;
    s.spieler1 = r.text(u"spieler1");
    s.spieler2 = r.text(u"spieler2");
    s.schiri = r.text(u"schiri");
    s.tag = datumAus(r);
    s.tisch = r.text(u"geplanter_tisch");
    s.zeit = zeitAus(r);
    return s;
}

} // namespace

Planung::Planung(Tdb_procedures& db, Interaction& ui, int tid) : db_(db), ui_(ui), tid_(tid) {}

QString Planung::letzteZeileText() {
    return QStringLiteral("Um 23:50 kann kein Spiel beginnen: ein Spiel braucht zwei Zeilen des Plans.");
}

QString Planung::keinTagText() {
    return QStringLiteral(
        "Für das Turnier ist kein Zeitraum eingetragen. Tragen Sie in den Turnierdaten ein, "
        "von wann bis wann es dauert.");
}

void Planung::laden() {
    const Params tid{{":ID", tid_}};
    const Row daten = db_.selectOne(QStringLiteral("SELECT tvon,tbis FROM Turnierdaten WHERE TID=:ID"), tid);
    von_ = daten.date(u"tvon");
    bis_ = daten.date(u"tbis");
    // A tournament of one day may have no last day entered; a last day before the first means the same.
    if (!bis_.isValid() || (von_.isValid() && bis_ < von_)) bis_ = von_;
    tag_ = von_;

    klassen_.clear();
    for (const Row& r : db_.select(QStringLiteral("SELECT system,KID,kbezeichnung,farbe FROM Turnierklassen "
                                                  "WHERE TID=:ID ORDER BY kbezeichnung"),
                                   tid))
        klassen_.append({r.integer(u"KID"), r.integer(u"system"), r.text(u"kbezeichnung"), r.text(u"farbe")});

    tische_.clear();
    for (const Row& r : db_.select(
             QStringLiteral("SELECT DISTINCT platte FROM Platten1 WHERE TID=:ID ORDER BY platte"), tid))
        tische_.append(r.text(u"platte"));

    // Every planned match of the tournament at once: a day change then needs no statement.
    geplant_.clear();
    auto aufnehmen = [&](const Rows& rows, bool rubber) {
        for (const Row& r : rows) {
            PlanSpiel s = spielAus(r, rubber);
            if (!s.zeit.isValid() || s.spieler1.isEmpty() || s.spieler2.isEmpty()) continue;
            geplant_[s.key()] = s;
        }
    };
    aufnehmen(
        db_.select(QStringLiteral("SELECT schiri,KID,geplanter_tisch,SID1,SID2,geplante_zeit,geplanter_tag,"
                                  "spieler1,spieler2,spielnummer FROM Spielplan WHERE TID=:ID AND "
                                  "geplanter_tag IS NOT NULL"),
                   tid),
        false);
    aufnehmen(db_.select(QStringLiteral("SELECT schiri,nummer,KID,geplanter_tisch,SID1,SID2,geplante_zeit,"
                                        "geplanter_tag,spieler1,spieler2,spielnummer FROM Teamspiele WHERE "
                                        "TID=:ID AND geplanter_tag IS NOT NULL ORDER BY spielnummer,nummer"),
                         tid),
              true);
    zellenAufbauen();
}

bool Planung::tagZeigen(const QDate& tag) {
    if (!tag.isValid() || !von_.isValid() || tag < von_ || tag > bis_) return false;
    tag_ = tag;
    zellenAufbauen();
    return true;
}

bool Planung::vorherigerTag() {
    return von_.isValid() && von_ < tag_ && tagZeigen(tag_.addDays(-1));
}

bool Planung::naechsterTag() {
    return bis_.isValid() && bis_ > tag_ && tagZeigen(tag_.addDays(1));
}

const PlanungsKlasse* Planung::klasse(int kid) const {
    for (const PlanungsKlasse& k : klassen_)
        if (k.KID == kid) return &k;
    return nullptr;
}

QString Planung::farbe(int kid) const {
    const PlanungsKlasse* k = klasse(kid);
    return k ? k->farbe : QString();
}

void Planung::farbeSetzen(int kid, const QString& farbe) {
    db_.exec(QStringLiteral("UPDATE Turnierklassen SET farbe=:f WHERE KID=:ID"),
             {{":f", farbe}, {":ID", kid}});
    for (PlanungsKlasse& k : klassen_)
        if (k.KID == kid) k.farbe = farbe;
}

void Planung::zellenAufbauen() {
    zellen_.fill(Zelle{}, spalten() * planung::kLetzteZeile);
    for (const auto& [key, s] : geplant_)
        if (s.tag == tag_) belegen(s);
}

void Planung::belegen(const PlanSpiel& s) {
    const int spalte = int(tische_.indexOf(s.tisch)) + 1;
    const int zeile = planung::zeileVon(s.zeit);
    if (!imGitter(spalte, zeile)) return; // a table no longer in the tournament, or before 00:10
    zellen_[index(spalte, zeile)] = {&s, true};
    // Planned elsewhere at 23:50 (the match dialog allows it): only the top cell exists.
    if (zeile < planung::kLetzteZeile) zellen_[index(spalte, zeile + 1)] = {&s, false};
}

PlanZelle Planung::zelle(int spalte, int zeile) const {
    if (!imGitter(spalte, zeile)) return {};
    const Zelle& z = zellen_[index(spalte, zeile)];
    return {z.spiel, z.oben};
}

QVector<const PlanSpiel*> Planung::spieleDesTages() const {
    QVector<const PlanSpiel*> out;
    for (const Zelle& z : zellen_)
        if (z.spiel && z.oben) out.append(z.spiel);
    return out;
}

QVector<PlanSpiel> Planung::ungeplant(int kid) {
    const PlanungsKlasse* k = klasse(kid);
    const bool team = k && k->team();
    const Rows rows =
        team ? db_.select(QStringLiteral(
                              "SELECT nummer, geplante_zeit,spieler1,spieler2,spielnummer,schiri,KID FROM "
                              "Teamspiele WHERE KID=:ID ORDER BY spielnummer,nummer"),
                          {{":ID", kid}})
             : db_.select(QStringLiteral("SELECT geplante_zeit,spieler1,spieler2,spielnummer,schiri,KID FROM "
                                         "Spielplan WHERE KID=:ID ORDER BY spielnummer"),
                          {{":ID", kid}});
    QVector<PlanSpiel> out;
    for (const Row& r : rows) {
        if (!r.isNull(u"geplante_zeit")) continue;
        PlanSpiel s = spielAus(r, team);
        if (s.spieler1.isEmpty() || s.spieler2.isEmpty()) continue;
        out.append(s);
    }
    return out;
}

QVector<PlanSpiel> Planung::imWeg(int spalte, int zeile, const PlanSpiel* ausser) const {
    QVector<PlanSpiel> out;
    auto nehmen = [&](const PlanSpiel* s) {
        if (!s || (ausser && s->key() == ausser->key())) return;
        for (const PlanSpiel& o : out)
            if (o.key() == s->key()) return;
        out.append(*s);
    };
    const PlanZelle ziel = zelle(spalte, zeile);
    nehmen(ziel.spiel); // either half of a match at the target
    const PlanZelle darunter = zelle(spalte, zeile + 1);
    if (darunter.oben) nehmen(darunter.spiel);
    return out;
}

bool Planung::zielPruefen(int spalte, int zeile) {
    if (!imGitter(spalte, zeile)) return false;
    if (!tag_.isValid()) {
        // Without a first day there is no day to write.
        ui_.error(keinTagText(), Interaction::Button::Ok);
        return false;
    }
    if (zeile == planung::kLetzteZeile) {
        ui_.error(letzteZeileText(), Interaction::Button::Ok);
        return false;
    }
    return true;
}

void Planung::zeitzurueck(const PlanSpiel& s) {
    // Only the row the item stands for: a rubber's team match keeps its own planning, and vice versa.
    if (s.rubber())
        db_.exec(QStringLiteral("UPDATE Teamspiele SET schiri=NULL,geplanter_tag=NULL,geplanter_tisch=NULL, "
                                "geplante_zeit=NULL WHERE KID=:ID AND spielnummer=:snr AND nummer=:n"),
                 {{":ID", s.KID}, {":snr", s.spielnummer}, {":n", s.nummer}});
    else
        matchrecord::clearSchedule(db_, s.KID, s.spielnummer);
}

void Planung::schreiben(const PlanSpiel& spiel, const QVector<PlanSpiel>& weg, const QString& tisch,
                        const QTime& zeit) {
    const QDateTime geplant(tag_, zeit);
    Transaction t(db_);
    for (const PlanSpiel& w : weg)
        zeitzurueck(w);
    if (spiel.rubber())
        db_.exec(
            QStringLiteral("UPDATE Teamspiele SET geplanter_tag=:d,geplanter_tisch=:t,geplante_zeit=:z WHERE "
                           "KID=:ID AND spielnummer=:snr AND nummer=:n"),
            {{":d", tag_},
             {":t", tisch},
             {":z", geplant},
             {":ID", spiel.KID},
             {":snr", spiel.spielnummer},
             {":n", spiel.nummer}});
    else
        matchrecord::schedule(db_, spiel.KID, spiel.spielnummer, tag_, tisch, geplant);
    t.commit();
    // The grid follows only what was committed.
    for (const PlanSpiel& w : weg)
        geplant_.erase(w.key());
}

bool Planung::einplanen(const PlanSpiel& spiel, int spalte, int zeile) {
    if (!zielPruefen(spalte, zeile)) return false;
    const QString tisch = tische_[spalte - 1];
    const QTime zeit = planung::zeitVon(zeile);
    // A line may stand for a match that is in the grid already (planned on another desk, say): it moves.
    schreiben(spiel, imWeg(spalte, zeile, &spiel), tisch, zeit);
    PlanSpiel& neu = geplant_[spiel.key()];
    const QString schiri = neu.schiri.isEmpty() ? spiel.schiri : neu.schiri;
    neu = spiel;
    neu.schiri = schiri;
    neu.tag = tag_;
    neu.tisch = tisch;
    neu.zeit = zeit;
    zellenAufbauen();
    return true;
}

bool Planung::verschieben(int vonSpalte, int vonZeile, int spalte, int zeile) {
    const PlanZelle quelle = zelle(vonSpalte, vonZeile);
    if (!quelle.spiel) return false;
    if (!zielPruefen(spalte, zeile)) return false;
    const PlanSpiel spiel = *quelle.spiel;
    const QString tisch = tische_[spalte - 1];
    const QTime zeit = planung::zeitVon(zeile);
    schreiben(spiel, imWeg(spalte, zeile, &spiel), tisch, zeit);
    PlanSpiel& neu = geplant_[spiel.key()];
    neu.tisch = tisch;
    neu.zeit = zeit;
    zellenAufbauen();
    return true;
}

std::optional<PlanSpiel> Planung::ausplanen(int spalte, int zeile) {
    const PlanZelle z = zelle(spalte, zeile);
    if (!z.spiel) return std::nullopt;
    PlanSpiel spiel = *z.spiel;
    {
        Transaction t(db_);
        zeitzurueck(spiel);
        t.commit();
    }
    geplant_.erase(spiel.key());
    zellenAufbauen();
    spiel.tag = {};
    spiel.tisch.clear();
    spiel.zeit = {};
    spiel.schiri.clear();
    return spiel;
}

QString Planung::schiriFremdText(const QString& schiri) {
    return QStringLiteral("%1 ist für die Klasse dieses Spiels nicht als Schiedsrichter gemeldet.")
        .arg(schiri);
}

QString Planung::schiriBelegtText(const PlanSpiel& anderes) {
    return QStringLiteral("%1 ist um %2 schon Schiedsrichter an %3 (%4 - %5).")
        .arg(anderes.schiri, anderes.zeit.toString(QStringLiteral("hh:mm")), anderes.tisch, anderes.spieler1,
             anderes.spieler2);
}

QString Planung::schiriAufgerufenText() {
    return QStringLiteral(
        "Das Spiel ist schon aufgerufen, begonnen oder beendet. Seinen Schiedsrichter ändern "
        "Sie in der Spielverwaltung.");
}

QStringList Planung::schiris(int kid) {
    QStringList out;
    for (const Row& r :
         db_.select(QStringLiteral("SELECT s.SCHIRIID,snname,svname FROM Schiri as s INNER JOIN "
                                   "Schiri_im_Turnier as st ON s.SCHIRIID=st.SCHIRIID WHERE "
                                   "st.KID=:ID ORDER BY snname,svname"),
                    {{":ID", kid}}))
        out << r.text(u"snname") + QStringLiteral(", ") + r.text(u"svname");
    return out;
}

bool Planung::schiriSetzen(int spalte, int zeile, const QString& schiri) {
    const PlanZelle z = zelle(spalte, zeile);
    if (!z.spiel) return false;
    const PlanSpiel spiel = *z.spiel;
    const QString name = schiri.trimmed();
    if (!name.isEmpty()) {
        if (!schiris(spiel.KID).contains(name)) {
            ui_.error(schiriFremdText(name), Interaction::Button::Ok);
            return false;
        }
        // One umpire cannot watch two tables at once: a match occupies its row and the one below.
        const int oben = planung::zeileVon(spiel.zeit);
        for (const auto& [key, s] : geplant_)
            if (key != spiel.key() && s.tag == spiel.tag && s.schiri == name &&
                std::abs(planung::zeileVon(s.zeit) - oben) <= 1) {
                ui_.error(schiriBelegtText(s), Interaction::Button::Ok);
                return false;
            }
    }
    const Params p = spiel.rubber()
                         ? Params{{":ID", spiel.KID}, {":snr", spiel.spielnummer}, {":nr", spiel.nummer}}
                         : Params{{":ID", spiel.KID}, {":snr", spiel.spielnummer}};
    {
        Transaction t(db_);
        const Rows zustand =
            spiel.rubber()
                ? db_.select(QStringLiteral("SELECT in_planung,begonnen,beendet FROM Teamspiele WHERE "
                                            "KID=:ID AND spielnummer=:snr AND nummer=:nr"),
                             p)
                : db_.select(QStringLiteral("SELECT in_planung,begonnen,beendet FROM Spielplan WHERE "
                                            "KID=:ID AND spielnummer=:snr"),
                             p);
        if (zustand.isEmpty()) return false; // gone since the grid was read
        const Row& r = zustand.first();
        if (stateOf(r.boolean(u"in_planung"), r.boolean(u"begonnen"), r.boolean(u"beendet")) !=
            MatchState::Open) {
            ui_.error(schiriAufgerufenText(), Interaction::Button::Ok);
            return false;
        }
        Params mitSchiri = p;
        mitSchiri.append({QStringLiteral(":s"), name.isEmpty() ? QVariant() : QVariant(name)});
        if (spiel.rubber())
            db_.exec(QStringLiteral(
                         "UPDATE Teamspiele SET schiri=:s WHERE KID=:ID AND spielnummer=:snr AND nummer=:nr"),
                     mitSchiri);
        else
            db_.exec(QStringLiteral("UPDATE Spielplan SET schiri=:s WHERE KID=:ID AND spielnummer=:snr"),
                     mitSchiri);
        t.commit();
    }
    // Both cells of the match point to this one item.
    geplant_[spiel.key()].schiri = name;
    return true;
}
