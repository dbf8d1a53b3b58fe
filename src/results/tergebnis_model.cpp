#include "results/tergebnis_model.h"

#include "common/clock.h"
#include "common/interaction.h"
#include "results/ergebnisverarbeitung.h"
#include "results/satznotation.h"
#include "results/schirizettel.h"
#include "store/db_procedures.h"

#include <QRegularExpression>

const QString Tergebnis::kUngueltigePlatte = QStringLiteral("Wählen Sie eine gültige Platte");
const QString Tergebnis::kKeinWert = QStringLiteral("Keinen korrekten Wert eingegeben");
const QString Tergebnis::kUngueltigeZeit = QStringLiteral("Geben Sie eine gültige Uhrzeit ein");
const QStringList Tergebnis::kSeiten = {QStringLiteral("Spielplanung"), QStringLiteral("Spiel aufgerufen"),
                                        QStringLiteral("Fertig")};

QTime uhrzeit(const QString& text) {
    const QString t = text.trimmed();
    for (const char* f : {"h:mm", "hh:mm", "h:mm:ss", "hh:mm:ss"}) {
        const QTime z = QTime::fromString(t, QString::fromLatin1(f));
        if (z.isValid()) return z;
    }
    return {};
}

QDateTime geplanteZeitAus(const QString& text) {
    const QTime z = uhrzeit(text);
    // Only the time of day counts; the day is the planned day.
    return z.isValid() ? QDateTime(QDate(1899, 12, 30), z) : QDateTime();
}

QString hhmm(const QDateTime& d) {
    return d.isValid() ? d.time().toString(QStringLiteral("hh:mm")) : QString();
}

namespace {

const matchrecord::Recall kRecalls[6] = {matchrecord::Recall::aufruf2_sp1, matchrecord::Recall::aufruf2_sp2,
                                         matchrecord::Recall::aufruf2_sch, matchrecord::Recall::aufruf3_sp1,
                                         matchrecord::Recall::aufruf3_sp2, matchrecord::Recall::aufruf3_sch};

} // namespace

Tergebnis::Tergebnis(Spielbetrieb& sb, Ergebnisverarbeitung& ev) : sb_(sb), ev_(ev) {}

int dialogseite(Dialogmodus modus) {
    switch (modus) {
    case Dialogmodus::Uebernehmen:
    case Dialogmodus::Aufrufen:
        return 0;
    case Dialogmodus::SpielStarten:
        return 1;
    case Dialogmodus::SpielBeendet:
    case Dialogmodus::Korrigieren:
        return 2;
    }
    return 0;
}

int Tergebnis::seite() const {
    return dialogseite(modus);
}

std::array<QDateTime, 6> aufrufzeiten(const SpielplanRow& m) {
    return {m.aufruf2_sp1, m.aufruf2_sp2, m.aufruf2_sch, m.aufruf3_sp1, m.aufruf3_sp2, m.aufruf3_sch};
}

QString aufrufHinweisText(const QDateTime& t) {
    return t.isValid() ? t.toString(QStringLiteral("dd.MM.yyyy hh:mm:ss")) : QString();
}

Dialogmodus Tergebnis::statusClick(int snr, bool gespiegelt) {
    return schrittOeffnen(*this, snr, sb_.zelle(snr).tag, gespiegelt);
}

std::optional<SpielplanRow> Tergebnis::vorbereiten(int nr, Dialogmodus m, bool gruppeMitLeerzeichen) {
    const std::optional<SpielplanRow> row = matchrecord::readMatch(sb_.db(), sb_.kid(), nr);
    const Klasseninfo& info = sb_.daten().info;
    modus = m;
    snr = nr;
    next = next1 = true;
    next1Visible = m == Dialogmodus::Aufrufen;
    // Showing the dialog enables its three buttons on every page: the slip is wanted most once the
    // match is called, when table and umpire are known.
    druckenEnabled = true;
    ergebnisItems = satznotation::ergebnisliste(info.saetze);
    satzFelder = 2 * info.saetze - 1;
    // The day picker always shows a day: today until a planned or start day is known.
    if (!starttag.isValid()) starttag = sb_.clock().today();
    if (!row) return row;
    gruppetemp = row->gruppe;
    spieler1Label = QStringLiteral("Spieler 1: ") + row->spieler1;
    spieler2Label = QStringLiteral("Spieler 2: ") + row->spieler2;
    if (row->gruppe >= 0)
        gruppeLabel = QStringLiteral("Gruppe : ") + QChar(u'A' + row->gruppe);
    else
        gruppeLabel = gruppeMitLeerzeichen ? QStringLiteral("Gruppe :") : QStringLiteral("Gruppe: ");
    return row;
}

void Tergebnis::spielplanen(int nr) {
    const std::optional<SpielplanRow> m = vorbereiten(nr, Dialogmodus::Uebernehmen, false);
    const Klasseninfo& info = sb_.daten().info;
    druckenEnabled = plattenEnabled = schiriEnabled = true;
    plattencombo.clear();
    schiricombo.clear();
    schiripool = schiripoolEnabled = false;
    if (info.atag.isValid()) starttag = info.atag;
    startzeit = info.uhrzeit > 0 ? QTime(0, 0).addSecs(info.uhrzeit * 60).toString(QStringLiteral("hh:mm")) : QString();
    geplanterTischLabel = QStringLiteral("Geplanter Tisch: ");
    if (!m) return;
    plattenItems.clear();
    for (const Row& r : sb_.db().select(QStringLiteral("SELECT platte FROM Platten WHERE KID=:ID AND GID=:g"),
                                        {{QStringLiteral(":ID"), sb_.kid()}, {QStringLiteral(":g"), m->gruppe}}))
        plattenItems << r.text(u"platte");
    schiriItems.clear();
    for (const Row& r : sb_.db().select(QStringLiteral("SELECT snname,svname FROM Schiri AS s INNER JOIN "
                                                       "Schiri_im_turnier AS st ON (s.SCHIRIID=st.SCHIRIID AND "
                                                       "st.KID=:ID)"),
                                        {{QStringLiteral(":ID"), sb_.kid()}}))
        schiriItems << r.text(u"snname") + QStringLiteral(", ") + r.text(u"svname");
    if (m->geplanter_tisch) plattencombo = geplanterTischLabel = *m->geplanter_tisch;
    // The scheduler plans onto any table of the tournament: the planned table is offered and accepted too.
    if (!plattencombo.isEmpty() && !plattenItems.contains(plattencombo)) plattenItems << plattencombo;
    schiricombo = m->schiri.value_or(QString());
    if (m->geplanter_tag.isValid()) starttag = m->geplanter_tag;
    startzeit = hhmm(m->geplante_zeit);
    if (plattencombo.isEmpty() && !plattenItems.isEmpty()) plattencombo = geplanterTischLabel = plattenItems.first();
}

void Tergebnis::spielaufrufen1(int nr) {
    const std::optional<SpielplanRow> m = vorbereiten(nr, Dialogmodus::Aufrufen, true);
    plattenEnabled = schiriEnabled = true;
    plattencombo.clear();
    schiricombo.clear();
    schiripoolEnabled = true;
    schiripool = false;
    manuell = 0;
    if (!m) return;
    sid1 = m->SID1;
    sid2 = m->SID2;
    // A match without a planned table must not show the one of the match called before.
    geplanterTischLabel = m->geplanter_tisch.value_or(QStringLiteral("Geplanter Tisch: "));
    if (m->geplanter_tag.isValid()) starttag = m->geplanter_tag;
    schiricombo = m->schiri.value_or(QString());
    startzeit = hhmm(m->geplante_zeit);
    plattenItems = sb_.listen().liste(sb_.listen().plattenliste(m->gruppe));
    schiriItems = sb_.listen().liste(Freilisten::schiri);
    if (m->geplanter_tisch && plattenItems.contains(*m->geplanter_tisch))
        plattencombo = *m->geplanter_tisch;
    else if (!plattenItems.isEmpty())
        plattencombo = plattenItems.first();
    platteLabel = QStringLiteral("An Tisch : ") + (plattenItems.isEmpty() ? QString() : plattenItems.first());
}

bool Tergebnis::spielMauellStarten(int nr) {
    if (!sb_.mauellStartbar(nr)) return false;
    spielaufrufen1(nr);
    manuell = 1;
    // The stored umpire is not taken over; the free umpires are offered as in any call.
    schiricombo.clear();
    return true;
}

void Tergebnis::spielaufgerufen(int nr) {
    const std::optional<SpielplanRow> m = vorbereiten(nr, Dialogmodus::SpielStarten, false);
    plattenEnabled = schiriEnabled = schiripoolEnabled = false;
    plattencombo.clear();
    schiricombo.clear();
    aufruf.fill(false);
    aufrufHinweis.fill(QString());
    if (!m) return;
    const std::array<QDateTime, 6> zeiten = aufrufzeiten(*m);
    for (int i = 0; i < 6; ++i) {
        aufruf[i] = zeiten[i].isValid();
        aufrufHinweis[i] = aufrufHinweisText(zeiten[i]);
    }
    if (m->geplanter_tag.isValid()) starttag = m->geplanter_tag;
    startzeit = hhmm(m->geplante_zeit);
    plattencombo = m->an_platte.value_or(QString());
    schiricombo = m->schiri.value_or(QString());
    platteLabel = QStringLiteral("An Tisch: ") + plattencombo;
    schiriLabel = QStringLiteral("Schiedsrichter: ") + schiricombo;
}

void Tergebnis::spielstarten(int nr, bool gespiegelt) {
    const std::optional<SpielplanRow> m = vorbereiten(nr, Dialogmodus::SpielBeendet, true);
    platteHinweis = gespiegelt ? QStringLiteral("x") : QStringLiteral("0");
    satz.fill(QString());
    ergebniscombo.clear();
    satzAktiv = 0;
    plattenEnabled = false;
    schiriEnabled = schiripoolEnabled = true;
    schiripool = false;
    plattencombo.clear();
    schiricombo.clear();
    if (!m) return;
    if (m->geplanter_tag.isValid()) starttag = m->geplanter_tag;
    schiricombo = m->schiri.value_or(QString());
    startzeit = hhmm(m->geplante_zeit);
    plattencombo = m->an_platte.value_or(QString());
    platteLabel = QStringLiteral("An Tisch: ") + plattencombo;
    schiriLabel = QStringLiteral("Schiedsrichter: ") + schiricombo;
}

void Tergebnis::spielbeendet(int nr) {
    spielstarten(nr, false);
    modus = Dialogmodus::Korrigieren;
    schiriEnabled = false;
    const std::optional<SpielplanRow> m = matchrecord::readMatch(sb_.db(), sb_.kid(), nr);
    if (!m) return;
    ergebniscombo = m->ergebnis.value_or(QString());
    if (const auto e = satznotation::endergebnis(ergebniscombo)) satzAktiv = e->a + e->b;
    for (int k = 0; k < 9; ++k)
        satz[k] = satznotation::text(m->satz[k]);
}

void Tergebnis::ergebnisGewaehlt(const QString& text) {
    ergebniscombo = text;
    if (!ergebnisItems.contains(text)) return;
    satz.fill(QString());
    const auto e = satznotation::endergebnis(text);
    satzAktiv = e ? std::min(e->a + e->b, satzFelder) : 0;
}

bool Tergebnis::satzVerlassen(int k) {
    if (k < 0 || k >= 9 || satznotation::lesen(satz[k]).gueltig) return true;
    sb_.ui().warning(kKeinWert, Interaction::Button::Cancel);
    satz[k].clear();
    return false;
}

bool Tergebnis::startzeitVerlassen() {
    if (startzeit.trimmed().isEmpty() || uhrzeit(startzeit).isValid()) return true;
    sb_.ui().warning(kUngueltigeZeit);
    startzeit.clear();
    return false;
}

void Tergebnis::jetztButton() {
    const QDateTime jetzt = sb_.clock().now();
    starttag = jetzt.date();
    startzeit = jetzt.time().toString(QStringLiteral("hh:mm"));
}

void Tergebnis::plattenGewaehlt(const QString& text) {
    plattencombo = text;
    if (modus == Dialogmodus::Aufrufen) platteLabel = QStringLiteral("An Tisch: ") + text;
    if (modus == Dialogmodus::Uebernehmen) geplanterTischLabel = text;
}

void Tergebnis::aufrufGeklickt(matchrecord::Recall which, bool checked) {
    const QDateTime at = checked ? sb_.clock().now() : QDateTime();
    matchrecord::recordRecall(sb_.db(), sb_.kid(), snr, which, at);
    for (int i = 0; i < 6; ++i)
        if (kRecalls[i] == which) {
            aufruf[i] = checked;
            aufrufHinweis[i] = aufrufHinweisText(at);
        }
}

void Tergebnis::drucken(Druckziel ziel) {
    schirizettel::drucken(sb_.ui(), sb_.db(), sb_.kid(), snr, ziel);
}

QDateTime Tergebnis::geplanteZeit() const {
    return geplanteZeitAus(startzeit);
}

void Tergebnis::db_planen(const QDateTime& zeit) {
    matchrecord::plan(sb_.db(), sb_.kid(), snr, plattencombo.trimmed(), starttag, zeit, schiricombo.trimmed());
}

QStringList Tergebnis::satzTexte() const {
    QStringList out;
    for (const QString& s : satz)
        out << s;
    return out;
}

bool Tergebnis::ergebnisPruefen() {
    // The sets are read only as far as the fields in use reach.
    QStringList texte = satzTexte();
    for (int k = satzFelder; k < 9; ++k)
        texte[k].clear();
    const QString fehler = satznotation::pruefen(ergebniscombo, ergebnisItems, texte, nullptr);
    if (fehler.isEmpty()) return true;
    sb_.ui().warning(fehler);
    return false;
}

Tergebnis::Ausgang Tergebnis::okClick() {
    Ausgang a;
    Tdb_procedures& db = sb_.db();
    Freilisten& l = sb_.listen();
    const int kid = sb_.kid();
    const std::optional<SpielplanRow> m = matchrecord::readMatch(db, kid, snr);
    if (!m) return a;

    switch (modus) {
    case Dialogmodus::Uebernehmen:
        if (!plattenItems.contains(plattencombo)) {
            sb_.ui().warning(kUngueltigePlatte);
            return a;
        }
        db_planen(geplanteZeit());
        break;
    case Dialogmodus::Aufrufen: {
        if (!manuell && !plattenItems.contains(plattencombo)) {
            sb_.ui().warning(kUngueltigePlatte);
            return a;
        }
        {
            Transaction t(db);
            db_planen(geplanteZeit());
            matchrecord::call(db, kid, snr, sb_.clock().now(), plattencombo, schiricombo,
                              !plattenItems.contains(plattencombo));
            t.commit();
        }
        for (const QString& name : l.allePlattenlisten())
            l.entfernen(name, plattencombo);
        const QString sl = l.spielerliste(m->gruppe);
        l.entfernen(sl, QString::number(sid1));
        l.entfernen(sl, QString::number(sid2));
        l.entfernen(Freilisten::schiri, schiricombo);
        sb_.setTag(snr, StateTag::Called);
        sb_.planupdate();
        break;
    }
    case Dialogmodus::SpielStarten: {
        Transaction t(db);
        db_planen(geplanteZeit());
        matchrecord::start(db, kid, snr, sb_.clock().now());
        t.commit();
        sb_.setTag(snr, StateTag::Started);
        break;
    }
    case Dialogmodus::SpielBeendet:
    case Dialogmodus::Korrigieren: {
        if (!ergebnisPruefen()) return a;
        ErgebnisEingabe e;
        e.kid = kid;
        e.snr = snr;
        e.ergebnis = ergebniscombo;
        e.saetze = satzTexte();
        e.schiri = schiricombo.trimmed();
        e.platte = plattencombo;
        e.schiripool = schiripool;
        e.jetzt = sb_.clock().now();
        const bool korrektur = modus == Dialogmodus::Korrigieren;
        const Beendet b = korrektur ? ev_.korrigieren(e) : ev_.db_beendet(e);
        if (!b.geschrieben) return a;
        // The database holds the result: only now do players, table and umpire become free again.
        freigeben(l, b);
        if (korrektur || b.gruppeBeendet || b.phaseBeendet) {
            sb_.planshow();
            a.neuGezeichnet = true;
        }
        sb_.statusladen();
        // A finished phase has nothing left to offer; its qualifiers now wait in the next one.
        if (next) a.angebotePhase = b.phaseBeendet ? b.phase + 1 : b.phase;
        break;
    }
    }
    a.geschlossen = true;
    return a;
}

void Tergebnis::freigeben(Freilisten& l, const Beendet& b) {
    if (!b.schiri.isEmpty()) l.hinzufuegen(Freilisten::schiri, b.schiri);
    const QString sl = l.spielerliste(b.gruppe);
    for (const int sid : b.spieler)
        l.hinzufuegen(sl, QString::number(sid));
    switch (b.platteZiel) {
    case PlattenZiel::Keine:
        break;
    case PlattenZiel::Gruppe:
        l.hinzufuegen(l.plattenliste(b.gruppe), b.platte);
        break;
    case PlattenZiel::Alle:
        for (const QString& name : l.allePlattenlisten())
            l.hinzufuegen(name, b.platte);
        break;
    }
    for (const auto& [id, name] : b.neueSchiris) {
        l.hinzufuegen(Freilisten::schiri, name);
        if (!l.istSchiri(name)) l.alleschiris.append({name, id});
    }
    for (const int sid : b.nachgerueckt)
        for (const QString& name : l.alleSpielerlisten())
            if (name != Freilisten::allespieler) l.hinzufuegen(name, QString::number(sid));
}
