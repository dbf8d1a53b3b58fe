#include "play/spielbetrieb.h"

#include "common/clock.h"
#include "common/interaction.h"
#include "results/ergebnisverarbeitung.h"
#include "store/db_procedures.h"

#include <cstdlib>

const QString Spielbetrieb::kTurnierGestartet = QStringLiteral(" - Turnier gestartet");
const QString Spielbetrieb::kNichtStartbar = QStringLiteral("Dieses Spiel kann nicht gestartet werden");
const QString Spielbetrieb::kNichtZuruecksetzen = QStringLiteral("Spiel kann nicht weiter zurückgesetzt werden");
const QString Spielbetrieb::kMehrereSpiele = QStringLiteral("Es können mehrere Spiele betroffen sein. Fortsetzten?");

QString satzhinweis(const Saetze& s, bool ausSicht2) {
    QStringList teile;
    for (const std::optional<int>& v : s) {
        if (!v) continue;
        if (*v == -100)
            teile << (ausSicht2 ? QStringLiteral("+0") : QStringLiteral("-0"));
        else if (*v >= 0)
            teile << (ausSicht2 ? QStringLiteral("-") : QStringLiteral("+")) + QString::number(*v);
        else
            teile << (ausSicht2 ? QStringLiteral("+") + QString::number(-*v) : QString::number(*v));
    }
    return teile.join(QStringLiteral(", "));
}

QString planhinweis(const SpielplanRow& m) {
    QStringList wann;
    if (m.geplanter_tag.isValid()) wann << m.geplanter_tag.toString(QStringLiteral("dd.MM.yyyy"));
    // Only the time of day counts: the match dialog stores it on a day of its own.
    if (m.geplante_zeit.isValid()) wann << m.geplante_zeit.time().toString(QStringLiteral("hh:mm"));
    if (wann.isEmpty()) return {};
    QStringList zeilen{QStringLiteral("Geplant: ") + wann.join(u' ')};
    if (m.geplanter_tisch && !m.geplanter_tisch->isEmpty())
        zeilen << QStringLiteral("Tisch: ") + *m.geplanter_tisch;
    if (m.schiri && !m.schiri->isEmpty()) zeilen << QStringLiteral("Schiedsrichter: ") + *m.schiri;
    return zeilen.join(u'\n');
}

namespace {

QString gespiegelt(const QString& ergebnis) {
    const int c = ergebnis.indexOf(u':');
    if (c < 0) return ergebnis;
    return ergebnis.mid(c + 1) + u':' + ergebnis.left(c);
}

} // namespace

Spielbetrieb::Spielbetrieb(Tdb_procedures& db, Interaction& ui, const Clock& clock, int kid, QString koSystemPath)
    : db_(db), ui_(ui), clock_(clock), kid_(kid), koSystemPath_(std::move(koSystemPath)) {}

void Spielbetrieb::klasseOeffnen() {
    sp_info_.clear();
    planshow();
}

void Spielbetrieb::planshow() {
    planshow(planDatenLaden(db_, kid_, koSystemPath_));
}

void Spielbetrieb::planshow(PlanDaten d) {
    daten_ = std::move(d);
    listen_ = freilistenErstellen(daten_, ressourcenLaden(db_, kid_));
    zellen_.clear();
    bool laeuft = false;
    for (const SpielplanRow& m : daten_.matches) {
        zellen_.insert(m.spielnummer, Statuszelle{});
        if (stateOf(m) != MatchState::Open) laeuft = true;
    }
    turniergoEnabled_ = !laeuft;
    if (laeuft) {
        statusladen();
        timerEnabled_ = true;
    }
}

bool Spielbetrieb::spielmoeglich(int gruppe, int SID1, int SID2) const {
    if (SID1 <= 0 || SID2 <= 0) return false;
    const QString sl = listen_.spielerliste(gruppe);
    if (!listen_.enthaelt(sl, QString::number(SID1)) || !listen_.enthaelt(sl, QString::number(SID2))) return false;
    return !listen_.liste(listen_.plattenliste(gruppe)).isEmpty();
}

Statuszelle Spielbetrieb::zelleFuer(const SpielplanRow& m) const {
    Statuszelle z;
    switch (stateOf(m)) {
    case MatchState::Called:
        z.tag = StateTag::Called;
        break;
    case MatchState::Started:
        z.tag = StateTag::Started;
        break;
    case MatchState::Finished:
        z.tag = StateTag::Finished;
        z.text = m.ergebnis.value_or(QString());
        z.textx = gespiegelt(z.text);
        z.hint = satzhinweis(m.satz, false);
        z.hintx = satzhinweis(m.satz, true);
        break;
    case MatchState::Open:
        z.tag = spielmoeglich(m.gruppe, m.SID1, m.SID2) ? StateTag::Playable : StateTag::Waiting;
        break;
    }
    return z;
}

void Spielbetrieb::statusladen() {
    if (daten_.info.isTeam()) {
        team_statusladen();
        return;
    }
    const QVector<SpielplanRow> matches = matchrecord::matchesOfClass(db_, kid_);
    // Everything a called or started match holds leaves the lists before any open match is judged, so
    // an open match numbered before it is never shown playable on a table that is taken.
    for (const SpielplanRow& m : matches) {
        const MatchState st = stateOf(m);
        if (st != MatchState::Called && st != MatchState::Started) continue;
        if (m.gruppe >= 0 && listen_.exists(Freilisten::sliste(m.gruppe))) {
            listen_.entfernen(Freilisten::sliste(m.gruppe), QString::number(m.SID1));
            listen_.entfernen(Freilisten::sliste(m.gruppe), QString::number(m.SID2));
        }
        if (m.schiri) listen_.entfernen(Freilisten::schiri, *m.schiri);
        if (m.an_platte)
            for (const QString& l : listen_.allePlattenlisten())
                listen_.entfernen(l, *m.an_platte);
        for (const QString& l : listen_.alleSpielerlisten()) {
            listen_.entfernen(l, QString::number(m.SID1));
            listen_.entfernen(l, QString::number(m.SID2));
        }
    }
    for (const SpielplanRow& m : matches) {
        zellen_[m.spielnummer] = zelleFuer(m);
        if (stateOf(m) != MatchState::Open) turniergoEnabled_ = false;
    }
}

void Spielbetrieb::team_statusladen() {
    const QVector<SpielplanRow> matches = matchrecord::matchesOfClass(db_, kid_);
    QMap<int, QVector<TeamspielRow>> rubbers;
    for (const TeamspielRow& r : matchrecord::rubbersOfClass(db_, kid_))
        rubbers[r.spielnummer] << r;
    // As for single matches, everything a running team match holds leaves the lists before any open
    // match is judged. Its umpires leave too, so a redraw does not offer an umpire who is at a table.
    for (const SpielplanRow& m : matches) {
        const MatchState st = stateOf(m);
        if (st != MatchState::Called && st != MatchState::Started) continue;
        for (const QString& l : listen_.alleSpielerlisten()) {
            listen_.entfernen(l, QString::number(m.SID1));
            listen_.entfernen(l, QString::number(m.SID2));
        }
        QStringList platten;
        if (m.an_platte) platten << *m.an_platte;
        if (m.schiri) listen_.entfernen(Freilisten::schiri, *m.schiri);
        for (const TeamspielRow& r : rubbers.value(m.spielnummer)) {
            if (r.geplanter_tisch) platten << *r.geplanter_tisch;
            if (r.schiri) listen_.entfernen(Freilisten::schiri, *r.schiri);
        }
        for (const QString& p : platten)
            for (const QString& l : listen_.allePlattenlisten())
                listen_.entfernen(l, p);
    }
    for (const SpielplanRow& m : matches) {
        Statuszelle z = zelleFuer(m);
        z.hint.clear();
        z.hintx.clear();
        zellen_[m.spielnummer] = z;
        if (stateOf(m) != MatchState::Open) turniergoEnabled_ = false;
    }
}

void Spielbetrieb::planupdate() {
    const Rows rows = db_.select(QStringLiteral("Select phase,spielnummer,SID1,SID2,gruppe FROM spielplan where KID=:ID "
                                                "AND in_planung=0 AND begonnen=0 AND beendet=0 order by spielnummer"),
                                 {{QStringLiteral(":ID"), kid_}});
    for (const Row& r : rows) {
        const int gruppe = r.integer(u"gruppe");
        const QString sl = listen_.spielerliste(gruppe);
        const bool keinTisch = listen_.liste(listen_.plattenliste(gruppe)).isEmpty();
        const bool spielerFehlt = !listen_.enthaelt(sl, r.text(u"SID1")) || !listen_.enthaelt(sl, r.text(u"SID2"));
        if (keinTisch || spielerFehlt) zellen_[r.integer(u"spielnummer")].tag = StateTag::Waiting;
    }
}

namespace {

struct OffenesSpiel {
    int snr, phase, sid1, sid2, gruppe;
    bool nieSpielbar; // a bye, or a side that no result will ever fill
};

QVector<OffenesSpiel> offeneSpiele(Tdb_procedures& db, int kid) {
    QVector<OffenesSpiel> out;
    const Rows rows = db.select(
        QStringLiteral("Select spielnummer,phase,spieler1,spieler2,SID1,SID2,gruppe from spielplan where KID=:ID AND "
                       "in_planung=0 AND begonnen=0 AND beendet=0 ORDER BY spielnummer"),
        {{QStringLiteral(":ID"), kid}});
    for (const Row& r : rows) {
        const int s1 = r.integer(u"SID1"), s2 = r.integer(u"SID2");
        const bool nie = s1 == kSeiteFreilos || s2 == kSeiteFreilos || r.text(u"spieler1").isEmpty() ||
                         r.text(u"spieler2").isEmpty();
        out.append({r.integer(u"spielnummer"), r.integer(u"phase"), s1, s2, r.integer(u"gruppe"), nie});
    }
    return out;
}

} // namespace

std::optional<int> Spielbetrieb::naechstesAngebot(int phase, int nach) const {
    for (const OffenesSpiel& s : offeneSpiele(db_, kid_)) {
        // A match that can never be played stays open for good; it must not hold up the offers of the
        // phases after it.
        if (s.nieSpielbar) continue;
        if (s.phase != phase) return std::nullopt;
        if (s.snr <= nach) continue;
        if (spielmoeglich(s.gruppe, s.sid1, s.sid2)) return s.snr;
    }
    return std::nullopt;
}

QVector<int> Spielbetrieb::possiblegames(int phase) const {
    QVector<int> out;
    for (const OffenesSpiel& s : offeneSpiele(db_, kid_)) {
        if (s.nieSpielbar) continue;
        if (s.phase != phase) break;
        if (spielmoeglich(s.gruppe, s.sid1, s.sid2)) out << s.snr;
    }
    return out;
}

void Spielbetrieb::possiblegames(int phase, const Anbieter& anbieten) {
    for (std::optional<int> s = naechstesAngebot(phase, 0); s; s = naechstesAngebot(phase, *s))
        if (!anbieten(*s)) return;
}

bool Spielbetrieb::turniergo(const Anbieter& anbieten) {
    if (!turniergoEnabled_) return false;
    for (const SpielplanRow& m : matchrecord::matchesOfPhase(db_, kid_, 1))
        if (!m.spieler1.isEmpty() && !m.spieler2.isEmpty() && zellen_[m.spielnummer].tag == StateTag::Waiting)
            zellen_[m.spielnummer].tag = StateTag::Playable;
    possiblegames(1, anbieten);
    planupdate();
    turniergoEnabled_ = false;
    sp_info_.append(kTurnierGestartet);
    while (sp_info_.size() > kInfoZeilen)
        sp_info_.removeLast();
    timerEnabled_ = true;
    return true;
}

void Spielbetrieb::Timer1Timer() {
    if (!timerEnabled_) return;
    const QDateTime t = clock_.now().addSecs(-5 * 60);
    auto vorher = [&](const QDateTime& d) { return !d.isValid() || d < t; };
    auto da = [](const QDateTime& d) { return d.isValid(); };
    auto zeile = [&](const QString& s) {
        sp_info_.prepend(s);
        while (sp_info_.size() > kInfoZeilen)
            sp_info_.removeLast();
    };
    const QString sp = QStringLiteral("Spielaufruf vor 5 Minuten: ");
    const QString sch = QStringLiteral("Schiedsrichteraufruf vor 5 Minuten: ");
    for (const SpielplanRow& m : matchrecord::matchesOfClass(db_, kid_)) {
        if (!m.in_planung) continue;
        const bool hatSchiri = m.schiri && !m.schiri->isEmpty();
        const QString schiri = m.schiri.value_or(QString());
        if (vorher(m.aufruf1_sp1) && !da(m.aufruf2_sp1) && !da(m.aufruf3_sp1)) zeile("- 1." + sp + m.spieler1);
        if (vorher(m.aufruf1_sp2) && !da(m.aufruf2_sp2) && !da(m.aufruf3_sp2)) zeile("- 1." + sp + m.spieler2);
        if (vorher(m.aufruf1_sch) && hatSchiri && !da(m.aufruf2_sch) && !da(m.aufruf3_sch)) zeile("- 1." + sch + schiri);
        if (vorher(m.aufruf2_sp1) && da(m.aufruf2_sp1) && da(m.aufruf1_sp1) && !da(m.aufruf3_sp1))
            zeile("- 2." + sp + m.spieler1);
        if (vorher(m.aufruf2_sp2) && da(m.aufruf2_sp2) && da(m.aufruf1_sp2) && !da(m.aufruf3_sp2))
            zeile("- 2." + sp + m.spieler2);
        if (vorher(m.aufruf2_sch) && da(m.aufruf2_sch) && hatSchiri && da(m.aufruf1_sch) && !da(m.aufruf3_sch))
            zeile("- 2." + sch + schiri);
        if (vorher(m.aufruf3_sp1) && da(m.aufruf3_sp1) && da(m.aufruf2_sp1) && da(m.aufruf1_sp1))
            zeile("- 3." + sp + m.spieler1);
        if (vorher(m.aufruf3_sp2) && da(m.aufruf3_sp2) && da(m.aufruf2_sp2) && da(m.aufruf1_sp2))
            zeile("- 3." + sp + m.spieler2);
        if (vorher(m.aufruf3_sch) && da(m.aufruf3_sch) && hatSchiri && da(m.aufruf2_sch) && da(m.aufruf1_sch))
            zeile("- 3." + sch + schiri);
    }
}

int Spielbetrieb::plattensystem(int gruppe) {
    if (gruppe < 0) return 0;
    return db_.selectOne(QStringLiteral("SELECT plattensystem FROM Gruppen WHERE KID=:ID AND GID=:gid"),
                         {{QStringLiteral(":ID"), kid_}, {QStringLiteral(":gid"), gruppe}})
        .integer(u"plattensystem");
}

bool Spielbetrieb::plattencheck(const QString& platte) {
    return !db_.select(QStringLiteral("SELECT platte FROM Platten1 WHERE KID=:ID AND platte=:p"),
                       {{QStringLiteral(":ID"), kid_}, {QStringLiteral(":p"), platte}})
                .isEmpty();
}

void Spielbetrieb::platteZurueck(const QString& platte, int gruppe) {
    if (platte.isEmpty()) return;
    if (plattensystem(gruppe) == 1) {
        listen_.hinzufuegen(listen_.plattenliste(gruppe), platte);
        return;
    }
    for (const QString& l : listen_.allePlattenlisten())
        listen_.hinzufuegen(l, platte);
}

void Spielbetrieb::zurueckNachAufruf(const SpielplanRow& m) {
    // A table typed by hand on a manual start was never in a list.
    if (!m.manuell && m.an_platte) platteZurueck(*m.an_platte, m.gruppe);
    for (const int sid : {m.SID1, m.SID2}) {
        if (m.gruppe >= 0) listen_.hinzufuegen(Freilisten::sliste(m.gruppe), QString::number(sid));
        listen_.hinzufuegen(Freilisten::allespieler, QString::number(sid));
    }
    if (m.schiri && listen_.istSchiri(*m.schiri)) listen_.hinzufuegen(Freilisten::schiri, *m.schiri);
    if (!daten_.info.isTeam()) return;
    // The rubbers of a team match: their tables when they belong to the class, their umpires when they
    // are umpires of the class.
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db_, kid_, m.spielnummer)) {
        if (r.geplanter_tisch && !r.geplanter_tisch->isEmpty() && plattencheck(*r.geplanter_tisch))
            platteZurueck(*r.geplanter_tisch, m.gruppe);
        if (r.schiri && listen_.istSchiri(*r.schiri)) listen_.hinzufuegen(Freilisten::schiri, *r.schiri);
    }
}

bool Spielbetrieb::spielZuruecksetzen(int snr, Ergebnisverarbeitung& ev) {
    const std::optional<SpielplanRow> m = matchrecord::readMatch(db_, kid_, snr);
    const MatchState st = m ? stateOf(*m) : MatchState::Open;
    switch (st) {
    case MatchState::Open:
        ui_.information(kNichtZuruecksetzen);
        statusladen();
        return false;
    case MatchState::Called:
        matchrecord::resetCalledToOpen(db_, kid_, snr);
        zellen_[snr].tag = StateTag::Waiting;
        zurueckNachAufruf(*m);
        statusladen();
        return true;
    case MatchState::Started:
        matchrecord::resetStartedToCalled(db_, kid_, snr);
        zellen_[snr].tag = StateTag::Called;
        statusladen();
        return true;
    case MatchState::Finished:
        if (!ui_.askOkCancel(kMehrereSpiele)) return false;
        if (!ev.db_zuruecksetzen(kid_, snr, true).geschrieben) return false;
        // Everything the result had filled is withdrawn: the plans and their lists are built anew.
        planshow();
        statusladen();
        return true;
    }
    return false;
}

bool Spielbetrieb::mauellStartbar(int snr) {
    const std::optional<SpielplanRow> m = matchrecord::readMatch(db_, kid_, snr);
    if (m && hasBothSides(*m)) return true;
    ui_.error(kNichtStartbar, Interaction::Button::Ok);
    return false;
}

Dialogmodus modusFuer(StateTag tag) {
    switch (tag) {
    case StateTag::Waiting:
        return Dialogmodus::Uebernehmen;
    case StateTag::Playable:
        return Dialogmodus::Aufrufen;
    case StateTag::Called:
        return Dialogmodus::SpielStarten;
    case StateTag::Started:
        return Dialogmodus::SpielBeendet;
    case StateTag::Finished:
        return Dialogmodus::Korrigieren;
    }
    return Dialogmodus::Uebernehmen;
}

QString okCaption(Dialogmodus m) {
    switch (m) {
    case Dialogmodus::Uebernehmen:
        return QStringLiteral("Übernehmen");
    case Dialogmodus::Aufrufen:
        return QStringLiteral("Aufrufen");
    case Dialogmodus::SpielStarten:
        return QStringLiteral("Spiel starten");
    case Dialogmodus::SpielBeendet:
        return QStringLiteral("Spiel beendet");
    case Dialogmodus::Korrigieren:
        return QStringLiteral("Korrigieren");
    }
    return {};
}
