#include "results/tergebnis_team_model.h"

#include "common/clock.h"
#include "common/interaction.h"
#include "draw/teamsystem.h"
#include "results/ergebnisverarbeitung.h"
#include "results/satznotation.h"
#include "results/schirizettel.h"
#include "store/db_procedures.h"

#include <QVariant>
#include <algorithm>

namespace {

QVariant textOderNull(const QString& text) {
    const QString t = text.trimmed();
    return t.isEmpty() ? QVariant() : QVariant(t);
}

// A player in a line-up box: "Nachname, V.".
QString kurzname(Tdb_procedures& db, int sid) {
    const Row r = db.selectOne(QStringLiteral("SELECT nachname,vorname FROm Spielerdaten WHERE SID=:ID"),
                               {{QStringLiteral(":ID"), sid}});
    if (r.isEmpty()) return {};
    const QString vorname = r.text(u"vorname").trimmed();
    return vorname.isEmpty() ? r.text(u"nachname")
                             : r.text(u"nachname") + QStringLiteral(", ") + vorname.left(1) + u'.';
}

void einmal(QStringList& l, const QString& s) {
    if (!s.isEmpty() && !l.contains(s)) l << s;
}

} // namespace

Tergebnis_team::Tergebnis_team(Spielbetrieb& sb, Ergebnisverarbeitung& ev) : sb_(sb), ev_(ev) {}

int Tergebnis_team::seite() const {
    return dialogseite(modus);
}

Dialogmodus Tergebnis_team::statusClick(int nr) {
    return schrittOeffnen(*this, nr, sb_.zelle(nr).tag, false);
}

std::optional<SpielplanRow> Tergebnis_team::vorbereiten(int nr, Dialogmodus m) {
    const std::optional<SpielplanRow> row = matchrecord::readMatch(sb_.db(), sb_.kid(), nr);
    const Klasseninfo& info = sb_.daten().info;
    modus = m;
    snr = nr;
    manuell = 0;
    next = next1 = true;
    next1Visible = m == Dialogmodus::Aufrufen;
    ergItems = satznotation::ergebnisliste(info.saetze);
    satzFelder = 2 * info.saetze - 1;
    teamgroesse = info.teamgroesse > 0 ? std::min(info.teamgroesse, 4) : 4;
    ergebniscombo.clear();
    schiripool = false;
    aufruf.fill(false);
    aufrufHinweis.fill(QString());
    const bool planung = m == Dialogmodus::Uebernehmen || m == Dialogmodus::Aufrufen;
    tischEnabled = schiriEnabled = planung;
    druckenEnabled = m != Dialogmodus::SpielStarten;
    schiripoolEnabled = m == Dialogmodus::SpielBeendet || m == Dialogmodus::Korrigieren;
    if (!row) {
        rubberAnzahl = 0;
        return row;
    }
    gruppetemp = row->gruppe;
    gruppeLabel = row->gruppe >= 0 ? QStringLiteral("Gruppe : ") + QChar(u'A' + row->gruppe)
                                   : QStringLiteral("Gruppe :");
    mid1 = row->SID1;
    mid2 = row->SID2;
    team1 = row->spieler1;
    team2 = row->spieler2;
    teamspielplanen(nr, m == Dialogmodus::Aufrufen);
    ergebnisItems = satznotation::teamErgebnisliste(rubberAnzahl);
    return row;
}

void Tergebnis_team::teamspielplanen(int nr, bool freieListen) {
    Tdb_procedures& db = sb_.db();
    const int kid = sb_.kid();
    const Klasseninfo& info = sb_.daten().info;
    const TeamSystem ts = teamsystem::laden(db, kid);

    // What every rubber row offers: the tables of the match's group and the class's umpires, or in a
    // call what of them is free.
    QStringList tische, schiris;
    if (freieListen) {
        tische = sb_.listen().liste(sb_.listen().plattenliste(gruppetemp));
        schiris = sb_.listen().liste(Freilisten::schiri);
    } else {
        for (const Row& r : db.select(QStringLiteral("SELECT platte FROM Platten WHERE KID=:ID AND GID=:g"),
                                      {{QStringLiteral(":ID"), kid}, {QStringLiteral(":g"), gruppetemp}}))
            tische << r.text(u"platte");
        for (const Row& r : db.select(
                 QStringLiteral("SELECT snname,svname FROM Schiri AS s INNER JOIN Schiri_im_turnier AS st "
                                "ON (s.SCHIRIID=st.SCHIRIID AND st.KID=:ID)"),
                 {{QStringLiteral(":ID"), kid}}))
            schiris << r.text(u"snname") + QStringLiteral(", ") + r.text(u"svname");
    }

    const QDate starttag = info.atag.isValid() ? info.atag : sb_.clock().today();
    const QString startzeit = info.uhrzeit > 0
                                  ? QTime(0, 0).addSecs(info.uhrzeit * 60).toString(QStringLiteral("hh:mm"))
                                  : QString();
    for (int n = 0; n < kRubbers; ++n) {
        Zeile& z = zeilen[n];
        z = Zeile{};
        z.tag = starttag;
        z.zeit = startzeit;
        z.tischItems = tische;
        z.schiriItems = schiris;
        const TeamRubber& r = ts.spiele[n];
        z.p1 = r.a;
        z.p2 = r.b;
        z.spiel = QStringLiteral("Spiel %1: ").arg(n + 1) +
                  teamsystem::codeText(r.a.value_or(0), teamsystem::Seite::A) + QStringLiteral(" - ") +
                  teamsystem::codeText(r.b.value_or(0), teamsystem::Seite::B);
    }

    rubberAnzahl = 0;
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db, kid, nr)) {
        if (r.nummer < 1 || r.nummer > kRubbers) continue;
        rubberAnzahl = std::max(rubberAnzahl, r.nummer);
        Zeile& z = zeilen[r.nummer - 1];
        if (r.geplanter_tag.isValid()) z.tag = r.geplanter_tag;
        if (r.geplante_zeit.isValid()) z.zeit = hhmm(r.geplante_zeit);
        z.tisch = r.geplanter_tisch.value_or(QString());
        z.schiri = r.schiri.value_or(QString());
        // A call offers only what is free; a table taken elsewhere is not kept.
        if (freieListen && !z.tischItems.contains(z.tisch)) z.tisch.clear();
        if (freieListen && !z.schiriItems.contains(z.schiri)) z.schiri.clear();
        // As the single-match dialog, an empty table box starts at the first table offered.
        if (z.tisch.isEmpty() && !z.tischItems.isEmpty() &&
            (freieListen || modus == Dialogmodus::Uebernehmen))
            z.tisch = z.tischItems.first();
    }

    team1laden(mid1);
    team2laden(mid2);
}

void Tergebnis_team::team1laden(int mid) {
    teamladen(0, mid);
}

void Tergebnis_team::team2laden(int mid) {
    teamladen(1, mid);
}

void Tergebnis_team::teamladen(int t, int mid) {
    Aufstellung& a = aufstellung[t];
    a = Aufstellung{};
    if (mid <= 0) return;
    Tdb_procedures& db = sb_.db();
    const Row team = db.selectOne(QStringLiteral("SELECT * FROM Teams WHERE KID=:ID AND MID=:MID"),
                                  {{QStringLiteral(":ID"), sb_.kid()}, {QStringLiteral(":MID"), mid}});
    if (team.isEmpty()) return;
    for (int k = 1; k <= 4; ++k) {
        const int sid = team.integer(QStringLiteral("s%1").arg(k));
        if (sid <= 0) continue;
        a.einzel[k - 1] = kurzname(db, sid);
        einmal(a.einzelItems, a.einzel[k - 1]);
    }
    for (const char* r : {"r1", "r2"})
        if (const int sid = team.integer(QString::fromLatin1(r)); sid > 0)
            einmal(a.einzelItems, kurzname(db, sid));
    for (int i = 1; i <= 2; ++i) {
        QStringList paar;
        for (int j = 1; j <= 2; ++j)
            if (const int sid = team.integer(QStringLiteral("d%1_%2").arg(i).arg(j)); sid > 0)
                paar << kurzname(db, sid);
        a.doppel[i - 1] = paar.join(QStringLiteral(" / "));
        einmal(a.doppelItems, a.doppel[i - 1]);
    }
    // The line-up chosen before is shown again.
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db, sb_.kid(), snr)) {
        const std::optional<QString>& sbez = t == 0 ? r.sbez1 : r.sbez2;
        if (!sbez) continue;
        if (QString* box = aufstellungBox(t, t == 0 ? r.p1 : r.p2)) *box = *sbez;
    }
}

QString* Tergebnis_team::aufstellungBox(int t, std::optional<int> p) {
    if (!p || t < 0 || t > 1) return nullptr;
    Aufstellung& a = aufstellung[t];
    if (*p >= 1 && *p <= 4) return &a.einzel[*p - 1];
    if (*p == teamsystem::kDoppel1) return &a.doppel[0];
    // The team system stores the second pair as 12; its box is called `spielerc21` / `spielerd21`.
    if (*p == teamsystem::kDoppel2 || *p == 21) return &a.doppel[1];
    return nullptr;
}

QString Tergebnis_team::aufstellungText(int t, std::optional<int> p) const {
    QString* box = const_cast<Tergebnis_team*>(this)->aufstellungBox(t, p);
    return box ? box->trimmed() : QString();
}

void Tergebnis_team::spielplanen(int nr) {
    vorbereiten(nr, Dialogmodus::Uebernehmen);
}

void Tergebnis_team::spielaufrufen1(int nr) {
    vorbereiten(nr, Dialogmodus::Aufrufen);
}

bool Tergebnis_team::spielMauellStarten(int nr) {
    if (!sb_.mauellStartbar(nr)) return false;
    spielaufrufen1(nr);
    manuell = 1;
    return true;
}

void Tergebnis_team::spielaufgerufen(int nr) {
    const std::optional<SpielplanRow> m = vorbereiten(nr, Dialogmodus::SpielStarten);
    if (!m) return;
    const std::array<QDateTime, 6> zeiten = aufrufzeiten(*m);
    for (int i = 0; i < 6; ++i) {
        aufruf[i] = zeiten[i].isValid();
        aufrufHinweis[i] = aufrufHinweisText(zeiten[i]);
    }
}

void Tergebnis_team::spielstarten(int nr, bool) {
    vorbereiten(nr, Dialogmodus::SpielBeendet);
}

void Tergebnis_team::spielbeendet(int nr) {
    const std::optional<SpielplanRow> m = vorbereiten(nr, Dialogmodus::Korrigieren);
    if (!m) return;
    ergebniscombo = m->ergebnis.value_or(QString());
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(sb_.db(), sb_.kid(), nr)) {
        if (r.nummer < 1 || r.nummer > kRubbers) continue;
        Zeile& z = zeilen[r.nummer - 1];
        z.erg = r.ergebnis.value_or(QString());
        const auto e = satznotation::endergebnis(z.erg);
        z.satzAktiv = e ? std::min(e->a + e->b, satzFelder) : 0;
        for (int k = 0; k < 9; ++k)
            z.satz[k] = satznotation::text(r.satz[k]);
    }
}

void Tergebnis_team::rubberErgebnisGewaehlt(int n, const QString& text) {
    if (n < 0 || n >= kRubbers) return;
    Zeile& z = zeilen[n];
    z.erg = text;
    if (!ergItems.contains(text)) return;
    z.satz.fill(QString());
    const auto e = satznotation::endergebnis(text);
    z.satzAktiv = e ? std::min(e->a + e->b, satzFelder) : 0;
}

bool Tergebnis_team::satzVerlassen(int n, int k) {
    if (n < 0 || n >= kRubbers || k < 0 || k >= 9) return true;
    QString& satz = zeilen[n].satz[k];
    if (satznotation::lesen(satz).gueltig) return true;
    sb_.ui().warning(Tergebnis::kKeinWert, Interaction::Button::Cancel);
    satz.clear();
    return false;
}

bool Tergebnis_team::zeitVerlassen(int n) {
    if (n < 0 || n >= kRubbers) return true;
    QString& zeit = zeilen[n].zeit;
    if (zeit.trimmed().isEmpty() || uhrzeit(zeit).isValid()) return true;
    sb_.ui().warning(Tergebnis::kUngueltigeZeit);
    zeit.clear();
    return false;
}

void Tergebnis_team::aufrufGeklickt(matchrecord::Recall which, bool checked) {
    const QDateTime at = checked ? sb_.clock().now() : QDateTime();
    matchrecord::recordRecall(sb_.db(), sb_.kid(), snr, which, at);
    const int i = int(which);
    if (i < 0 || i >= 6) return;
    aufruf[i] = checked;
    aufrufHinweis[i] = aufrufHinweisText(at);
}

void Tergebnis_team::drucken(Druckziel ziel) {
    // The slips print the line-up and tables of the boxes: they are stored first.
    db_teamplanen(0);
    schirizettel::drucken(sb_.ui(), sb_.db(), sb_.kid(), snr, ziel);
}

bool Tergebnis_team::plattencheck(const QString& text) {
    return sb_.plattencheck(text);
}

void Tergebnis_team::db_teamplanen(int mode) {
    Tdb_procedures& db = sb_.db();
    const int kid = sb_.kid();
    const Params match{{QStringLiteral(":ID"), kid}, {QStringLiteral(":nr"), snr}};
    const int anzahl =
        db.selectOne(
              QStringLiteral("SELECT MAX(nummer) AS m FROM Teamspiele WHERE KID=:ID AND spielnummer=:nr"),
              match)
            .integer(u"m");
    const Row erster =
        db.selectOne(QStringLiteral("SELECT SID1,SID2,spieler1,spieler2 FROM Teamspiele WHERE "
                                    "KID=:ID AND spielnummer=:nr AND nummer=:n"),
                     {{QStringLiteral(":ID"), kid}, {QStringLiteral(":nr"), snr}, {QStringLiteral(":n"), 1}});
    const TeamSystem ts = teamsystem::laden(db, kid);
    const QString sql =
        QStringLiteral(
            "UPDATE Teamspiele SET schiri=:s,geplanter_tisch=:d1,geplanter_tag=:d2,geplante_zeit=:d3,"
            "spieler1=:d4,spieler2=:d5,SID1=:d6,SID2=:d7,sbez1=:sb1,sbez2=:sb2,p1=:p1,p2=:p2") +
        (mode == 1 ? QStringLiteral(",an_platte=:d0") : QString()) +
        QStringLiteral(" WHERE spielnummer=:snr AND KID=:ID AND nummer=:nr");
    for (int n = 1; n <= std::min(anzahl, int(kRubbers)); ++n) {
        const Zeile& z = zeilen[n - 1];
        const TeamRubber& r = ts.spiele[n - 1];
        const auto code = [](const std::optional<int>& c) { return c ? QVariant(*c) : QVariant(); };
        Params p{{QStringLiteral(":s"), textOderNull(z.schiri)},
                 {QStringLiteral(":d1"), textOderNull(z.tisch)},
                 {QStringLiteral(":d2"), z.tag.isValid() ? QVariant(z.tag) : QVariant()},
                 {QStringLiteral(":d3"),
                  geplanteZeitAus(z.zeit).isValid() ? QVariant(geplanteZeitAus(z.zeit)) : QVariant()},
                 {QStringLiteral(":d4"), erster.text(u"spieler1")},
                 {QStringLiteral(":d5"), erster.text(u"spieler2")},
                 {QStringLiteral(":d6"), -1},
                 {QStringLiteral(":d7"), -1},
                 {QStringLiteral(":sb1"), textOderNull(aufstellungText(0, r.a))},
                 {QStringLiteral(":sb2"), textOderNull(aufstellungText(1, r.b))},
                 {QStringLiteral(":p1"), code(r.a)},
                 {QStringLiteral(":p2"), code(r.b)},
                 {QStringLiteral(":snr"), snr},
                 {QStringLiteral(":ID"), kid},
                 {QStringLiteral(":nr"), n}};
        if (mode == 1) p.append({QStringLiteral(":d0"), textOderNull(z.tisch)});
        db.exec(sql, p);
    }
}

bool Tergebnis_team::tischePruefen() {
    for (int n = 0; n < rubberAnzahl; ++n)
        if (!zeilen[n].tischItems.contains(zeilen[n].tisch)) return false;
    return true;
}

QStringList Tergebnis_team::gezeigteTische() const {
    QStringList out;
    for (int n = 0; n < rubberAnzahl; ++n)
        einmal(out, zeilen[n].tisch.trimmed());
    return out;
}

Tergebnis_team::Ausgang Tergebnis_team::okClick() {
    Ausgang a;
    Tdb_procedures& db = sb_.db();
    Freilisten& l = sb_.listen();
    const int kid = sb_.kid();
    const std::optional<SpielplanRow> m = matchrecord::readMatch(db, kid, snr);
    if (!m) return a;

    switch (modus) {
    case Dialogmodus::Uebernehmen: {
        if (!tischePruefen()) {
            sb_.ui().warning(Tergebnis::kUngueltigePlatte);
            return a;
        }
        Transaction t(db);
        db_teamplanen(0);
        t.commit();
        break;
    }
    case Dialogmodus::Aufrufen: {
        if (!manuell && !tischePruefen()) {
            sb_.ui().warning(Tergebnis::kUngueltigePlatte);
            return a;
        }
        {
            // The team match row carries the table and umpire of its first rubber: the reminders and the
            // lists name them.
            Transaction t(db);
            db_teamplanen(1);
            const Zeile& erste = zeilen[0];
            matchrecord::call(db, kid, snr, sb_.clock().now(),
                              rubberAnzahl > 0 ? erste.tisch.trimmed() : QString(),
                              rubberAnzahl > 0 ? erste.schiri.trimmed() : QString(), manuell != 0);
            t.commit();
        }
        for (const QString& tisch : gezeigteTische())
            for (const QString& name : l.allePlattenlisten())
                l.entfernen(name, tisch);
        for (int n = 0; n < rubberAnzahl; ++n)
            if (!zeilen[n].schiri.trimmed().isEmpty())
                l.entfernen(Freilisten::schiri, zeilen[n].schiri.trimmed());
        const QString sl = l.spielerliste(m->gruppe);
        l.entfernen(sl, QString::number(mid1));
        l.entfernen(sl, QString::number(mid2));
        sb_.setTag(snr, StateTag::Called);
        sb_.planupdate();
        break;
    }
    case Dialogmodus::SpielStarten: {
        Transaction t(db);
        db_teamplanen(1);
        matchrecord::start(db, kid, snr, sb_.clock().now());
        t.commit();
        sb_.setTag(snr, StateTag::Started);
        break;
    }
    case Dialogmodus::SpielBeendet:
    case Dialogmodus::Korrigieren: {
        if (!ergebnisItems.contains(ergebniscombo)) {
            sb_.ui().warning(satznotation::kUngueltigesSpielergebnis);
            return a;
        }
        ErgebnisEingabe e;
        e.kid = kid;
        e.snr = snr;
        e.ergebnis = ergebniscombo;
        e.schiripool = schiripool;
        e.jetzt = sb_.clock().now();
        for (int n = 0; n < rubberAnzahl; ++n) {
            RubberErgebnis r{zeilen[n].erg.trimmed(), {}};
            // The sets are read only as far as the fields in use reach.
            for (int k = 0; k < 9; ++k)
                r.saetze << (k < satzFelder ? zeilen[n].satz[k] : QString());
            e.rubbers << r;
        }
        const bool korrektur = modus == Dialogmodus::Korrigieren;
        const Beendet b = korrektur ? ev_.korrigieren(e) : ev_.db_beendet(e);
        if (!b.geschrieben) return a;
        // The database holds the result: only now do teams, tables and umpires become free again.
        if (!korrektur) freigeben(b);
        if (korrektur || b.gruppeBeendet || b.phaseBeendet) {
            sb_.planshow();
            a.neuGezeichnet = true;
        }
        sb_.statusladen();
        if (next) a.angebotePhase = b.phase;
        break;
    }
    }
    a.geschlossen = true;
    return a;
}

void Tergebnis_team::freigeben(const Beendet& b) {
    Freilisten& l = sb_.listen();
    Tergebnis::freigeben(l, b);
    for (const TeamspielRow& r : matchrecord::rubbersOfMatch(sb_.db(), sb_.kid(), b.snr)) {
        const QString schiri = r.schiri.value_or(QString()).trimmed();
        if (!schiri.isEmpty() && l.istSchiri(schiri)) l.hinzufuegen(Freilisten::schiri, schiri);
        // A table typed into a rubber row that is none of the class's never was in a list.
        const QString tisch = r.geplanter_tisch.value_or(QString()).trimmed();
        if (!tisch.isEmpty() && plattencheck(tisch)) sb_.platteZurueck(tisch, b.gruppe);
    }
}
