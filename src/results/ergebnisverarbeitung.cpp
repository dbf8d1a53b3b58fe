#include "results/ergebnisverarbeitung.h"

#include "common/interaction.h"
#include "draw/labels.h"
#include "play/freilos.h"
#include "results/satznotation.h"
#include "results/tabellen_db.h"
#include "store/db_procedures.h"

#include <QSet>
#include <algorithm>
#include <stdexcept>

const QString Ergebnisverarbeitung::kGruppeBeendet = QStringLiteral("Gruppe beendet");
const QString Ergebnisverarbeitung::kPhaseBeendet = QStringLiteral("Phase beendet");
const QString Ergebnisverarbeitung::kSeitenUnbekannt =
    QStringLiteral("Für dieses Spiel stehen noch nicht beide Spieler fest");
const QString Ergebnisverarbeitung::kSchonBeendet = QStringLiteral(
    "Dieses Spiel ist bereits beendet. Ein anderes Ergebnis wird mit \"Korrigieren\" eingetragen");
const QString Ergebnisverarbeitung::kKeinErgebnis =
    QStringLiteral("Für dieses Spiel ist kein Ergebnis eingetragen");
const QString Ergebnisverarbeitung::kSpielFehlt = QStringLiteral("Das Spiel ist nicht vorhanden");

namespace {

// A refusal found inside the run: the transaction is rolled back and the text shown.
struct Ablehnung {
    QString text;
};

// A tie that needs the operator: the run is rolled back, the question asked, and the run repeated.
struct FrageOffen {
    QString schluessel;
    QVector<TabellenRow> eintraege;
};

// Answers by question: the SIDs in the chosen order.
using Antworten = QHash<QString, QVector<int>>;

QVector<int> sids(const QVector<TabellenRow>& rows) {
    QVector<int> out;
    out.reserve(rows.size());
    for (const TabellenRow& r : rows)
        out << r.SID;
    return out;
}

QString schluessel(const QString& art, int nummer, const QVector<TabellenRow>& rows) {
    QStringList teile;
    for (int s : sids(rows))
        teile << QString::number(s);
    return art + QString::number(nummer) + u':' + teile.join(u',');
}

// The settings of the class that result processing needs, read with one statement.
struct Klassenwerte {
    int tid = 0;
    int system = 0;
    int saetze = 3;
    std::array<int, 3> besten{0, 0, 0};
    std::array<int, 3> bestplazierten{0, 0, 0};

    tabelle::Kette kette() const { return system == 3 ? tabelle::Kette::Team : tabelle::Kette::Einzel; }
    int bestenVon(int phase) const { return phase >= 1 && phase <= 3 ? besten[phase - 1] : 0; }
    int bestplaziertenVon(int phase) const {
        return phase >= 1 && phase <= 3 ? bestplazierten[phase - 1] : 0;
    }
};

Klassenwerte klassenwerte(Tdb_procedures& db, int kid) {
    const Row r = db.selectOne(
        QStringLiteral(
            "SELECT k.TID,k.system,k.saetze,g.besten1,g.besten2,g.besten3,g.bestplazierten1,"
            "g.bestplazierten2,g.bestplazierten3 FROM Turnierklassen k LEFT JOIN Gruppeneinstellungen g "
            "ON g.KID=k.KID WHERE k.KID=:ID"),
        {{QStringLiteral(":ID"), kid}});
    Klassenwerte w;
    w.tid = r.integer(u"TID");
    w.system = r.integer(u"system");
    w.saetze = r.isNull(u"saetze") || r.integer(u"saetze") < 1 ? 3 : r.integer(u"saetze");
    for (int p = 0; p < 3; ++p) {
        w.besten[p] = r.integer(QStringLiteral("besten%1").arg(p + 1));
        w.bestplazierten[p] = r.integer(QStringLiteral("bestplazierten%1").arg(p + 1));
    }
    return w;
}

Params aufSpiel(int kid, int snr, Params p = {}) {
    p.append({QStringLiteral(":ID"), kid});
    p.append({QStringLiteral(":snr"), snr});
    return p;
}

// The columns of a match that result processing and undo look at; reading only these keeps the many
// reads of one run cheap. The other fields of a row read so keep their defaults.
const QString kSpalten = QStringLiteral(
    "spielnummer,SID1,SID2,spieler1,spieler2,satz1,satz2,satz3,satz4,satz5,satz6,satz7,satz8,satz9,ergebnis,"
    "parentspiel1,parentspiel2,parentsieger1,parentsieger2,parentGID1,parentGID2,parentpos1,parentpos2,"
    "siegerSID,verliererSID,beendet,manuell,phase,gruppe");

SpielplanRow leicht(const Row& r, int kid) {
    SpielplanRow m;
    m.KID = kid;
    m.spielnummer = r.integer(u"spielnummer");
    m.SID1 = r.integer(u"SID1");
    m.SID2 = r.integer(u"SID2");
    m.spieler1 = r.text(u"spieler1");
    m.spieler2 = r.text(u"spieler2");
    static const QString satz[9] = {
        QStringLiteral("satz1"), QStringLiteral("satz2"), QStringLiteral("satz3"),
        QStringLiteral("satz4"), QStringLiteral("satz5"), QStringLiteral("satz6"),
        QStringLiteral("satz7"), QStringLiteral("satz8"), QStringLiteral("satz9")};
    for (int k = 0; k < 9; ++k)
        m.satz[k] = r.isNull(satz[k]) ? std::nullopt : std::optional<int>(r.integer(satz[k]));
    m.ergebnis = r.isNull(u"ergebnis") ? std::nullopt : std::optional<QString>(r.text(u"ergebnis"));
    m.parentspiel1 = r.integer(u"parentspiel1");
    m.parentspiel2 = r.integer(u"parentspiel2");
    m.parentsieger1 = r.boolean(u"parentsieger1");
    m.parentsieger2 = r.boolean(u"parentsieger2");
    m.parentGID1 = r.integer(u"parentGID1");
    m.parentGID2 = r.integer(u"parentGID2");
    m.parentpos1 = r.integer(u"parentpos1");
    m.parentpos2 = r.integer(u"parentpos2");
    m.siegerSID = r.integer(u"siegerSID");
    m.verliererSID = r.integer(u"verliererSID");
    m.beendet = r.boolean(u"beendet");
    m.manuell = r.boolean(u"manuell");
    m.phase = r.integer(u"phase");
    m.gruppe = r.integer(u"gruppe");
    return m;
}

QVector<SpielplanRow> spieleAus(const Rows& rows, int kid) {
    QVector<SpielplanRow> out;
    out.reserve(rows.size());
    for (const Row& r : rows)
        out << leicht(r, kid);
    return out;
}

// The two sides of a match as they stand.
struct Seiten {
    int sid1 = -1;
    QString name1;
    int sid2 = -1;
    QString name2;
};
Seiten seitenVon(const SpielplanRow& m) {
    return {m.SID1, m.spieler1, m.SID2, m.spieler2};
}

// Empties side `seite` of a match, wipes its result and puts it back to not planned.
const QString kSeiteLeeren[2] = {
    QStringLiteral("UPDATE Spielplan SET SID1=-1,spieler1=:bez,satz1=NULL,satz2=NULL,satz3=NULL,satz4=NULL,"
                   "satz5=NULL,satz6=NULL,satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,"
                   "verliererSID=-1,beendet=0,in_planung=0,begonnen=0 WHERE KID=:ID AND spielnummer=:snr"),
    QStringLiteral("UPDATE Spielplan SET SID2=-1,spieler2=:bez,satz1=NULL,satz2=NULL,satz3=NULL,satz4=NULL,"
                   "satz5=NULL,satz6=NULL,satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,"
                   "verliererSID=-1,beendet=0,in_planung=0,begonnen=0 WHERE KID=:ID AND spielnummer=:snr"),
};

// The same for the rubbers of a team match, whose sides are the teams.
const QString kRubberLeeren[2] = {
    QStringLiteral(
        "UPDATE Teamspiele SET MID1=-1,SID1=-1,spieler1=:bez,satz1=NULL,satz2=NULL,satz3=NULL,"
        "satz4=NULL,satz5=NULL,satz6=NULL,satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,"
        "verliererSID=-1,beendet=0,in_planung=0,begonnen=0 WHERE KID=:ID AND spielnummer=:snr"),
    QStringLiteral(
        "UPDATE Teamspiele SET MID2=-1,SID2=-1,spieler2=:bez,satz1=NULL,satz2=NULL,satz3=NULL,"
        "satz4=NULL,satz5=NULL,satz6=NULL,satz7=NULL,satz8=NULL,satz9=NULL,ergebnis=NULL,siegerSID=-1,"
        "verliererSID=-1,beendet=0,in_planung=0,begonnen=0 WHERE KID=:ID AND spielnummer=:snr"),
};

const QString kRubberFuellen[2] = {
    QStringLiteral("UPDATE Teamspiele SET MID1=:s,spieler1=:b WHERE KID=:ID AND spielnummer=:snr"),
    QStringLiteral("UPDATE Teamspiele SET MID2=:s,spieler2=:b WHERE KID=:ID AND spielnummer=:snr"),
};

const QString kSeiteFuellen[2] = {
    QStringLiteral("UPDATE Spielplan SET SID1=:s,spieler1=:b WHERE KID=:ID AND spielnummer=:snr"),
    QStringLiteral("UPDATE Spielplan SET SID2=:s,spieler2=:b WHERE KID=:ID AND spielnummer=:snr"),
};

bool offen(const SpielplanRow& m) {
    return !m.spieler1.isEmpty() && !m.spieler2.isEmpty() && !m.beendet;
}

} // namespace

// One run of a result or undo inside its transaction: reads, computes and writes, and collects what
// changed. An undecided tie throws FrageOffen, a refusal Ablehnung.
struct Ergebnisverarbeitung::Lauf {
    Tdb_procedures& db;
    int kid;
    const Antworten& antworten;
    Klassenwerte kw;
    QSet<int> geaendert;
    QVector<int> nachgerueckt;
    bool gruppeBeendet = false;
    bool phaseBeendet = false;

    Lauf(Tdb_procedures& d, int k, const Antworten& a)
        : db(d), kid(k), antworten(a), kw(klassenwerte(d, k)) {}

    SpielplanRow spiel(int snr) {
        const Rows rows = db.select(QStringLiteral("SELECT ") + kSpalten +
                                        QStringLiteral(" FROM Spielplan WHERE KID=:ID AND spielnummer=:snr"),
                                    aufSpiel(kid, snr));
        if (rows.isEmpty()) throw Ablehnung{kSpielFehlt};
        return leicht(rows.first(), kid);
    }

    QVector<SpielplanRow> spieleWo(const QString& bedingung, const Params& p) {
        return spieleAus(db.select(QStringLiteral("SELECT ") + kSpalten +
                                       QStringLiteral(" FROM Spielplan WHERE ") + bedingung +
                                       QStringLiteral(" ORDER BY spielnummer"),
                                   p),
                         kid);
    }

    QVector<SpielplanRow> gruppenspiele(int gid) {
        return spieleWo(QStringLiteral("KID=:ID AND gruppe=:g"),
                        {{QStringLiteral(":ID"), kid}, {QStringLiteral(":g"), gid}});
    }

    // The rows in the order the operator chose, or FrageOffen when he has not been asked yet.
    QVector<TabellenRow> entscheiden(const QString& art, int nummer, const QVector<TabellenRow>& rows) {
        const QString key = schluessel(art, nummer, rows);
        const auto it = antworten.constFind(key);
        if (it == antworten.cend()) throw FrageOffen{key, rows};
        QVector<TabellenRow> out;
        for (int sid : *it)
            for (const TabellenRow& r : rows)
                if (r.SID == sid) out << r;
        return out.size() == rows.size() ? out : rows;
    }

    // --- Finishing --------------------------------------------------------------------------------------

    Beendet beenden(const ErgebnisEingabe& e, bool korrektur) {
        const SpielplanRow m = spiel(e.snr);
        if (!hasBothSides(m)) throw Ablehnung{kSeitenUnbekannt};
        if (m.beendet) throw Ablehnung{kSchonBeendet};
        // A team match keeps no sets of its own: they are the rubbers'.
        Saetze saetze;
        QVector<std::pair<QString, Saetze>> rubbers;
        if (team()) {
            rubbers = rubbersGeprueft(e, m.spielnummer);
        } else {
            const QString fehler =
                satznotation::pruefen(e.ergebnis, satznotation::ergebnisliste(kw.saetze), e.saetze, &saetze);
            if (!fehler.isEmpty()) throw Ablehnung{fehler};
        }
        const satznotation::Endergebnis erg = *satznotation::endergebnis(e.ergebnis);

        Beendet out;
        out.snr = m.spielnummer;
        out.gruppe = m.gruppe;
        out.phase = m.phase;
        const bool erster = erg.ersterGewinnt();
        out.siegerSID = erster ? m.SID1 : m.SID2;
        out.verliererSID = erster ? m.SID2 : m.SID1;
        const QString siegerName = erster ? m.spieler1 : m.spieler2;
        const QString verliererName = erster ? m.spieler2 : m.spieler1;

        if (!korrektur) {
            out.spieler = {m.SID1, m.SID2};
            out.schiri = e.schiri.trimmed();
            out.platte = e.platte;
            if (!m.manuell && !e.platte.isEmpty()) {
                int plattensystem = 0;
                if (m.gruppe >= 0)
                    plattensystem =
                        db.selectOne(QStringLiteral("SELECT plattensystem FROM Gruppen WHERE KID=:ID "
                                                    "AND GID=:gid"),
                                     {{QStringLiteral(":ID"), kid}, {QStringLiteral(":gid"), m.gruppe}})
                            .integer(u"plattensystem");
                out.platteZiel = plattensystem == 1 ? PlattenZiel::Gruppe : PlattenZiel::Alle;
            }
        }

        matchrecord::finish(db, kid, m.spielnummer, e.jetzt, saetze, e.ergebnis, out.siegerSID,
                            out.verliererSID);
        // The rubbers before the standings: the team's counters are summed from them.
        for (int n = 0; n < rubbers.size(); ++n)
            rubberSchreiben(m.spielnummer, n + 1, rubbers[n].first, rubbers[n].second);
        geaendert << m.spielnummer;
        if (e.schiripool)
            for (const int sid : team() ? teamSpieler(out.verliererSID) : QVector<int>{out.verliererSID})
                if (const auto neu = verliererAlsSchiri(sid, m.spielnummer)) out.neueSchiris << *neu;

        weitergeben(freilos::siegerVon(m.spielnummer), out.siegerSID, siegerName);
        weitergeben(freilos::verliererVon(m.spielnummer), out.verliererSID, verliererName);

        if (m.gruppe >= 0) {
            const tabelle::Beitrag b = beitragVon(m.spielnummer, erg.a, erg.b, saetze);
            gruppeNachErgebnis(m.gruppe, m.SID1, b.erster, m.SID2, b.zweiter);
            phaseGeprueft(m.phase);
        }
        out.gruppeBeendet = gruppeBeendet;
        out.phaseBeendet = phaseBeendet;
        out.nachgerueckt = nachgerueckt;
        out.geaenderteSpiele = geaendertSortiert();
        out.geschrieben = true;
        return out;
    }

    // The team result must be one the team match allows, each rubber's result one of the class's
    // results with sets that agree with it, or empty with no sets.
    QVector<std::pair<QString, Saetze>> rubbersGeprueft(const ErgebnisEingabe& e, int snr) {
        const int anzahl =
            db.selectOne(
                  QStringLiteral("SELECT MAX(nummer) AS m FROM Teamspiele WHERE KID=:ID AND spielnummer=:nr"),
                  {{QStringLiteral(":ID"), kid}, {QStringLiteral(":nr"), snr}})
                .integer(u"m");
        if (!satznotation::teamErgebnisliste(anzahl).contains(e.ergebnis))
            throw Ablehnung{satznotation::kUngueltigesSpielergebnis};
        const QStringList liste = satznotation::ergebnisliste(kw.saetze);
        QVector<std::pair<QString, Saetze>> out;
        for (int n = 0; n < std::min<int>(e.rubbers.size(), anzahl); ++n) {
            const RubberErgebnis& r = e.rubbers[n];
            const QString vorsatz = QStringLiteral("Spiel %1: ").arg(n + 1);
            Saetze werte;
            const QString ergebnis = r.ergebnis.trimmed();
            if (ergebnis.isEmpty()) {
                for (const QString& satz : r.saetze)
                    if (!satz.trimmed().isEmpty())
                        throw Ablehnung{vorsatz + satznotation::kUngueltigesErgebnis};
            } else if (const QString fehler = satznotation::pruefen(ergebnis, liste, r.saetze, &werte);
                       !fehler.isEmpty()) {
                throw Ablehnung{vorsatz + fehler};
            }
            out.append({ergebnis, werte});
        }
        return out;
    }

    // A rubber not played keeps no result (NULL), as after a withdrawn one.
    void rubberSchreiben(int snr, int nummer, const QString& ergebnis, const Saetze& werte) {
        Params p{{QStringLiteral(":erg"), ergebnis.isEmpty() ? QVariant() : QVariant(ergebnis)},
                 {QStringLiteral(":ID"), kid},
                 {QStringLiteral(":snr"), snr},
                 {QStringLiteral(":nr"), nummer}};
        for (int k = 0; k < 9; ++k)
            p.append({QStringLiteral(":s%1").arg(k + 1), werte[k] ? QVariant(*werte[k]) : QVariant()});
        db.exec(QStringLiteral("UPDATE Teamspiele SET satz1=:s1,satz2=:s2,satz3=:s3,satz4=:s4,satz5=:s5,"
                               "satz6=:s6,satz7=:s7,satz8=:s8,satz9=:s9,ergebnis=:erg WHERE KID=:ID AND "
                               "spielnummer=:snr AND nummer=:nr"),
                p);
    }

    // The players and reserves of a team, in the order s1 … s4, r1, r2.
    QVector<int> teamSpieler(int mid) {
        const Row t = db.selectOne(QStringLiteral("SELECT s1,s2,s3,s4,r1,r2 FROM Teams WHERE MID=:ID"),
                                   {{QStringLiteral(":ID"), mid}});
        QVector<int> out;
        for (const char* spalte : {"s1", "s2", "s3", "s4", "r1", "r2"})
            if (const int sid = t.integer(QString::fromLatin1(spalte)); sid > 0) out << sid;
        return out;
    }

    QVector<int> geaendertSortiert() const {
        QVector<int> out(geaendert.cbegin(), geaendert.cend());
        std::sort(out.begin(), out.end());
        return out;
    }

    // Every side of the class that waits for `bez` ("Sieger Spiel n", "Verlierer Spiel n") gets the entry.
    void weitergeben(const QString& bez, int sid, const QString& name) {
        const Rows rows = db.select(
            QStringLiteral("SELECT spielnummer,spieler1,spieler2 FROM Spielplan WHERE "
                           "KID=:ID AND (spieler1=:b1 OR spieler2=:b2)"),
            {{QStringLiteral(":ID"), kid}, {QStringLiteral(":b1"), bez}, {QStringLiteral(":b2"), bez}});
        for (const Row& r : rows) {
            const int snr = r.integer(u"spielnummer");
            for (int seite = 0; seite < 2; ++seite)
                if (r.text(seite == 0 ? u"spieler1" : u"spieler2") == bez) seiteSetzen(snr, seite, sid, name);
            geaendert << snr;
        }
    }

    // The loser enrolled as umpire of the tournament, unless he is one under the same name already.
    std::optional<std::pair<int, QString>> verliererAlsSchiri(int sid, int snr) {
        const Row p =
            db.selectOne(QStringLiteral("SELECT nachname,vorname,verein,geb,kverband,bverband,lverband,"
                                        "land,spklasse FROM Spielerdaten WHERE SID=:ID"),
                         {{QStringLiteral(":ID"), sid}});
        if (p.isEmpty()) return std::nullopt;
        const QString n = p.text(u"nachname"), v = p.text(u"vorname");
        const Row da = db.selectOne(
            QStringLiteral("SELECT SCHIRIID FROM Schiri WHERE snname=:n AND svname=:v AND TID=:ID"),
            {{QStringLiteral(":n"), n}, {QStringLiteral(":v"), v}, {QStringLiteral(":ID"), kw.tid}});
        if (!da.isEmpty()) return std::nullopt;
        const int id = db.nextId(QStringLiteral("Schiri"), QStringLiteral("SCHIRIID"));
        db.exec(QStringLiteral(
                    "INSERT INTO Schiri VALUES (:d1,:d2,:d3,:d4,:d5,:d6,:d7,:d8,:d9,:d10,:d11,:d12,:d13)"),
                {{QStringLiteral(":d1"), kw.tid},
                 {QStringLiteral(":d2"), id},
                 {QStringLiteral(":d3"), n},
                 {QStringLiteral(":d4"), v},
                 {QStringLiteral(":d5"), p.isNull(u"geb") ? QVariant() : QVariant(p.date(u"geb"))},
                 {QStringLiteral(":d6"), p.text(u"verein")},
                 {QStringLiteral(":d7"), true},
                 {QStringLiteral(":d8"), p.text(u"kverband")},
                 {QStringLiteral(":d9"), p.text(u"bverband")},
                 {QStringLiteral(":d10"), p.text(u"lverband")},
                 {QStringLiteral(":d11"), p.text(u"land")},
                 {QStringLiteral(":d12"), QStringLiteral("Verlierer aus Spiel ") + QString::number(snr)},
                 {QStringLiteral(":d13"), p.text(u"spklasse")}});
        db.exec(QStringLiteral("INSERT INTO Schiri_im_turnier VALUES (:d1,:d2,:d3)"),
                {{QStringLiteral(":d1"), kw.tid}, {QStringLiteral(":d2"), id}, {QStringLiteral(":d3"), kid}});
        return std::make_pair(id, n + QStringLiteral(", ") + v);
    }

    // Adds a result to the two rows, ranks the group again and, when it is finished, decides its ties
    // and moves every position on into the next phase.
    void gruppeNachErgebnis(int gid, int sid1, const tabelle::Zaehler& z1, int sid2,
                            const tabelle::Zaehler& z2) {
        const QVector<TabellenRow> alt = tabellen::gruppeLesen(db, kid, gid);
        QVector<TabellenRow> gefuellt;
        QVector<TabellenRow> leer;
        for (TabellenRow r : alt) {
            if (r.SID <= -1) {
                leer << r;
                continue;
            }
            if (r.SID == sid1) tabelle::addieren(r, z1);
            if (r.SID == sid2) tabelle::addieren(r, z2);
            gefuellt << r;
        }
        const QVector<SpielplanRow> spiele = gruppenspiele(gid);
        QVector<TabellenRow> rang =
            tabelle::rangliste(gefuellt, kw.kette(), tabelle::Direktvergleich(spiele));

        const bool fertig = std::none_of(spiele.cbegin(), spiele.cend(), offen);
        if (fertig) {
            if (tabelle::geteilteMarkieren(rang)) rang = entscheiden(QStringLiteral("G"), gid, rang);
            for (int i = 0; i < rang.size(); ++i)
                rang[i].pos = i;
        }
        tabellen::aenderungenSchreiben(db, alt, rang);
        if (!fertig) return;

        gruppeBeendet = true;
        // Empty slots take the places behind the entries, so every position is unique and an empty slot
        // passes its emptiness on. From the back, so no two rows share a position while they move.
        QVector<TabellenRow> ende = rang;
        for (int k = int(leer.size()) - 1; k >= 0; --k) {
            const int neu = int(rang.size()) + k;
            if (leer[k].pos != neu)
                db.exec(
                    QStringLiteral("UPDATE Tabellen SET pos=:neu WHERE KID=:ID AND GID=:g AND SID=:sid AND "
                                   "pos=:alt"),
                    {{QStringLiteral(":neu"), neu},
                     {QStringLiteral(":ID"), kid},
                     {QStringLiteral(":g"), gid},
                     {QStringLiteral(":sid"), leer[k].SID},
                     {QStringLiteral(":alt"), leer[k].pos}});
        }
        for (int k = 0; k < leer.size(); ++k) {
            TabellenRow r = leer[k];
            r.pos = int(rang.size()) + k;
            r.SID = -1;
            r.bez = QStringLiteral(""); // empty text, not NULL
            ende << r;
        }
        weiterInNaechstePhase(gid, ende);
    }

    // Every position of a finished group into the slots of the next phase that wait for it.
    void weiterInNaechstePhase(int gid, const QVector<TabellenRow>& ende) {
        const QVector<SpielplanRow> ziele = spieleWo(
            QStringLiteral("KID=:ID AND (parentGID1=:g1 OR parentGID2=:g2)"),
            {{QStringLiteral(":ID"), kid}, {QStringLiteral(":g1"), gid}, {QStringLiteral(":g2"), gid}});
        const Rows plaetze =
            db.select(QStringLiteral("SELECT parentpos FROM Tabellen WHERE KID=:ID AND parentGID=:g"),
                      {{QStringLiteral(":ID"), kid}, {QStringLiteral(":g"), gid}});
        QSet<int> gruppenplaetze;
        for (const Row& r : plaetze)
            gruppenplaetze << r.integer(u"parentpos");

        for (const TabellenRow& r : ende) {
            const int sid = r.SID;
            const QString& bez = r.bez;
            for (const SpielplanRow& m : ziele) {
                if (m.parentGID1 == gid && m.parentpos1 == r.pos) seiteFuellen(m.spielnummer, 0, sid, bez);
                if (m.parentGID2 == gid && m.parentpos2 == r.pos) seiteFuellen(m.spielnummer, 1, sid, bez);
            }
            if (gruppenplaetze.contains(r.pos)) platzFuellen(gid, r.pos, -1, sid, bez);
            if (sid > 0 && !nachgerueckt.contains(sid)) nachgerueckt << sid;
        }
    }

    void seiteFuellen(int snr, int seite, int sid, const QString& bez) {
        seiteSetzen(snr, seite, sid, bez);
        geaendert << snr;
    }

    bool team() const { return kw.system == 3; }

    // A side of match snr and, in a team class, the same side of its rubbers.
    void seiteSetzen(int snr, int seite, int sid, const QString& name) {
        const Params p = aufSpiel(kid, snr, {{QStringLiteral(":s"), sid}, {QStringLiteral(":b"), name}});
        db.exec(kSeiteFuellen[seite], p);
        if (team()) db.exec(kRubberFuellen[seite], p);
    }
    void seiteLeeren(int snr, int seite, const QString& bez) {
        const Params p = aufSpiel(kid, snr, {{QStringLiteral(":bez"), bez}});
        db.exec(kSeiteLeeren[seite], p);
        if (team()) db.exec(kRubberLeeren[seite], p);
    }

    // What finishing m a:b added to the two rows: a team match counts its rubbers as they are stored.
    tabelle::Beitrag beitragVon(int snr, int a, int b, const Saetze& saetze) {
        if (!team()) return tabelle::einzelBeitrag(a, b, saetze);
        QVector<tabelle::Rubber> rubbers;
        for (const TeamspielRow& r : matchrecord::rubbersOfMatch(db, kid, snr))
            rubbers << tabelle::Rubber{r.ergebnis.value_or(QString()), r.satz};
        return tabelle::teamBeitrag(a, b, rubbers);
    }

    // The group and standings rows fed by (parentGID, parentpos); phase > 0 restricts them to that phase.
    void platzFuellen(int parentGID, int parentpos, int phase, int sid, const QString& bez) {
        Params p{{QStringLiteral(":s"), sid},
                 {QStringLiteral(":b"), bez},
                 {QStringLiteral(":ID"), kid},
                 {QStringLiteral(":g"), parentGID},
                 {QStringLiteral(":p"), parentpos}};
        QString bedingung = QStringLiteral(" WHERE KID=:ID AND parentGID=:g AND parentpos=:p");
        if (phase > 0) {
            bedingung += QStringLiteral(" AND phase=:ph");
            p.append({QStringLiteral(":ph"), phase});
        }
        db.exec(QStringLiteral("UPDATE Gruppen SET SID=:s,bez=:b") + bedingung, p);
        db.exec(QStringLiteral("UPDATE Tabellen SET SID=:s,bez=:b") + bedingung, p);
    }

    // After every group result: a phase whose matches are all played moves its best placed on.
    void phaseGeprueft(int phase) {
        const Row r =
            db.selectOne(QStringLiteral("SELECT COUNT(*) AS n FROM Spielplan WHERE KID=:ID AND phase=:p AND "
                                        "beendet=0 AND spieler1<>:sp1 AND spieler2<>:sp2"),
                         {{QStringLiteral(":ID"), kid},
                          {QStringLiteral(":p"), phase},
                          {QStringLiteral(":sp1"), QStringLiteral("")},
                          {QStringLiteral(":sp2"), QStringLiteral("")}});
        if (r.integer(u"n") > 0) return;
        phaseBeendet = true;
        const int anzahl = kw.bestplaziertenVon(phase);
        if (anzahl < 1) return;

        // The candidates stand at the first place that does not qualify directly, one per group.
        QVector<TabellenRow> kandidaten;
        QSet<int> gruppen;
        const Rows rows =
            db.select(QStringLiteral("SELECT * FROM Tabellen WHERE KID=:ID AND pos=:p AND SID>-1 AND "
                                     "phase=:ph ORDER BY GID"),
                      {{QStringLiteral(":ID"), kid},
                       {QStringLiteral(":p"), kw.bestenVon(phase)},
                       {QStringLiteral(":ph"), phase}});
        for (const Row& row : rows) {
            const TabellenRow t = tabellen::fromRow(row);
            if (gruppen.contains(t.GID)) continue;
            gruppen << t.GID;
            kandidaten << t;
        }
        QVector<TabellenRow> liste;
        if (tabelle::bestplatzierte(kandidaten, kw.kette(), &liste))
            liste = entscheiden(QStringLiteral("B"), phase, liste);

        const int naechste = phase + 1;
        const QVector<SpielplanRow> ziele =
            spieleWo(QStringLiteral("KID=:ID AND phase=:ph AND (parentGID1=-3 OR parentGID2=-3)"),
                     {{QStringLiteral(":ID"), kid}, {QStringLiteral(":ph"), naechste}});
        for (int i = 0; i < anzahl; ++i) {
            const int sid = i < liste.size() ? liste[i].SID : -1;
            const QString bez = i < liste.size() ? liste[i].bez : QStringLiteral("");
            for (const SpielplanRow& m : ziele) {
                if (m.parentGID1 == -3 && m.parentpos1 == i) seiteFuellen(m.spielnummer, 0, sid, bez);
                if (m.parentGID2 == -3 && m.parentpos2 == i) seiteFuellen(m.spielnummer, 1, sid, bez);
            }
            platzFuellen(-3, i, naechste, sid, bez);
            if (sid > 0 && !nachgerueckt.contains(sid)) nachgerueckt << sid;
        }
    }

    // --- Undo -------------------------------------------------------------------------------------------

    Zurueckgesetzt zuruecksetzen(int snr, bool alsBegonnen) {
        const SpielplanRow m = spiel(snr);
        if (!m.beendet) throw Ablehnung{kKeinErgebnis};
        ergebnisZurueck(m);
        if (alsBegonnen) matchrecord::resetFinishedToStarted(db, kid, snr);
        Zurueckgesetzt out;
        out.geschrieben = true;
        out.geaenderteSpiele = geaendertSortiert();
        return out;
    }

    // Withdraws the result of m with its standings contribution and everything built on it.
    void ergebnisZurueck(const SpielplanRow& m) {
        geaendert << m.spielnummer;
        // A team knock-out match loses its rubbers' results too; a team group match keeps them until it
        // is finished again.
        matchrecord::withdrawResult(db, kid, m.spielnummer,
                                    team() && m.gruppe < 0 ? matchrecord::Rubbers::Withdraw
                                                           : matchrecord::Rubbers::Keep);
        if (m.gruppe >= 0) {
            beitragZurueck(m);
            gruppe_rekursiv(m.gruppe, m.phase);
        }
        rekursiv_zurueck(m.spielnummer, seitenVon(m));
    }

    // Takes from the two rows exactly what finishing m added, and ranks the group again.
    void beitragZurueck(const SpielplanRow& m) {
        const auto erg = m.ergebnis ? satznotation::endergebnis(*m.ergebnis) : std::nullopt;
        if (!erg || m.siegerSID <= 0 || m.verliererSID <= 0) return;
        const tabelle::Beitrag b = beitragVon(m.spielnummer, erg->a, erg->b, m.satz);
        const auto beteiligt = [&](int sid) {
            return sid > 0 && (sid == m.siegerSID || sid == m.verliererSID);
        };
        const QVector<TabellenRow> alt = tabellen::gruppeLesen(db, kid, m.gruppe);
        QVector<TabellenRow> gefuellt;
        for (TabellenRow r : alt) {
            if (r.SID <= -1) continue;
            if (r.SID == m.SID1 && beteiligt(m.SID1)) tabelle::abziehen(r, b.erster);
            if (r.SID == m.SID2 && beteiligt(m.SID2)) tabelle::abziehen(r, b.zweiter);
            gefuellt << r;
        }
        const auto rang =
            tabelle::rangliste(gefuellt, kw.kette(), tabelle::Direktvergleich(gruppenspiele(m.gruppe)));
        tabellen::aenderungenSchreiben(db, alt, rang);
    }

    // Empties every slot filled from match n and continues below it. `quelle`: n's sides as they now stand.
    void rekursiv_zurueck(int n, const Seiten& quelle) {
        // A match against a bye passes its open side on unplayed: a slot fed by its winner waits for what
        // that side waits for, not for the bye match itself.
        const freilos::Modus modus = freilos::modusOf(quelle.sid1, quelle.sid2);
        const Rows rows = db.select(
            QStringLiteral(
                "SELECT spielnummer,parentspiel1,parentspiel2,parentsieger1,parentsieger2,SID1,SID2,"
                "spieler1,spieler2 FROM Spielplan WHERE KID=:ID AND (parentspiel1=:snr OR "
                "parentspiel2=:snr1) ORDER BY spielnummer"),
            {{QStringLiteral(":ID"), kid}, {QStringLiteral(":snr"), n}, {QStringLiteral(":snr1"), n}});
        for (const Row& r : rows) {
            const int snr = r.integer(u"spielnummer");
            Seiten jetzt{r.integer(u"SID1"), r.text(u"spieler1"), r.integer(u"SID2"), r.text(u"spieler2")};
            bool geleert = false;
            for (int seite = 0; seite < 2; ++seite) {
                const bool erste = seite == 0;
                if (r.integer(erste ? u"parentspiel1" : u"parentspiel2") != n) continue;
                if ((erste ? jetzt.sid1 : jetzt.sid2) <= 0) continue;
                const bool sieger = r.boolean(erste ? u"parentsieger1" : u"parentsieger2");
                QString bez = sieger ? freilos::siegerVon(n) : freilos::verliererVon(n);
                if (modus == freilos::ErsteSeite || modus == freilos::ZweiteSeite) {
                    const bool ersteOffen = modus == freilos::ZweiteSeite;
                    const int sid = ersteOffen ? quelle.sid1 : quelle.sid2;
                    // The side still holds its entry: the slot keeps it too.
                    if (!sieger || sid > 0) continue;
                    bez = ersteOffen ? quelle.name1 : quelle.name2;
                }
                seiteLeeren(snr, seite, bez);
                (erste ? jetzt.sid1 : jetzt.sid2) = -1;
                (erste ? jetzt.name1 : jetzt.name2) = bez;
                geleert = true;
            }
            if (geleert) {
                geaendert << snr;
                rekursiv_zurueck(snr, jetzt);
            }
        }
    }

    // Empties every slot of the next phase that was filled from group g, with what was built on it, and
    // the best-placed slots of the next phase: the phase is no longer finished.
    void gruppe_rekursiv(int g, int phase) {
        const int naechste = phase + 1;
        const int platz = kw.bestenVon(phase) + 1;
        const auto platzhalter = [&](int parentGID, int parentpos) {
            return parentGID == -3 ? labels::bestplatziertenlabel(parentpos + 1, platz)
                                   : labels::platzlabel(parentpos + 1, parentGID);
        };
        const auto betroffen = [&](int parentGID, int sid, int mphase) {
            return sid > 0 && (parentGID == g || (parentGID == -3 && mphase == naechste));
        };
        const Rows rows = db.select(
            QStringLiteral(
                "SELECT spielnummer FROM Spielplan WHERE KID=:ID AND (parentGID1=:g1 OR parentGID2=:g2 OR "
                "((parentGID1=-3 OR parentGID2=-3) AND phase=:ph)) ORDER BY spielnummer"),
            {{QStringLiteral(":ID"), kid},
             {QStringLiteral(":g1"), g},
             {QStringLiteral(":g2"), g},
             {QStringLiteral(":ph"), naechste}});
        for (const Row& r : rows) {
            // Read again: emptying an earlier one may have changed it.
            SpielplanRow m = spiel(r.integer(u"spielnummer"));
            const bool s1 = betroffen(m.parentGID1, m.SID1, m.phase);
            const bool s2 = betroffen(m.parentGID2, m.SID2, m.phase);
            if (!s1 && !s2) continue;
            if (m.gruppe >= 0 && m.beendet) {
                ergebnisZurueck(m);
                m = spiel(m.spielnummer);
            }
            Seiten jetzt = seitenVon(m);
            if (s1) {
                jetzt.sid1 = -1;
                jetzt.name1 = platzhalter(m.parentGID1, m.parentpos1);
                seiteLeeren(m.spielnummer, 0, jetzt.name1);
            }
            if (s2) {
                jetzt.sid2 = -1;
                jetzt.name2 = platzhalter(m.parentGID2, m.parentpos2);
                seiteLeeren(m.spielnummer, 1, jetzt.name2);
            }
            geaendert << m.spielnummer;
            if (m.gruppe < 0) rekursiv_zurueck(m.spielnummer, jetzt);
        }

        const Rows plaetze = db.select(
            QStringLiteral(
                "SELECT GID,SID,parentGID,parentpos,phase FROM Tabellen WHERE KID=:ID AND SID>0 AND "
                "(parentGID=:g OR (parentGID=-3 AND phase=:ph))"),
            {{QStringLiteral(":ID"), kid}, {QStringLiteral(":g"), g}, {QStringLiteral(":ph"), naechste}});
        for (const Row& p : plaetze) {
            const Params werte{
                {QStringLiteral(":bez"), platzhalter(p.integer(u"parentGID"), p.integer(u"parentpos"))},
                {QStringLiteral(":ID"), kid},
                {QStringLiteral(":gid"), p.integer(u"GID")},
                {QStringLiteral(":sid"), p.integer(u"SID")}};
            db.exec(QStringLiteral(
                        "UPDATE Tabellen SET SID=-1,bez=:bez,spielanzahl=NULL,matchegewonnen=NULL,"
                        "matcheverloren=NULL,spielegewonnen=NULL,spieleverloren=NULL,saetzegewonnen=NULL,"
                        "saetzeverloren=NULL,punktegewonnen=NULL,punkteverloren=NULL WHERE KID=:ID AND "
                        "GID=:gid AND SID=:sid"),
                    werte);
            db.exec(
                QStringLiteral("UPDATE Gruppen SET SID=-1,bez=:bez WHERE KID=:ID AND GID=:gid AND SID=:sid"),
                werte);
        }
    }
};

Ergebnisverarbeitung::Ergebnisverarbeitung(Tdb_procedures& db, Interaction& interaction,
                                           tabelle::Entscheider entscheider)
    : db_(db), interaction_(interaction), entscheider_(std::move(entscheider)) {}

namespace {

// Runs `lauf` in one transaction until it gets through: each undecided tie rolls it back, is asked
// with no transaction open, and the run starts again with the answers so far. A run that another desk
// made the server give up starts again too: it reads everything it needs inside its transaction.
template <class Ergebnis, class F>
std::optional<Ergebnis> mitFragen(Tdb_procedures& db, Interaction& interaction,
                                  const tabelle::Entscheider& entscheider, F&& lauf) {
    Antworten antworten;
    // Each round answers one more question; a result asks at most two (the group, the best placed).
    for (int runde = 0;; ++runde) {
        if (runde > 8) throw std::logic_error("tie decision does not settle");
        try {
            return inTransaction(db, [&] { return lauf(antworten); });
        } catch (const Ablehnung& a) {
            interaction.warning(a.text);
            return std::nullopt;
        } catch (const FrageOffen& f) {
            tabelle::Vergleich v(f.eintraege);
            if (entscheider) entscheider(v);
            antworten.insert(f.schluessel, sids(v.eintraege()));
        }
    }
}

} // namespace

Beendet Ergebnisverarbeitung::ausfuehren(const ErgebnisEingabe& e, bool korrektur) {
    const auto r = mitFragen<Beendet>(db_, interaction_, entscheider_, [&](const Antworten& a) {
        Lauf lauf(db_, e.kid, a);
        if (korrektur) {
            const SpielplanRow m = lauf.spiel(e.snr);
            if (m.beendet) lauf.ergebnisZurueck(m);
        }
        return lauf.beenden(e, korrektur);
    });
    if (!r) return {};
    if (r->gruppeBeendet) interaction_.information(kGruppeBeendet);
    if (r->phaseBeendet) interaction_.information(kPhaseBeendet);
    return *r;
}

Beendet Ergebnisverarbeitung::db_beendet(const ErgebnisEingabe& e) {
    return ausfuehren(e, false);
}

Beendet Ergebnisverarbeitung::korrigieren(const ErgebnisEingabe& e) {
    return ausfuehren(e, true);
}

Zurueckgesetzt Ergebnisverarbeitung::db_zuruecksetzen(int kid, int snr, bool alsBegonnen) {
    const auto r = mitFragen<Zurueckgesetzt>(db_, interaction_, entscheider_, [&](const Antworten& a) {
        Lauf lauf(db_, kid, a);
        return lauf.zuruecksetzen(snr, alsBegonnen);
    });
    return r.value_or(Zurueckgesetzt{});
}
