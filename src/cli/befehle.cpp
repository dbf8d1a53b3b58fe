#include "cli/befehle.h"

#include "cli/ausgabe.h"
#include "cli/cliinteraction.h"
#include "common/classkind.h"
#include "common/clock.h"
#include "common/random.h"
#include "draw/auslosung.h"
#include "draw/gruppe.h"
#include "draw/neuauslosung.h"
#include "draw/teams.h"
#include "entries/anmeldung.h"
#include "entries/import.h"
#include "entries/klassen.h"
#include "entries/partnercheck.h"
#include "entries/spieler.h"
#include "output/htmlexport.h"
#include "output/listen.h"
#include "output/liveexport.h"
#include "output/pdflisten.h"
#include "output/xlsxexport.h"
#include "play/matchrecord.h"
#include "results/ergebnisverarbeitung.h"
#include "results/satznotation.h"
#include "results/tabellen_db.h"
#include "store/schema.h"
#include "store/tournamentrecord.h"
#include "store/tournaments.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <functional>

namespace cli {

namespace {

// A command line that does not say what to do: exit status 2.
struct Nutzungsfehler {
    QString text;
};
// Input the core refused: exit status 1. `gezeigt`: the message went out through the interaction already.
struct Abgelehnt {
    QString text;
    bool gezeigt = false;
};

struct Optionsart {
    QString name;
    bool wert = false;
    QString hilfe;
};

const QList<Optionsart> kGlobal = {
    {QStringLiteral("db"), true,
     QStringLiteral("Datei-Datenbank (Vorgabe: turnier_db.sqlite beim Programm)")},
    {QStringLiteral("server"), true,
     QStringLiteral("Datenbank Server HOST[:PORT] (Benutzer aus PGUSER/PGPASSWORD/.pgpass)")},
    {QStringLiteral("database"), true, QStringLiteral("--server: Name der Datenbank (Vorgabe turnier_db)")},
    {QStringLiteral("tournament"), true,
     QStringLiteral("Turnier (Name oder Nummer); entfällt, wenn es nur eines gibt")},
    {QStringLiteral("json"), false, QStringLiteral("Ausgabe als JSON")},
    {QStringLiteral("yes"), false, QStringLiteral("Fragen mit Ja beantworten")},
    {QStringLiteral("help"), false, QStringLiteral("diese Hilfe")},
};

// One command line taken apart.
struct Aufruf {
    QStringList pos;
    QList<QPair<QString, QString>> opt;

    bool hat(const QString& n) const {
        return std::any_of(opt.begin(), opt.end(), [&](const auto& p) { return p.first == n; });
    }
    QString wert(const QString& n, const QString& vorgabe = {}) const {
        for (auto it = opt.rbegin(); it != opt.rend(); ++it)
            if (it->first == n) return it->second;
        return vorgabe;
    }
    QStringList werte(const QString& n) const {
        QStringList out;
        for (const auto& p : opt)
            if (p.first == n) out << p.second;
        return out;
    }
    int zahl(const QString& n, int vorgabe) const {
        if (!hat(n)) return vorgabe;
        bool ok = false;
        const int v = wert(n).toInt(&ok);
        if (!ok) throw Nutzungsfehler{QStringLiteral("--%1 erwartet eine Zahl, nicht „%2“").arg(n, wert(n))};
        return v;
    }
};

// A set score or any signed number is an argument, never an option.
bool istZahl(const QString& s) {
    static const QRegularExpression re(QStringLiteral("^[+-]?\\d+$"));
    return re.match(s).hasMatch();
}

struct Sitzung {
    Sitzung(QTextStream& o, QTextStream& e) : out(o), err(e), ui(e) {}

    QTextStream& out;
    QTextStream& err;
    CliInteraction ui;
    AppState state;
    Tdb_procedures db;
    Clock clock;
    bool json = false;
    QString datei;
    QString server;
    QString datenbank = tournaments::kDatabaseName;
    QString turnierWahl;
    bool verbunden = false;

    QString programmordner;
    QString programDir() const {
        return programmordner.isEmpty() ? QCoreApplication::applicationDirPath() : programmordner;
    }
    Datendateien dateien() const {
        const QDir d(programDir());
        return {d.filePath(QStringLiteral("Files/system.txt")),
                d.filePath(QStringLiteral("Files/ko_system.txt"))};
    }

    // Connects once; `anlegen`: a file database that does not exist yet is made (tournament create).
    void verbinden(bool anlegen = false) {
        if (verbunden) return;
        if (!server.isEmpty()) {
            state.dbKind = DbKind::Server;
            state.serverName = server;
        } else {
            state.dbKind = DbKind::File;
            state.filePath = datei.isEmpty()
                                 ? QDir(programDir()).filePath(QStringLiteral("turnier_db.sqlite"))
                                 : QFileInfo(datei).absoluteFilePath();
            if (!QFileInfo::exists(state.filePath)) {
                if (!anlegen)
                    throw Abgelehnt{QStringLiteral("Datenbankdatei nicht vorhanden: ") + state.filePath};
                schema::createFile(state.filePath);
            }
        }
        try {
            tournaments::db_verbinden(db, state, datenbank);
        } catch (const DbError& e) {
            throw Abgelehnt{e.kind() == DbError::Kind::NotWritable ? e.message() : tournaments::describe(e)};
        }
        state.trueValue = db.trueValue();
        tournaments::richtige_db(db, ui);
        verbunden = true;
    }

    // The tournament the command works on, made the open one of the state.
    void turnier() {
        verbinden();
        const QList<tournaments::Entry> alle = tournaments::turnierliste(db);
        QList<tournaments::Entry> treffer;
        if (turnierWahl.isEmpty()) {
            if (alle.isEmpty()) throw Abgelehnt{QStringLiteral("Die Datenbank enthält kein Turnier")};
            if (alle.size() > 1)
                throw Nutzungsfehler{
                    QStringLiteral("Die Datenbank enthält %1 Turniere: --tournament NAME wählt eines")
                        .arg(alle.size())};
            treffer = alle;
        } else {
            bool nummer = false;
            const int tid = turnierWahl.toInt(&nummer);
            for (const auto& t : alle)
                if ((nummer && t.tid == tid) || t.name == turnierWahl) treffer << t;
        }
        if (treffer.isEmpty())
            throw Abgelehnt{QStringLiteral("Das Turnier „%1“ gibt es nicht").arg(turnierWahl)};
        if (treffer.size() > 1)
            throw Abgelehnt{
                QStringLiteral("Es gibt mehrere Turniere „%1“: bitte die Nummer angeben").arg(turnierWahl)};
        state.tid = treffer[0].tid;
        state.turniername = treffer[0].name;
    }
};

// The first refusal the interaction showed, or the given text.
[[noreturn]] void abgelehnt(Sitzung& s, const QString& sonst) {
    if (!s.ui.ablehnungen.isEmpty()) throw Abgelehnt{s.ui.ablehnungen.first(), true};
    throw Abgelehnt{sonst};
}

struct Klasse {
    int kid = 0;
    QString name;
    int system = 0;
    int saetze = 3;
    QString caption() const { return classkind::caption(name, system); }
};

// A class of the open tournament by its name, or by its caption "Name (Art)" where names repeat.
Klasse klasse(Sitzung& s, const QString& text) {
    const Rows rows = s.db.select(
        QStringLiteral("SELECT KID,kbezeichnung,system,saetze FROM Turnierklassen WHERE TID=:t ORDER BY KID"),
        {{":t", s.state.tid}});
    QList<Klasse> treffer;
    for (const Row& r : rows) {
        Klasse k{r.integer(u"KID"), r.text(u"kbezeichnung"), r.integer(u"system"), r.integer(u"saetze")};
        if (k.name == text || k.caption() == text) treffer << k;
    }
    // A number no class is named: the class of that KID, as "plan --all" lists it.
    bool nummer = false;
    const int kid = text.toInt(&nummer);
    for (const Row& r : rows)
        if (treffer.isEmpty() && nummer && r.integer(u"KID") == kid)
            treffer << Klasse{kid, r.text(u"kbezeichnung"), r.integer(u"system"), r.integer(u"saetze")};
    if (treffer.isEmpty())
        throw Abgelehnt{QStringLiteral("Die Klasse „%1“ gibt es in diesem Turnier nicht").arg(text)};
    if (treffer.size() > 1) {
        QStringList namen;
        for (const Klasse& k : treffer)
            namen << k.caption();
        throw Abgelehnt{
            QStringLiteral("„%1“ ist nicht eindeutig: %2").arg(text, namen.join(QStringLiteral(", ")))};
    }
    s.state.kid = treffer[0].kid;
    return treffer[0];
}

int kindVon(const QString& text) {
    const QString t = text.toLower();
    if (t == u"einzel" || t == u"singles") return klassen::Einzel;
    if (t == u"doppel" || t == u"doubles") return klassen::Doppel;
    if (t == u"mixed") return klassen::Mixed;
    if (t == u"team" || t == u"teams") return klassen::Team;
    throw Nutzungsfehler{QStringLiteral("--kind: einzel, doppel, mixed oder team, nicht „%1“").arg(text)};
}

QDate datum(const QString& text, const QString& option) {
    if (text.isEmpty()) return {};
    const QDate d = readGermanDate(text);
    if (!d.isValid())
        throw Nutzungsfehler{QStringLiteral("--%1: ein Datum TT.MM.JJJJ, nicht „%2“").arg(option, text)};
    return d;
}

// ------------------------------------------------------------------------------------------------
// tournament

Antwort turnierAnlegen(Sitzung& s, const Aufruf& a) {
    const QString name = a.pos.value(0).trimmed();
    if (name.isEmpty()) {
        s.ui.plain(QStringLiteral("Bitte geben Sie einen Namen ein"));
        throw Abgelehnt{QStringLiteral("Bitte geben Sie einen Namen ein"), true};
    }
    TournamentRecord r;
    r.turniername = name;
    r.tvon = datum(a.wert(QStringLiteral("from")), QStringLiteral("from"));
    r.tbis = datum(a.wert(QStringLiteral("to")), QStringLiteral("to"));
    r.austragungsort = a.wert(QStringLiteral("place"));
    s.verbinden(true);
    const int tid = insertTournament(s.db, r, {false, false, false, false});
    Antwort out;
    out.zeilen << QStringLiteral("Turnier %1 angelegt: %2").arg(tid).arg(name);
    out.werte.insert(QStringLiteral("tid"), tid);
    out.werte.insert(QStringLiteral("name"), name);
    return out;
}

Antwort turnierListe(Sitzung& s, const Aufruf&) {
    s.verbinden();
    Tabelle t{QStringLiteral("turniere"),
              {},
              {QStringLiteral("TID"), QStringLiteral("Turnier")},
              {QStringLiteral("tid"), QStringLiteral("name")},
              {}};
    for (const auto& e : tournaments::turnierliste(s.db))
        t.zeile({e.tid, e.name});
    Antwort out;
    out.tabellen << t;
    return out;
}

Antwort turnierLoeschen(Sitzung& s, const Aufruf& a) {
    s.turnierWahl = a.pos.value(0);
    s.turnier();
    const QString name = s.state.turniername;
    const int tid = s.state.tid;
    if (!tournaments::turnierloeschen(s.db, s.state, s.ui)) abgelehnt(s, QStringLiteral("Nicht gelöscht"));
    Antwort out;
    out.zeilen << QStringLiteral("Turnier %1 gelöscht: %2").arg(tid).arg(name);
    out.werte.insert(QStringLiteral("tid"), tid);
    return out;
}

// ------------------------------------------------------------------------------------------------
// class

// "gruppen:G:T[:B[:BP]]", "ko" or "doppelko".
void phaseSetzen(Tgruppe& g, int n, const QString& angabe) {
    const QStringList teile = angabe.toLower().split(u':');
    const QString art = teile.value(0);
    if (art == u"ko") {
        g.setSpielsystem(n, Tgruppe::EinfachesKO);
        return;
    }
    if (art == u"doppelko" || art == u"double-ko") {
        g.setSpielsystem(n, Tgruppe::DoppeltesKO);
        return;
    }
    if ((art != u"gruppen" && art != u"groups") || teile.size() < 3 || teile.size() > 5)
        throw Nutzungsfehler{
            QStringLiteral("--phase%1: gruppen:ANZAHL:PLÄTZE[:WEITER[:BESTE]], ko oder doppelko, "
                           "nicht „%2“")
                .arg(n)
                .arg(angabe)};
    QList<int> z;
    for (int i = 1; i < teile.size(); ++i) {
        bool ok = false;
        z << teile[i].toInt(&ok);
        if (!ok || z.last() < 0)
            throw Nutzungsfehler{QStringLiteral("--phase%1: „%2“ ist keine Zahl").arg(n).arg(teile[i])};
    }
    g.setSpielsystem(n, Tgruppe::Gruppenphase);
    g.setGruppenanzahl(n, z.value(0));
    g.setTeilnehmer(n, z.value(1));
    g.setBesten(n, z.value(2));
    g.setBestplazierten(n, z.value(3));
}

// "A1-B2,A2-B1,D1-D1": the rubbers of a team class.
TeamSystem teamsystemVon(const Aufruf& a) {
    TeamSystem t;
    t.spieler = teamsystem::clampSpieler(a.zahl(QStringLiteral("team-players"), 2));
    t.reserve = teamsystem::clampReserve(a.zahl(QStringLiteral("team-reserve"), 0));
    const QString spiele = a.wert(QStringLiteral("rubbers"));
    if (spiele.isEmpty()) return t;
    const QStringList liste = spiele.split(u',');
    if (liste.size() > teamsystem::kSpiele)
        throw Nutzungsfehler{QStringLiteral("--rubbers: höchstens %1 Spiele").arg(teamsystem::kSpiele)};
    for (int i = 0; i < liste.size(); ++i) {
        const QStringList seiten = liste[i].split(u'-');
        const auto sa = teamsystem::codeOf(seiten.value(0), t.spieler, teamsystem::Seite::A);
        const auto sb = teamsystem::codeOf(seiten.value(1), t.spieler, teamsystem::Seite::B);
        if (seiten.size() != 2 || !sa || !sb) {
            throw Abgelehnt{teamsystem::kUngueltigerSpieler + QStringLiteral(": ") + liste[i]};
        }
        t.spiele[i] = {*sa, *sb};
    }
    return t;
}

Antwort klasseAnlegen(Sitzung& s, const Aufruf& a) {
    s.turnier();
    KlassenFormular f;
    f.kbezeichnung = a.pos.value(0);
    f.system = kindVon(a.wert(QStringLiteral("kind"), QStringLiteral("einzel")));
    f.saetze = a.wert(QStringLiteral("sets"), QStringLiteral("3"));
    f.altersklasse = a.wert(QStringLiteral("age"), klassen::ohneBeschraenkung());
    f.gebuehr = a.wert(QStringLiteral("fee"));
    f.beginn = a.wert(QStringLiteral("start"));
    f.mann = !a.hat(QStringLiteral("women"));
    f.frau = a.hat(QStringLiteral("women")) || a.hat(QStringLiteral("mixed-sex"));
    const int tische = a.zahl(QStringLiteral("tables"), 2);
    if (tische < 1) throw Nutzungsfehler{QStringLiteral("--tables: mindestens 1")};
    f.tische.clear();
    for (int i = 1; i <= tische; ++i)
        f.tische << QStringLiteral("Tisch %1").arg(i);
    f.platten = QString::number(tische);
    if (f.system == klassen::Team) f.teamsystem = teamsystemVon(a);

    // The phases are checked before anything is written: a refused setting leaves no class behind.
    Tgruppe g(s.db, s.ui);
    g.gruppeneinstellungenreset();
    phaseSetzen(g, 1, a.wert(QStringLiteral("phase1"), QStringLiteral("ko")));
    for (int n = 2; n <= 3; ++n) {
        const QString angabe = a.wert(QStringLiteral("phase%1").arg(n));
        if (!angabe.isEmpty()) {
            if (!g.phaseVisible(n))
                throw Nutzungsfehler{
                    QStringLiteral("--phase%1: die Phase davor gibt niemanden weiter").arg(n)};
            phaseSetzen(g, n, angabe);
        }
    }
    if (const QString fehler = g.pruefen(); !fehler.isEmpty()) {
        s.ui.warning(fehler);
        throw Abgelehnt{fehler, true};
    }

    Klassenverwaltung kv(s.state, s.db, s.ui);
    Transaction t(s.db);
    const Klassenverwaltung::SaveResult r = kv.save(f, 0);
    if (r.outcome != Klassenverwaltung::Outcome::Saved)
        abgelehnt(s, QStringLiteral("Klasse nicht gespeichert"));
    g.systemspeichern(r.kid);
    t.commit();

    Antwort out;
    out.zeilen << QStringLiteral("Klasse %1 angelegt: %2")
                      .arg(r.kid)
                      .arg(classkind::caption(f.kbezeichnung, f.system));
    out.werte.insert(QStringLiteral("kid"), r.kid);
    out.werte.insert(QStringLiteral("klasse"), classkind::caption(f.kbezeichnung, f.system));
    return out;
}

QString phasenText(const Row& r) {
    QStringList p;
    for (int n = 1; n <= 3; ++n) {
        const QString c = QString::number(n);
        if (r.isNull(QStringLiteral("phase") + c)) continue;
        switch (r.integer(QStringLiteral("phase") + c)) {
        case 0:
            p << QStringLiteral("gruppen:%1:%2:%3:%4")
                     .arg(r.integer(QStringLiteral("gruppenanzahl") + c))
                     .arg(r.integer(QStringLiteral("teilnehmer") + c))
                     .arg(r.integer(QStringLiteral("besten") + c))
                     .arg(r.integer(QStringLiteral("bestplazierten") + c));
            break;
        case 1:
            p << QStringLiteral("ko");
            break;
        default:
            p << QStringLiteral("doppelko");
        }
    }
    return p.join(QStringLiteral(" → "));
}

Antwort klassenListe(Sitzung& s, const Aufruf&) {
    s.turnier();
    Tabelle t{QStringLiteral("klassen"),
              {},
              {QStringLiteral("KID"), QStringLiteral("Klasse"), QStringLiteral("Sätze"),
               QStringLiteral("Meldungen"), QStringLiteral("Spiele"), QStringLiteral("beendet"),
               QStringLiteral("Phasen")},
              {QStringLiteral("kid"), QStringLiteral("klasse"), QStringLiteral("saetze"),
               QStringLiteral("meldungen"), QStringLiteral("spiele"), QStringLiteral("beendet"),
               QStringLiteral("phasen")},
              {}};
    const Rows rows = s.db.select(
        QStringLiteral(
            "SELECT k.KID,k.kbezeichnung,k.system,k.saetze,g.phase1,g.phase2,g.phase3,g.gruppenanzahl1,"
            "g.gruppenanzahl2,g.gruppenanzahl3,g.teilnehmer1,g.teilnehmer2,g.teilnehmer3,g.besten1,"
            "g.besten2,g.besten3,g.bestplazierten1,g.bestplazierten2,g.bestplazierten3,"
            "(SELECT COUNT(*) FROM Spieler_im_Turnier m WHERE m.KID=k.KID) AS meldungen,"
            "(SELECT COUNT(*) FROM Spielplan p WHERE p.KID=k.KID) AS spiele,"
            "(SELECT COUNT(*) FROM Spielplan p WHERE p.KID=k.KID AND p.beendet<>0) AS beendet "
            "FROM Turnierklassen k LEFT JOIN Gruppeneinstellungen g ON g.KID=k.KID WHERE k.TID=:t "
            "ORDER BY k.KID"),
        {{":t", s.state.tid}});
    for (const Row& r : rows)
        t.zeile({r.integer(u"KID"), classkind::caption(r.text(u"kbezeichnung"), r.integer(u"system")),
                 r.integer(u"saetze"), r.integer(u"meldungen"), r.integer(u"spiele"), r.integer(u"beendet"),
                 phasenText(r)});
    Antwort out;
    out.tabellen << t;
    return out;
}

// ------------------------------------------------------------------------------------------------
// players and teams

// "Nachname, Vorname" of the tournament's players.
int spielerSid(Sitzung& s, const QString& name) {
    const NeuerSpielerName n = splitSpielerName(name);
    const Rows rows = s.db.select(
        QStringLiteral(
            "SELECT SID FROM Spielerdaten WHERE TID=:t AND nachname=:n AND vorname=:v ORDER BY SID"),
        {{":t", s.state.tid}, {":n", n.nachname}, {":v", n.vorname}});
    if (rows.isEmpty())
        throw Abgelehnt{QStringLiteral("Den Spieler „%1“ gibt es in diesem Turnier nicht").arg(name)};
    return rows.first().integer(u"SID");
}

Antwort spielerAnlegen(Sitzung& s, const Aufruf& a) {
    s.turnier();
    Spielerverwaltung p(s.state, s.db, s.ui);
    Partnercheck partner;
    p.setPairingHook(&partner);
    p.open();
    p.newPlayer();
    SpielerFelder& f = p.felder();
    f.nachname = a.pos.value(0);
    f.vorname = a.pos.value(1);
    f.verein = a.wert(QStringLiteral("club"));
    f.geb = a.wert(QStringLiteral("born"));
    f.nummer = a.wert(QStringLiteral("number"));
    f.angemeldet = a.hat(QStringLiteral("checked-in"));
    if (a.hat(QStringLiteral("female")))
        p.setFrau(true);
    else
        p.setMann(true);
    p.markChanged();

    auto indexVon = [&](int kid) {
        for (int i = 0; i < p.klassen().size(); ++i)
            if (p.klassen()[i].kid == kid) return i;
        return -1;
    };
    for (const QString& name : a.werte(QStringLiteral("class"))) {
        const int i = indexVon(klasse(s, name).kid);
        if (i < 0) throw Abgelehnt{QStringLiteral("Für „%1“ kann niemand gemeldet werden").arg(name)};
        if (!p.setClassSelected(i, true).done || !p.isClassSelected(i))
            abgelehnt(s, QStringLiteral("Der Spieler kann in „%1“ nicht gemeldet werden").arg(name));
    }
    for (const QString& paar : a.werte(QStringLiteral("partner"))) {
        const int gleich = int(paar.lastIndexOf(u'='));
        if (gleich <= 0) throw Nutzungsfehler{QStringLiteral("--partner KLASSE=NACHNAME, VORNAME")};
        const Klasse k = klasse(s, paar.left(gleich));
        const QString wer = paar.mid(gleich + 1).trimmed();
        int zeile = -1;
        for (int i = 0; i < p.partnerLines().size(); ++i)
            if (p.partnerLines()[i].kid == k.kid) zeile = i;
        if (zeile < 0)
            throw Abgelehnt{
                QStringLiteral("„%1“ ist keine Doppelklasse, für die der Spieler gemeldet wird (--class)")
                    .arg(k.caption())};
        spielerSid(s, wer);
        const int ki = indexVon(k.kid);
        p.replacePartnerLine(zeile, p.klassen()[ki].text + QStringLiteral(": ") + wer);
    }
    const Spielerverwaltung::Outcome o = p.save();
    if (!o.done) abgelehnt(s, QStringLiteral("Spieler nicht gespeichert"));
    Antwort out;
    out.zeilen << QStringLiteral("Spieler %1 angelegt: %2, %3").arg(p.lastSid()).arg(f.nachname, f.vorname);
    out.werte.insert(QStringLiteral("sid"), p.lastSid());
    return out;
}

Antwort spielerListe(Sitzung& s, const Aufruf&) {
    s.turnier();
    Tabelle t{
        QStringLiteral("spieler"),
        {},
        {QStringLiteral("SID"), QStringLiteral("Name"), QStringLiteral("Verein"), QStringLiteral("anwesend")},
        {QStringLiteral("sid"), QStringLiteral("name"), QStringLiteral("verein"),
         QStringLiteral("angemeldet")},
        {}};
    for (const Row& r :
         s.db.select(QStringLiteral("SELECT SID,nachname,vorname,verein,angemeldet FROM Spielerdaten "
                                    "WHERE TID=:t ORDER BY nachname,vorname,SID"),
                     {{":t", s.state.tid}}))
        t.zeile({r.integer(u"SID"), r.text(u"nachname") + QStringLiteral(", ") + r.text(u"vorname"),
                 r.text(u"verein"), r.boolean(u"angemeldet")});
    Antwort out;
    out.tabellen << t;
    return out;
}

Antwort teamAnlegen(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const Klasse k = klasse(s, a.pos.value(0));
    Teamauswahl t(s.state, s.db, s.ui);
    t.open();
    int ki = -1;
    for (int i = 0; i < t.classes().size(); ++i)
        if (t.classes()[i].kid == k.kid) ki = i;
    if (ki < 0) throw Abgelehnt{QStringLiteral("„%1“ ist keine Mannschaftsklasse").arg(k.caption())};
    t.chooseClass(ki);
    t.newTeam(a.pos.value(1));
    t.setVerein(a.wert(QStringLiteral("club")));
    const QStringList spieler = a.wert(QStringLiteral("players")).split(u';', Qt::SkipEmptyParts);
    for (const QString& name : spieler) {
        const int sid = spielerSid(s, name.trimmed());
        int gi = -1;
        for (int i = 0; i < t.players().size(); ++i)
            if (t.players()[i].sid == sid) gi = i;
        if (gi < 0)
            throw Abgelehnt{
                QStringLiteral("„%1“ ist in „%2“ nicht gemeldet").arg(name.trimmed(), k.caption())};
        if (!t.drop(TeamListe::Spieler, -1, TeamListe::Gemeldet, gi))
            abgelehnt(s, QStringLiteral("„%1“ kann nicht in das Team").arg(name.trimmed()));
    }
    if (!t.save()) abgelehnt(s, QStringLiteral("Team nicht gespeichert"));
    Antwort out;
    out.zeilen << QStringLiteral("Team angelegt: %1").arg(t.teamname());
    out.werte.insert(QStringLiteral("team"), t.teamname());
    return out;
}

// ------------------------------------------------------------------------------------------------
// import and check-in

Antwort importieren(Sitzung& s, const Aufruf& a) {
    s.turnier();
    Importquelle q(s.state, s.db, s.ui);
    if (!q.oeffnen(QFileInfo(a.pos.value(0)).absoluteFilePath()))
        abgelehnt(s, QStringLiteral("Datei nicht gelesen"));
    if (q.art() == Quellart::Turnierdatei) {
        const QString wahl = a.wert(QStringLiteral("from-tournament"));
        q.gewaehltesTurnier = q.turniere().isEmpty() ? -1 : 0;
        for (int i = 0; i < q.turniere().size() && !wahl.isEmpty(); ++i)
            if (q.turniere()[i].turniername == wahl || QString::number(q.turniere()[i].tid) == wahl)
                q.gewaehltesTurnier = i;
    } else if (q.art() == Quellart::Tabelle) {
        // A header row names the columns already; --columns says it instead, in its order.
        const QStringList spalten = a.wert(QStringLiteral("columns")).split(u',', Qt::SkipEmptyParts);
        if (!spalten.isEmpty())
            for (const QString& c : QStringList(q.reihenfolge()))
                q.ausReihenfolge(c);
        for (const QString& c : spalten) {
            if (!Importquelle::vorhandeneDaten().contains(c.trimmed()))
                throw Nutzungsfehler{QStringLiteral("--columns: „%1“ ist keins von %2")
                                         .arg(c, Importquelle::vorhandeneDaten().join(QStringLiteral(",")))};
            q.anReihenfolge(c.trimmed());
        }
    }
    const auto kandidaten = q.kandidaten();
    if (!kandidaten) abgelehnt(s, QStringLiteral("Nichts zu importieren"));
    Spielerimport imp(s.state, s.db, s.ui);
    imp.setKandidaten(*kandidaten);
    imp.hinzufuegen();
    const Spielerimport::Ergebnis e = imp.importieren();
    Antwort out;
    out.zeilen << QStringLiteral("%1 Spieler importiert, %2 schon vorhanden")
                      .arg(e.importiert)
                      .arg(e.vorhanden.size());
    out.werte.insert(QStringLiteral("importiert"), e.importiert);
    QStringList da;
    for (const Importitem& i : e.vorhanden)
        da << i.text();
    out.werte.insert(QStringLiteral("vorhanden"), QJsonArray::fromStringList(da));
    return out;
}

Antwort anmelden(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const bool alle = a.hat(QStringLiteral("all"));
    const QStringList teams = a.werte(QStringLiteral("team"));
    if (!alle && a.pos.isEmpty() && teams.isEmpty())
        throw Nutzungsfehler{
            QStringLiteral("checkin: Spieler (\"Nachname, Vorname\"), --team NAME oder --all")};
    const bool an = !a.hat(QStringLiteral("out"));
    Anmeldung m(s.state, s.db);
    m.open();
    // Every name is found before the first mark is written.
    QList<int> sids, mids;
    for (const QString& name : a.pos) {
        int sid = 0;
        for (const AnmeldeEintrag& e : m.players())
            if (e.name == name) sid = e.id;
        if (!sid)
            throw Abgelehnt{QStringLiteral("Den Spieler „%1“ gibt es in diesem Turnier nicht").arg(name)};
        sids << sid;
    }
    for (const QString& name : teams) {
        int mid = 0;
        for (const AnmeldeEintrag& e : m.teams())
            if (e.name == name) mid = e.id;
        if (!mid) throw Abgelehnt{QStringLiteral("Das Team „%1“ gibt es in diesem Turnier nicht").arg(name)};
        mids << mid;
    }
    if (alle) {
        for (const AnmeldeEintrag& e : m.players())
            if (e.angemeldet != an) sids << e.id;
        for (const AnmeldeEintrag& e : m.teams())
            if (e.angemeldet != an) mids << e.id;
    }
    if (!sids.isEmpty()) m.teamSpielerMelden(sids, an);
    for (int mid : mids) {
        // A team comes with its players, as the team check-in offers them.
        const TeamMeldung t = m.teamanmeldung(mid, an);
        QList<int> spieler;
        for (const TeamPosition& p : t.positionen)
            spieler << p.sid;
        if (!spieler.isEmpty()) m.teamSpielerMelden(spieler, an);
    }
    Antwort out;
    out.zeilen << QStringLiteral("%1 Spieler und %2 Teams %3")
                      .arg(sids.size())
                      .arg(mids.size())
                      .arg(an ? QStringLiteral("angemeldet") : QStringLiteral("abgemeldet"));
    out.werte.insert(QStringLiteral("spieler"), int(sids.size()));
    out.werte.insert(QStringLiteral("teams"), int(mids.size()));
    return out;
}

// ------------------------------------------------------------------------------------------------
// draw, plan, results

// The live results folder follows the write; a failure there is told but does not undo the write.
void liveNachziehen(Sitzung& s, int kid, bool ganz) {
    try {
        liveexport::klasseGeschrieben(s.db, kid, ganz);
    } catch (const ExportFehler& e) {
        s.ui.warning(QStringLiteral("Live-Ergebnisse: ") + e.message());
    }
}

Antwort auslosen(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const Klasse k = klasse(s, a.pos.value(0));
    if (!neueAuslosungErlaubt(s.db, s.ui, k.kid)) abgelehnt(s, QStringLiteral("Nicht ausgelost"));
    Tgruppe g(s.db, s.ui);
    g.laden(k.kid,
            k.system == klassen::Team     ? Tgruppe::Team
            : k.system == klassen::Einzel ? Tgruppe::Einzel
                                          : Tgruppe::Doppel,
            k.system == klassen::Mixed);
    if (!g.zurauslosung()) abgelehnt(s, QStringLiteral("Nicht ausgelost"));

    const quint64 seed = a.hat(QStringLiteral("seed")) ? quint64(a.zahl(QStringLiteral("seed"), 0))
                                                       : quint64(QDateTime::currentMSecsSinceEpoch());
    // Every "Losen" takes its chance afresh from the clock, so the clock the draw sees is the seed.
    FixedClock uhr(QDateTime::fromMSecsSinceEpoch(qint64(seed)));
    Random random(seed);
    Auslosung l(s.db, s.ui, uhr, random);
    l.neu(k.kid);
    l.vereinBeachten = l.vereinAktiv() && !a.hat(QStringLiteral("ignore-club"));
    for (int n = 1; n <= 3; ++n)
        if (l.vorhanden(n) && !l.losen(n)) abgelehnt(s, QStringLiteral("Phase %1 nicht gelost").arg(n));
    const Fertigstellen::Ergebnis e = l.fertigstellen(s.state.tid, s.dateien());
    if (!e.geschrieben) abgelehnt(s, QStringLiteral("Spielplan nicht geschrieben"));
    liveNachziehen(s, k.kid, true);

    const int spiele = int(matchrecord::matchesOfClass(s.db, k.kid).size());
    Antwort out;
    out.zeilen
        << QStringLiteral("%1 ausgelost (Startwert %2): %3 Spiele").arg(k.caption()).arg(seed).arg(spiele);
    out.werte.insert(QStringLiteral("klasse"), k.caption());
    out.werte.insert(QStringLiteral("seed"), QString::number(seed));
    out.werte.insert(QStringLiteral("spiele"), spiele);
    return out;
}

QString statusText(const SpielplanRow& m) {
    switch (stateOf(m)) {
    case MatchState::Finished:
        return hasBye(m) ? QStringLiteral("Freilos") : QStringLiteral("beendet");
    case MatchState::Started:
        return QStringLiteral("begonnen");
    case MatchState::Called:
        return QStringLiteral("aufgerufen");
    case MatchState::Open:
        break;
    }
    if (hasBye(m)) return QStringLiteral("Freilos");
    return hasBothSides(m) ? QStringLiteral("spielbar") : QStringLiteral("wartet");
}

// Group letters count from each phase's first group.
QHash<int, QString> gruppenNamen(const QVector<SpielplanRow>& spiele) {
    QHash<int, int> erste;
    for (const SpielplanRow& m : spiele)
        if (m.gruppe >= 0 && (!erste.contains(m.phase) || m.gruppe < erste[m.phase]))
            erste[m.phase] = m.gruppe;
    QHash<int, QString> namen;
    for (const SpielplanRow& m : spiele)
        if (m.gruppe >= 0) namen[m.gruppe] = QString(QChar(u'A' + (m.gruppe - erste[m.phase])));
    return namen;
}

QStringList satzTexte(const Saetze& s, bool beendet) {
    QStringList out;
    if (!beendet) return out;
    for (const auto& w : s)
        if (w) out << satznotation::text(w);
    return out;
}

Antwort plan(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const bool alleKlassen = a.hat(QStringLiteral("all"));
    if (alleKlassen == !a.pos.isEmpty()) throw Nutzungsfehler{QStringLiteral("plan KLASSE oder plan --all")};
    QList<Klasse> klassen;
    if (alleKlassen) {
        for (const Row& r : s.db.select(
                 QStringLiteral(
                     "SELECT KID,kbezeichnung,system,saetze FROM Turnierklassen WHERE TID=:t ORDER BY KID"),
                 {{":t", s.state.tid}}))
            klassen << Klasse{r.integer(u"KID"), r.text(u"kbezeichnung"), r.integer(u"system"),
                              r.integer(u"saetze")};
    } else {
        klassen << klasse(s, a.pos.value(0));
    }
    const bool nurSpielbar = a.hat(QStringLiteral("playable"));
    Tabelle t{QStringLiteral("spiele"),
              {},
              {QStringLiteral("Nr"), QStringLiteral("Phase"), QStringLiteral("Gruppe"),
               QStringLiteral("Spieler 1"), QStringLiteral("Spieler 2"), QStringLiteral("Status"),
               QStringLiteral("Ergebnis"), QStringLiteral("Sätze")},
              {QStringLiteral("nr"), QStringLiteral("phase"), QStringLiteral("gruppe"),
               QStringLiteral("spieler1"), QStringLiteral("spieler2"), QStringLiteral("status"),
               QStringLiteral("ergebnis"), QStringLiteral("saetze")},
              {}};
    // Every class: the class leads each line, so a script can hand the line back to "result".
    if (alleKlassen) {
        t.kopf.prepend(QStringLiteral("Klasse"));
        t.felder.prepend(QStringLiteral("klasse"));
    }
    for (const Klasse& k : klassen) {
        const QVector<SpielplanRow> spiele = matchrecord::matchesOfClass(s.db, k.kid);
        const QHash<int, QString> gruppen = gruppenNamen(spiele);
        for (const SpielplanRow& m : spiele) {
            const QString st = statusText(m);
            if (nurSpielbar && st != u"spielbar") continue;
            QVariantList z = {m.spielnummer,
                              m.phase,
                              gruppen.value(m.gruppe),
                              m.spieler1,
                              m.spieler2,
                              st,
                              m.beendet && !hasBye(m) ? m.ergebnis.value_or(QString()) : QString(),
                              satzTexte(m.satz, m.beendet && !hasBye(m))};
            if (alleKlassen) z.prepend(QString::number(k.kid));
            t.zeile(z);
        }
    }
    Antwort out;
    if (!alleKlassen) out.werte.insert(QStringLiteral("klasse"), klassen[0].caption());
    out.tabellen << t;
    return out;
}

// A tie that needs the operator: refused unless the computed order is to be taken as it stands.
struct Gleichstand {
    QString text;
};

tabelle::Entscheider entscheider(bool behalten) {
    return [behalten](tabelle::Vergleich& v) {
        if (behalten) return;
        QStringList namen;
        for (int i = 0; i < v.size(); ++i)
            if (v.markiert(i)) namen << v.eintraege()[i].bez;
        throw Gleichstand{tabelle::Vergleich::kTitel + QStringLiteral(": ") + tabelle::Vergleich::kZeile1 +
                          QStringLiteral(" ") + tabelle::Vergleich::kZeile2 + QStringLiteral(" (") +
                          namen.join(QStringLiteral("; ")) +
                          QStringLiteral("). --keep-tie-order übernimmt die berechnete Reihenfolge.")};
    };
}

int spielnummer(const QString& text) {
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n <= 0) throw Nutzungsfehler{QStringLiteral("Spielnummer erwartet, nicht „%1“").arg(text)};
    return n;
}

// The final result the sets give: each set counted for the side that won it.
QString ergebnisAusSaetzen(const QStringList& saetze) {
    int erster = 0, zweiter = 0;
    for (const QString& t : saetze) {
        const satznotation::Eingabe w = satznotation::lesen(t);
        if (w.gueltig && w.wert) ++(satznotation::ersterGewinnt(*w.wert) ? erster : zweiter);
    }
    return QStringLiteral("%1:%2").arg(erster).arg(zweiter);
}

// One rubber of a team match, "3:1 8 6 -9 5": its result (it may be left out when the sets give it), then
// its sets; "-" for a rubber not played.
RubberErgebnis rubberVon(const QString& text, const QStringList& ergebnisse) {
    static const QRegularExpression trenner(QStringLiteral("[\\s,;]+"));
    QStringList teile = text.split(trenner, Qt::SkipEmptyParts);
    RubberErgebnis r;
    if (teile == QStringList{QStringLiteral("-")})
        teile.clear();
    else if (!teile.isEmpty() && ergebnisse.contains(teile.first()))
        r.ergebnis = teile.takeFirst();
    else if (!teile.isEmpty())
        r.ergebnis = ergebnisAusSaetzen(teile);
    if (teile.size() > 9)
        throw Nutzungsfehler{QStringLiteral("--rubber: höchstens 9 Sätze, nicht „%1“").arg(text)};
    r.saetze = teile;
    while (r.saetze.size() < 9)
        r.saetze << QString();
    return r;
}

Antwort ergebnis(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const Klasse k = klasse(s, a.pos.value(0));
    const int snr = spielnummer(a.pos.value(1));
    const bool team = k.system == klassen::Team;
    const QStringList rubberTexte = a.werte(QStringLiteral("rubber"));
    if (!team && !rubberTexte.isEmpty())
        throw Nutzungsfehler{QStringLiteral("--rubber gibt es nur in Mannschaftsklassen")};
    if (team && a.pos.size() > 2)
        throw Nutzungsfehler{QStringLiteral("Ein Mannschaftsspiel hat keine eigenen Sätze: jedes Einzelspiel "
                                            "mit --rubber \"ERGEBNIS SATZ…\", das Endergebnis mit --result")};
    if (!matchrecord::readMatch(s.db, k.kid, snr)) {
        s.ui.warning(Ergebnisverarbeitung::kSpielFehlt);
        throw Abgelehnt{Ergebnisverarbeitung::kSpielFehlt, true};
    }
    ErgebnisEingabe e;
    e.kid = k.kid;
    e.snr = snr;
    e.saetze = a.pos.mid(2);
    if (e.saetze.size() > 9) throw Nutzungsfehler{QStringLiteral("Höchstens 9 Sätze")};
    const QStringList ergebnisse = satznotation::ergebnisliste(k.saetze);
    for (const QString& text : rubberTexte)
        e.rubbers << rubberVon(text, ergebnisse);
    // The final result follows from the sets (a team match's from the rubbers won) unless it is given,
    // as for a match decided without sets.
    if (a.hat(QStringLiteral("result"))) {
        e.ergebnis = a.wert(QStringLiteral("result"));
    } else if (team) {
        int erster = 0, zweiter = 0;
        for (const RubberErgebnis& r : e.rubbers)
            if (const auto erg = satznotation::endergebnis(r.ergebnis))
                ++(erg->ersterGewinnt() ? erster : zweiter);
        e.ergebnis = QStringLiteral("%1:%2").arg(erster).arg(zweiter);
    } else {
        e.ergebnis = ergebnisAusSaetzen(e.saetze);
    }
    while (e.saetze.size() < 9)
        e.saetze << QString();
    e.platte = a.wert(QStringLiteral("table"));
    e.schiri = a.wert(QStringLiteral("umpire"));
    e.jetzt = s.clock.now();
    Ergebnisverarbeitung ev(s.db, s.ui, entscheider(a.hat(QStringLiteral("keep-tie-order"))));
    Beendet b;
    try {
        b = a.hat(QStringLiteral("correct")) ? ev.korrigieren(e) : ev.db_beendet(e);
    } catch (const Gleichstand& g) {
        throw Abgelehnt{g.text};
    }
    if (!b.geschrieben) abgelehnt(s, QStringLiteral("Ergebnis nicht eingetragen"));
    liveNachziehen(s, k.kid, false);

    const SpielplanRow m = *matchrecord::readMatch(s.db, k.kid, snr);
    const QString sieger = b.siegerSID == m.SID1 ? m.spieler1 : m.spieler2;
    Antwort out;
    out.zeilen << QStringLiteral("Spiel %1: %2 %3 %4 – Sieger %5")
                      .arg(snr)
                      .arg(m.spieler1, e.ergebnis, m.spieler2, sieger);
    if (b.gruppeBeendet) out.zeilen << Ergebnisverarbeitung::kGruppeBeendet;
    if (b.phaseBeendet) out.zeilen << Ergebnisverarbeitung::kPhaseBeendet;
    out.werte.insert(QStringLiteral("spiel"), snr);
    out.werte.insert(QStringLiteral("ergebnis"), e.ergebnis);
    out.werte.insert(QStringLiteral("sieger"), sieger);
    out.werte.insert(QStringLiteral("gruppeBeendet"), b.gruppeBeendet);
    out.werte.insert(QStringLiteral("phaseBeendet"), b.phaseBeendet);
    QJsonArray geaendert;
    for (int n : b.geaenderteSpiele)
        geaendert.append(n);
    out.werte.insert(QStringLiteral("geaenderteSpiele"), geaendert);
    return out;
}

Antwort zuruecksetzen(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const Klasse k = klasse(s, a.pos.value(0));
    const int snr = spielnummer(a.pos.value(1));
    Ergebnisverarbeitung ev(s.db, s.ui, entscheider(a.hat(QStringLiteral("keep-tie-order"))));
    Zurueckgesetzt z;
    try {
        z = ev.db_zuruecksetzen(k.kid, snr);
    } catch (const Gleichstand& g) {
        throw Abgelehnt{g.text};
    }
    if (!z.geschrieben) abgelehnt(s, QStringLiteral("Nicht zurückgesetzt"));
    liveNachziehen(s, k.kid, false);
    Antwort out;
    QStringList nummern;
    QJsonArray geaendert;
    for (int n : z.geaenderteSpiele) {
        nummern << QString::number(n);
        geaendert.append(n);
    }
    out.zeilen << QStringLiteral("Spiel %1 zurückgesetzt; geändert: %2")
                      .arg(snr)
                      .arg(nummern.join(QStringLiteral(", ")));
    out.werte.insert(QStringLiteral("spiel"), snr);
    out.werte.insert(QStringLiteral("geaenderteSpiele"), geaendert);
    return out;
}

Antwort standings(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const Klasse k = klasse(s, a.pos.value(0));
    const QVector<SpielplanRow> spiele = matchrecord::matchesOfClass(s.db, k.kid);
    const QHash<int, QString> namen = gruppenNamen(spiele);
    Antwort out;
    out.werte.insert(QStringLiteral("klasse"), k.caption());
    const QStringList kopf = {QStringLiteral("Platz"), QStringLiteral("Name"),     QStringLiteral("Spiele"),
                              QStringLiteral("Siege"), QStringLiteral("Niederl."), QStringLiteral("Sätze"),
                              QStringLiteral("Punkte")};
    const QStringList felder = {QStringLiteral("platz"),       QStringLiteral("name"),
                                QStringLiteral("spiele"),      QStringLiteral("siege"),
                                QStringLiteral("niederlagen"), QStringLiteral("saetze"),
                                QStringLiteral("punkte")};
    for (const Row& g :
         s.db.select(QStringLiteral("SELECT DISTINCT GID,phase FROM Tabellen WHERE KID=:k ORDER BY GID"),
                     {{":k", k.kid}})) {
        const int gid = g.integer(u"GID");
        Tabelle t{QStringLiteral("gruppen"),
                  {},
                  QStringList{QStringLiteral("Phase"), QStringLiteral("Gruppe")} + kopf,
                  QStringList{QStringLiteral("phase"), QStringLiteral("gruppe")} + felder,
                  {}};
        for (const TabellenRow& r : tabellen::gruppeLesen(s.db, k.kid, gid)) {
            if (r.SID <= 0) continue;
            t.zeile({g.integer(u"phase"), namen.value(gid), r.pos + 1, r.bez, r.spielanzahl, r.spielegewonnen,
                     r.spieleverloren, QStringLiteral("%1:%2").arg(r.saetzegewonnen).arg(r.saetzeverloren),
                     QStringLiteral("%1:%2").arg(r.punktegewonnen).arg(r.punkteverloren)});
        }
        out.tabellen << t;
    }
    // A class ending in a knock-out phase: its last match decides first and second place.
    if (!spiele.isEmpty()) {
        const SpielplanRow& letztes = spiele.last();
        if (letztes.gruppe < 0 && letztes.beendet) {
            const bool erster = letztes.siegerSID == letztes.SID1;
            Tabelle t{QStringLiteral("endstand"),
                      QStringLiteral("Endstand"),
                      {QStringLiteral("Platz"), QStringLiteral("Name")},
                      {QStringLiteral("platz"), QStringLiteral("name")},
                      {}};
            t.zeile({1, erster ? letztes.spieler1 : letztes.spieler2});
            t.zeile({2, erster ? letztes.spieler2 : letztes.spieler1});
            out.tabellen << t;
        }
    }
    return out;
}

// ------------------------------------------------------------------------------------------------
// export and live results

volatile std::sig_atomic_t gestoppt = 0;
void stoppen(int) {
    gestoppt = 1;
}

Antwort exportieren(Sitzung& s, const Aufruf& a) {
    s.turnier();
    const QString art = a.pos.value(0).toLower();
    Antwort out;
    if (art == u"html") {
        const QString ordner = QFileInfo(a.pos.value(1)).absoluteFilePath();
        if (a.pos.size() != 2) throw Nutzungsfehler{QStringLiteral("export html ORDNER")};
        if (!QDir().mkpath(ordner)) throw Abgelehnt{exportdatei::nichtGeschrieben(ordner)};
        const bool beobachten = a.hat(QStringLiteral("watch"));
        const int pause = std::max(1, a.zahl(QStringLiteral("interval"), 2));
        const int runden = a.zahl(QStringLiteral("rounds"), 0);
        // The state is taken before the first export: a result written meanwhile is caught at the first look.
        liveexport::Beobachter b(s.state.tid);
        if (beobachten) {
            gestoppt = 0;
            std::signal(SIGINT, stoppen);
            std::signal(SIGTERM, stoppen);
            b.aenderungen(s.db);
        }
        liveexport::allesSchreiben(s.db, s.state.tid, ordner,
                                   beobachten ? liveexport::kNachladenSekunden : 0);
        out.zeilen << QStringLiteral("HTML-Export: %1").arg(QDir(ordner).filePath(liveexport::kStartseite));
        out.werte.insert(QStringLiteral("datei"), QDir(ordner).filePath(liveexport::kStartseite));
        if (!beobachten) return out;

        // Another desk writes the results: each changed class is written again until stopped.
        if (!s.json) {
            s.out << out.zeilen.join(u'\n') << Qt::endl;
            out.zeilen.clear();
        }
        int geschrieben = 0;
        for (int r = 0; !gestoppt && (runden == 0 || r < runden); ++r) {
            for (int i = 0; i < pause * 10 && !gestoppt; ++i)
                QThread::msleep(100);
            for (int kid : b.aenderungen(s.db)) {
                liveexport::klasseSchreiben(s.db, s.state.tid, kid, ordner);
                ++geschrieben;
                if (!s.json) s.out << QStringLiteral("neu geschrieben: Klasse %1").arg(kid) << Qt::endl;
            }
        }
        out.werte.insert(QStringLiteral("neuGeschrieben"), geschrieben);
        return out;
    }
    if (art != u"pdf" && art != u"xlsx") throw Nutzungsfehler{QStringLiteral("export html|pdf|xlsx …")};
    if (a.pos.size() != 3) throw Nutzungsfehler{QStringLiteral("export %1 LISTE DATEI").arg(art)};
    static const QHash<QString, listen::Art> arten = {{QStringLiteral("spieler"), listen::Art::Spieler},
                                                      {QStringLiteral("players"), listen::Art::Spieler},
                                                      {QStringLiteral("spielplan"), listen::Art::Spielplan},
                                                      {QStringLiteral("matches"), listen::Art::Spielplan},
                                                      {QStringLiteral("schiri"), listen::Art::Schiri},
                                                      {QStringLiteral("umpires"), listen::Art::Schiri},
                                                      {QStringLiteral("teams"), listen::Art::Team},
                                                      {QStringLiteral("tabellen"), listen::Art::Tabellen},
                                                      {QStringLiteral("standings"), listen::Art::Tabellen}};
    const QString liste = a.pos.value(1).toLower();
    if (!arten.contains(liste))
        throw Nutzungsfehler{
            QStringLiteral("LISTE: spieler, spielplan, schiri, teams oder tabellen, nicht „%1“").arg(liste)};
    const int kid = a.hat(QStringLiteral("class")) ? klasse(s, a.wert(QStringLiteral("class"))).kid : 0;
    std::optional<listen::Datensatz> d;
    for (const listen::Datensatz& x : listen::datensaetze(s.db, s.state.tid))
        if (x.art == arten[liste] && x.kid == kid) d = x;
    if (!d)
        throw Abgelehnt{QStringLiteral("Diese Liste gibt es für %1 nicht")
                            .arg(kid ? QStringLiteral("diese Klasse") : QStringLiteral("das ganze Turnier"))};
    QStringList spalten = a.wert(QStringLiteral("columns")).split(u',', Qt::SkipEmptyParts);
    if (spalten.isEmpty()) spalten = listen::vorgewaehlt(d->art);
    listen::Liste l;
    try {
        l = listen::liste(s.db, s.state.tid, s.state.turniername, *d, spalten);
    } catch (const std::invalid_argument&) {
        QStringList moeglich;
        for (const listen::Spalte& c : listen::katalog(d->art))
            moeglich << c.caption;
        throw Nutzungsfehler{QStringLiteral("--columns: %1").arg(moeglich.join(QStringLiteral(",")))};
    }
    const QString datei = QFileInfo(a.pos.value(2)).absoluteFilePath();
    if (art == u"pdf")
        pdflisten::schreiben(datei, l, s.state.turniername);
    else
        xlsxexport::schreiben(datei, l);
    out.zeilen << QStringLiteral("%1: %2 (%3 Zeilen)").arg(d->text, datei).arg(l.zeilen.size());
    out.werte.insert(QStringLiteral("datei"), datei);
    out.werte.insert(QStringLiteral("zeilen"), int(l.zeilen.size()));
    return out;
}

Antwort live(Sitzung& s, const Aufruf& a) {
    s.turnier();
    Antwort out;
    if (a.hat(QStringLiteral("off"))) {
        liveexport::setOrdner(s.db, s.state.tid, {});
    } else if (!a.pos.isEmpty()) {
        const QString ordner = QFileInfo(a.pos.value(0)).absoluteFilePath();
        if (!QDir().mkpath(ordner)) throw Abgelehnt{exportdatei::nichtGeschrieben(ordner)};
        liveexport::setOrdner(s.db, s.state.tid, ordner);
        liveexport::allesSchreiben(s.db, s.state.tid, ordner, liveexport::kNachladenSekunden);
    }
    const QString ordner = liveexport::ordner(s.db, s.state.tid);
    out.zeilen
        << QStringLiteral("Live-Ergebnisse: %1").arg(ordner.isEmpty() ? QStringLiteral("aus") : ordner);
    out.werte.insert(QStringLiteral("ordner"), ordner);
    return out;
}

// ------------------------------------------------------------------------------------------------

struct Befehl {
    QString name;
    QString syntax;
    QString hilfe;
    int minPos = 0;
    int maxPos = 0; // -1 any number
    QList<Optionsart> optionen;
    std::function<Antwort(Sitzung&, const Aufruf&)> lauf;
};

const QList<Befehl>& befehle() {
    static const QList<Befehl> liste = {
        {QStringLiteral("tournament create"),
         QStringLiteral("NAME"),
         QStringLiteral("legt ein Turnier an (die Datei-Datenbank, wenn sie fehlt)"),
         1,
         1,
         {{QStringLiteral("from"), true, QStringLiteral("erster Tag TT.MM.JJJJ")},
          {QStringLiteral("to"), true, QStringLiteral("letzter Tag TT.MM.JJJJ")},
          {QStringLiteral("place"), true, QStringLiteral("Austragungsort")}},
         turnierAnlegen},
        {QStringLiteral("tournament list"),
         {},
         QStringLiteral("alle Turniere der Datenbank"),
         0,
         0,
         {},
         turnierListe},
        {QStringLiteral("tournament delete"),
         QStringLiteral("NAME|TID"),
         QStringLiteral("löscht ein Turnier (fragt: --yes)"),
         1,
         1,
         {},
         turnierLoeschen},
        {QStringLiteral("class add"),
         QStringLiteral("NAME"),
         QStringLiteral("legt eine Klasse an"),
         1,
         1,
         {{QStringLiteral("kind"), true, QStringLiteral("einzel (Vorgabe), doppel, mixed, team")},
          {QStringLiteral("sets"), true, QStringLiteral("Gewinnsätze (Vorgabe 3)")},
          {QStringLiteral("age"), true, QStringLiteral("Altersklasse")},
          {QStringLiteral("fee"), true, QStringLiteral("Startgebühr")},
          {QStringLiteral("start"), true, QStringLiteral("Beginn HH:MM")},
          {QStringLiteral("women"), false, QStringLiteral("eine Damenklasse")},
          {QStringLiteral("mixed-sex"), false, QStringLiteral("Damen und Herren")},
          {QStringLiteral("tables"), true, QStringLiteral("Anzahl Tische (Vorgabe 2)")},
          {QStringLiteral("phase1"), true,
           QStringLiteral("gruppen:ANZAHL:PLÄTZE[:WEITER[:BESTE]] | ko | doppelko (Vorgabe ko)")},
          {QStringLiteral("phase2"), true, QStringLiteral("wie --phase1")},
          {QStringLiteral("phase3"), true, QStringLiteral("wie --phase1")},
          {QStringLiteral("team-players"), true, QStringLiteral("Spieler je Team (Vorgabe 2)")},
          {QStringLiteral("team-reserve"), true, QStringLiteral("Ersatzspieler je Team")},
          {QStringLiteral("rubbers"), true,
           QStringLiteral("Spiele eines Mannschaftskampfs, z. B. A1-B2,A2-B1,D1-D1")}},
         klasseAnlegen},
        {QStringLiteral("class list"),
         {},
         QStringLiteral("die Klassen des Turniers"),
         0,
         0,
         {},
         klassenListe},
        {QStringLiteral("player add"),
         QStringLiteral("NACHNAME VORNAME"),
         QStringLiteral("legt einen Spieler an und meldet ihn"),
         2,
         2,
         {{QStringLiteral("club"), true, QStringLiteral("Verein")},
          {QStringLiteral("female"), false, QStringLiteral("weiblich")},
          {QStringLiteral("born"), true, QStringLiteral("Geburtsdatum TT.MM.JJJJ")},
          {QStringLiteral("number"), true, QStringLiteral("Rückennummer")},
          {QStringLiteral("checked-in"), false, QStringLiteral("gleich anwesend")},
          {QStringLiteral("class"), true, QStringLiteral("Meldung für eine Klasse (mehrfach)")},
          {QStringLiteral("partner"), true,
           QStringLiteral("KLASSE=NACHNAME, VORNAME: Doppelpartner (mehrfach)")}},
         spielerAnlegen},
        {QStringLiteral("player list"),
         {},
         QStringLiteral("die Spieler des Turniers"),
         0,
         0,
         {},
         spielerListe},
        {QStringLiteral("team add"),
         QStringLiteral("KLASSE TEAMNAME"),
         QStringLiteral("legt ein Team an"),
         2,
         2,
         {{QStringLiteral("club"), true, QStringLiteral("Verein")},
          {QStringLiteral("players"), true, QStringLiteral("\"Nachname, Vorname;Nachname, Vorname\"")}},
         teamAnlegen},
        {QStringLiteral("import"),
         QStringLiteral("DATEI"),
         QStringLiteral("importiert Spieler (.xlsx, .csv, Anmeldeformular .docx, Turnierdatei)"),
         1,
         1,
         {{QStringLiteral("columns"), true,
           QStringLiteral("Bedeutung der Tabellenspalten, z. B. Nachname,Vorname,Verein")},
          {QStringLiteral("from-tournament"), true,
           QStringLiteral("Turnier der Turnierdatei (Name oder Nummer)")}},
         importieren},
        {QStringLiteral("checkin"),
         QStringLiteral("[\"NACHNAME, VORNAME\"…]"),
         QStringLiteral("meldet Spieler und Teams als anwesend"),
         0,
         -1,
         {{QStringLiteral("team"), true, QStringLiteral("ein Team mit seinen Spielern (mehrfach)")},
          {QStringLiteral("all"), false, QStringLiteral("alle Spieler und Teams")},
          {QStringLiteral("out"), false, QStringLiteral("abmelden statt anmelden")}},
         anmelden},
        {QStringLiteral("draw"),
         QStringLiteral("KLASSE"),
         QStringLiteral("automatische Auslosung und Fertigstellen"),
         1,
         1,
         {{QStringLiteral("seed"), true,
           QStringLiteral("Startwert des Zufalls: gleiche Auslosung bei gleichem Wert")},
          {QStringLiteral("ignore-club"), false, QStringLiteral("Vereine nicht trennen")}},
         auslosen},
        {QStringLiteral("plan"),
         QStringLiteral("KLASSE"),
         QStringLiteral("jedes Spiel mit Nummer, Phase, Gruppe, Seiten, Status, Ergebnis"),
         0,
         1,
         {{QStringLiteral("playable"), false, QStringLiteral("nur Spiele, die gespielt werden können")},
          {QStringLiteral("all"), false,
           QStringLiteral("alle Klassen; jede Zeile beginnt mit der Klassennummer (KID)")}},
         plan},
        {QStringLiteral("result"),
         QStringLiteral("KLASSE SPIEL SATZ…"),
         QStringLiteral(
             "trägt ein Ergebnis in Satznotation ein (+9 / 9: 11:9 gewonnen, -12: 12:14 verloren)"),
         2,
         11,
         {{QStringLiteral("result"), true,
           QStringLiteral(
               "Endergebnis a:b, wenn es nicht aus den Sätzen (den gewonnenen Einzelspielen) folgt")},
          {QStringLiteral("rubber"), true,
           QStringLiteral("Mannschaftsspiel: ein Einzelspiel nach dem anderen, \"3:1 8 6 -9 5\" oder \"-\" "
                          "(mehrfach)")},
          {QStringLiteral("table"), true, QStringLiteral("Tisch")},
          {QStringLiteral("umpire"), true, QStringLiteral("Schiedsrichter")},
          {QStringLiteral("correct"), false, QStringLiteral("ein eingetragenes Ergebnis korrigieren")},
          {QStringLiteral("keep-tie-order"), false,
           QStringLiteral("Direkter Vergleich: berechnete Reihenfolge übernehmen")}},
         ergebnis},
        {QStringLiteral("undo"),
         QStringLiteral("KLASSE SPIEL"),
         QStringLiteral("nimmt ein Ergebnis und alles darauf Folgende zurück"),
         2,
         2,
         {{QStringLiteral("keep-tie-order"), false,
           QStringLiteral("Direkter Vergleich: berechnete Reihenfolge übernehmen")}},
         zuruecksetzen},
        {QStringLiteral("standings"),
         QStringLiteral("KLASSE"),
         QStringLiteral("Tabellen der Gruppen und Endstand"),
         1,
         1,
         {},
         standings},
        {QStringLiteral("export"),
         QStringLiteral("html ORDNER | pdf|xlsx LISTE DATEI"),
         QStringLiteral(
             "HTML-Seiten, PDF- oder Excel-Listen (LISTE: spieler, spielplan, schiri, teams, tabellen)"),
         2,
         3,
         {{QStringLiteral("class"), true, QStringLiteral("Liste einer Klasse statt des ganzen Turniers")},
          {QStringLiteral("columns"), true, QStringLiteral("Spalten der Liste, durch Komma getrennt")},
          {QStringLiteral("watch"), false,
           QStringLiteral(
               "html: Seiten laden alle 30 s neu; geänderte Klassen werden neu geschrieben, bis Strg+C")},
          {QStringLiteral("interval"), true,
           QStringLiteral("--watch: Sekunden zwischen zwei Blicken in die Datenbank (Vorgabe 2)")},
          {QStringLiteral("rounds"), true, QStringLiteral("--watch: nach so vielen Blicken enden")}},
         exportieren},
        {QStringLiteral("live"),
         QStringLiteral("[ORDNER]"),
         QStringLiteral("Live-Ergebnisse des Turniers: Ordner setzen, zeigen oder mit --off abschalten"),
         0,
         1,
         {{QStringLiteral("off"), false, QStringLiteral("Live-Ergebnisse aus")}},
         live},
    };
    return liste;
}

void hilfeAllgemein(QTextStream& out) {
    out << QStringLiteral(
               "velmora-cli [--db DATEI | --server HOST[:PORT]] [--tournament T] [--json] [--yes] BEFEHL …")
        << Qt::endl
        << Qt::endl;
    for (const Befehl& b : befehle())
        out << QStringLiteral("  ") << (b.name + QStringLiteral(" ") + b.syntax).leftJustified(44) << b.hilfe
            << Qt::endl;
    out << QStringLiteral("  ") << QStringLiteral("batch [DATEI|-]").leftJustified(44)
        << QStringLiteral("führt Befehle zeilenweise in einer Sitzung aus") << Qt::endl
        << Qt::endl;
    for (const Optionsart& o : kGlobal)
        out << QStringLiteral("  --")
            << (o.name + (o.wert ? QStringLiteral(" WERT") : QString())).leftJustified(42) << o.hilfe
            << Qt::endl;
    out << Qt::endl
        << QStringLiteral("Exit-Status: 0 erledigt, 1 Eingabe abgelehnt, 2 Aufruf fehlerhaft. "
                          "BEFEHL --help zeigt die Optionen eines Befehls.")
        << Qt::endl;
}

void hilfe(QTextStream& out, const Befehl& b) {
    out << QStringLiteral("velmora-cli ") << b.name << QStringLiteral(" ") << b.syntax << Qt::endl
        << QStringLiteral("  ") << b.hilfe << Qt::endl;
    for (const Optionsart& o : b.optionen)
        out << QStringLiteral("  --")
            << (o.name + (o.wert ? QStringLiteral(" WERT") : QString())).leftJustified(24) << o.hilfe
            << Qt::endl;
}

const Optionsart* findeOption(const QList<Optionsart>& l, const QString& name) {
    for (const Optionsart& o : l)
        if (o.name == name) return &o;
    return nullptr;
}

// Splits words into positional arguments and options of the given set plus the global ones.
Aufruf zerlegen(const QStringList& w, const QList<Optionsart>& eigene) {
    Aufruf a;
    bool nurArgumente = false;
    for (int i = 0; i < w.size(); ++i) {
        QString t = w[i];
        if (nurArgumente || !t.startsWith(u'-') || t == u"-" || istZahl(t)) {
            a.pos << t;
            continue;
        }
        if (t == u"--") {
            nurArgumente = true;
            continue;
        }
        if (t == u"-h") t = QStringLiteral("--help");
        if (t == u"-t") t = QStringLiteral("--tournament");
        if (!t.startsWith(u"--")) throw Nutzungsfehler{QStringLiteral("Unbekannte Option %1").arg(t)};
        QString name = t.mid(2);
        std::optional<QString> wert;
        if (const int gleich = int(name.indexOf(u'=')); gleich > 0) {
            wert = name.mid(gleich + 1);
            name = name.left(gleich);
        }
        const Optionsart* o = findeOption(eigene, name);
        if (!o) o = findeOption(kGlobal, name);
        if (!o) throw Nutzungsfehler{QStringLiteral("Unbekannte Option --%1").arg(name)};
        if (o->wert && !wert) {
            if (i + 1 >= w.size()) throw Nutzungsfehler{QStringLiteral("--%1 braucht einen Wert").arg(name)};
            wert = w[++i];
        }
        if (!o->wert && wert) throw Nutzungsfehler{QStringLiteral("--%1 nimmt keinen Wert").arg(name)};
        a.opt << qMakePair(name, wert.value_or(QString()));
    }
    return a;
}

// How many words at the front are session options (with their values).
int fuehrendeOptionen(const QStringList& w) {
    int i = 0;
    while (i < w.size() && w[i].startsWith(u'-') && !istZahl(w[i]) && w[i] != u"--") {
        const Optionsart* o = findeOption(kGlobal, w[i].mid(2));
        if ((w[i] == u"-t" || (o && o->wert)) && !w[i].contains(u'=')) ++i;
        ++i;
    }
    return std::min(i, int(w.size()));
}

const Befehl* findeBefehl(QStringList& pos) {
    for (const Befehl& b : befehle()) {
        const QStringList n = b.name.split(u' ');
        if (pos.size() >= n.size() && pos.mid(0, n.size()) == n) {
            pos = pos.mid(n.size());
            return &b;
        }
    }
    return nullptr;
}

int melden(Sitzung& s, int status, const QString& text, bool gezeigt) {
    if (!gezeigt && !text.isEmpty()) s.err << text << Qt::endl;
    if (s.json) {
        Antwort a;
        a.werte.insert(QStringLiteral("fehler"), text);
        a.werte.insert(QStringLiteral("status"), status);
        alsJson(s.out, a, s.ui.meldungen);
    }
    return status;
}

// One command in a session; its options are the session's for this command only.
int befehlAusfuehren(Sitzung& s, const QStringList& woerter, const Aufruf& global) {
    s.ui.leeren();
    const QString vorher = s.turnierWahl;
    const bool jsonVorher = s.json;
    struct Zurueck {
        Sitzung& s;
        QString t;
        bool j;
        ~Zurueck() {
            s.turnierWahl = t;
            s.json = j;
        }
    } zurueck{s, vorher, jsonVorher};
    // The command's words follow the leading session options.
    QStringList rest = woerter.mid(fuehrendeOptionen(woerter));
    const Befehl* b = findeBefehl(rest);
    try {
        if (!b) {
            if (global.hat(QStringLiteral("help")) || woerter.contains(QStringLiteral("--help")) ||
                woerter.contains(QStringLiteral("-h")) || woerter.isEmpty()) {
                hilfeAllgemein(s.out);
                return woerter.isEmpty() && !global.hat(QStringLiteral("help")) ? kNutzungsfehler : kErfolg;
            }
            throw Nutzungsfehler{QStringLiteral("Unbekannter Befehl „%1“").arg(rest.join(u' '))};
        }
        Aufruf a = zerlegen(woerter, b->optionen);
        a.pos = a.pos.mid(b->name.count(u' ') + 1);
        if (a.hat(QStringLiteral("help")) || global.hat(QStringLiteral("help"))) {
            hilfe(s.out, *b);
            return kErfolg;
        }
        if (a.pos.size() < b->minPos || (b->maxPos >= 0 && a.pos.size() > b->maxPos))
            throw Nutzungsfehler{QStringLiteral("Aufruf: velmora-cli %1 %2").arg(b->name, b->syntax)};
        if (a.hat(QStringLiteral("tournament"))) s.turnierWahl = a.wert(QStringLiteral("tournament"));
        if (a.hat(QStringLiteral("json"))) s.json = true;
        if (a.hat(QStringLiteral("yes"))) s.ui.jaZuAllem = true;
        if (a.hat(QStringLiteral("db")) || a.hat(QStringLiteral("server"))) {
            if (s.verbunden &&
                (a.wert(QStringLiteral("db")) != s.datei || a.wert(QStringLiteral("server")) != s.server))
                throw Nutzungsfehler{QStringLiteral("--db und --server gelten für die ganze Sitzung")};
            s.datei = a.wert(QStringLiteral("db"));
            s.server = a.wert(QStringLiteral("server"));
        }
        const Antwort antwort = b->lauf(s, a);
        if (s.json)
            alsJson(s.out, antwort, s.ui.meldungen);
        else
            alsText(s.out, antwort);
        return kErfolg;
    } catch (const Nutzungsfehler& e) {
        s.err << e.text << Qt::endl;
        if (b) s.err << QStringLiteral("velmora-cli %1 --help zeigt die Optionen").arg(b->name) << Qt::endl;
        return kNutzungsfehler;
    } catch (const Abgelehnt& e) {
        return melden(s, kAbgelehnt, e.text, e.gezeigt);
    } catch (const DbError& e) {
        return melden(s, kAbgelehnt, e.message(), false);
    } catch (const ExportFehler& e) {
        return melden(s, kAbgelehnt, e.message(), false);
    }
}

int stapel(Sitzung& s, const QString& datei, const Aufruf& global) {
    QFile f;
    if (datei.isEmpty() || datei == u"-") {
        if (!f.open(stdin, QIODevice::ReadOnly)) return melden(s, kAbgelehnt, QStringLiteral("stdin"), false);
    } else {
        f.setFileName(datei);
        if (!f.open(QIODevice::ReadOnly))
            return melden(s, kAbgelehnt,
                          QStringLiteral("Die Datei „%1“ kann nicht gelesen werden").arg(datei), false);
    }
    int nr = 0;
    while (!f.atEnd()) {
        const QString zeile = QString::fromUtf8(f.readLine()).trimmed();
        ++nr;
        if (zeile.isEmpty() || zeile.startsWith(u'#')) continue;
        const int status = befehlAusfuehren(s, woerter(zeile), global);
        if (status != kErfolg) {
            s.err << QStringLiteral("Zeile %1: %2").arg(nr).arg(zeile) << Qt::endl;
            return status;
        }
    }
    return kErfolg;
}

} // namespace

QStringList woerter(const QString& zeile) {
    QStringList out;
    QString wort;
    bool inWort = false, inQuote = false;
    for (int i = 0; i < zeile.size(); ++i) {
        const QChar c = zeile[i];
        if (c == u'\\' && i + 1 < zeile.size() && zeile[i + 1] == u'"') {
            wort += u'"';
            inWort = true;
            ++i;
        } else if (c == u'"') {
            inQuote = !inQuote;
            inWort = true;
        } else if (c.isSpace() && !inQuote) {
            if (inWort) out << wort;
            wort.clear();
            inWort = false;
        } else {
            wort += c;
            inWort = true;
        }
    }
    if (inWort) out << wort;
    return out;
}

int ausfuehren(const QStringList& args, QTextStream& out, QTextStream& err, const QString& programDir) {
    Sitzung s(out, err);
    s.programmordner = programDir;
    // The session's options come before the command; batch lines may add options of their own.
    const int i = fuehrendeOptionen(args);
    const QStringList sitzung = args.mid(0, i);
    Aufruf global;
    try {
        global = zerlegen(sitzung, {});
    } catch (const Nutzungsfehler& e) {
        err << e.text << Qt::endl;
        return kNutzungsfehler;
    }
    if (!global.pos.isEmpty()) {
        err << QStringLiteral("Unerwartetes Argument %1").arg(global.pos.first()) << Qt::endl;
        return kNutzungsfehler;
    }
    if (global.hat(QStringLiteral("db")) && global.hat(QStringLiteral("server"))) {
        err << QStringLiteral("--db oder --server, nicht beides") << Qt::endl;
        return kNutzungsfehler;
    }
    s.datei = global.wert(QStringLiteral("db"));
    s.server = global.wert(QStringLiteral("server"));
    s.datenbank = global.wert(QStringLiteral("database"), tournaments::kDatabaseName);
    s.turnierWahl = global.wert(QStringLiteral("tournament"));
    s.json = global.hat(QStringLiteral("json"));
    s.ui.jaZuAllem = global.hat(QStringLiteral("yes"));
    const QStringList rest = args.mid(i);
    if (rest.value(0) == u"batch") {
        if (global.hat(QStringLiteral("help")) || rest.contains(QStringLiteral("--help"))) {
            out << QStringLiteral("velmora-cli batch [DATEI|-]: eine Zeile je Befehl in einer Sitzung, "
                                  "# beginnt einen Kommentar; hält beim ersten Fehler an")
                << Qt::endl;
            return kErfolg;
        }
        if (rest.size() > 2) {
            err << QStringLiteral("Aufruf: velmora-cli batch [DATEI|-]") << Qt::endl;
            return kNutzungsfehler;
        }
        return stapel(s, rest.value(1), global);
    }
    return befehlAusfuehren(s, rest, global);
}

} // namespace cli
