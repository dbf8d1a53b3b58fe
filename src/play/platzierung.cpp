// The placement page: how many places are played out, the matches that decide them and their sides,
// filled by dragging entries of the list and emptied by dragging them back.
#include "draw/fertigstellen.h"
#include "draw/labels.h"
#include "play/planbau.h"
#include "store/db_procedures.h"

namespace {

constexpr int kZeilenStart = 60;
constexpr int kZeilenAbstand = 30;
const QColor kInfoHintergrund(0xff, 0xff, 0xe1);

const QString kSiegerSpiel = QStringLiteral("Sieger Spiel ");
const QString kVerliererSpiel = QStringLiteral("Verlierer Spiel ");

// The highest match number of the phases 1 to 3: the final when a knock-out phase ends the class.
int hoechstesSpiel(const PlanDaten& d) {
    int m = 0;
    for (const SpielplanRow& r : d.matches)
        if (r.phase >= 1 && r.phase <= 3) m = std::max(m, r.spielnummer);
    return m;
}

QVector<const SpielplanRow*> platzierungsspieleVon(const PlanDaten& d) {
    return planbau::phaseMatches(d, 4);
}

int zeilenVon(int anzahl) {
    return (std::max(anzahl, 0) + 1) / 2;
}

// The match of a placement row that can take drops: a placement match, never the bracket's final.
const PlatzZeile* ablageZeile(const PlatzierungsSeite& seite, const PlanDaten& d, int zeile, int s) {
    if ((s != 1 && s != 2) || zeile < 1 || zeile > seite.zeilen.size()) return nullptr;
    const PlatzZeile& z = seite.zeilen[zeile - 1];
    if (z.gesperrt) return nullptr;
    const planbau::Spielindex index(d.matches);
    const SpielplanRow* m = index.find(z.spielnummer);
    return m && m->phase == 4 ? &z : nullptr;
}

struct Seitenwert {
    int sid = -1;
    QString name;
};

// Writes side s of match snr; team classes carry the side into the rubbers, which results fill by name.
void seiteSchreiben(Tdb_procedures& db, const PlanDaten& d, int snr, int s, const Seitenwert& w,
                    int parentspiel, bool parentsieger, int parentGID, int parentpos) {
    const QString n = QString::number(s);
    const Params p{{QStringLiteral(":d1"), w.sid},
                   {QStringLiteral(":d2"), w.name.isNull() ? QStringLiteral("") : w.name},
                   {QStringLiteral(":d3"), parentspiel},
                   {QStringLiteral(":d4"), parentsieger},
                   {QStringLiteral(":d5"), parentGID},
                   {QStringLiteral(":d6"), parentpos},
                   {QStringLiteral(":ID"), d.info.KID},
                   {QStringLiteral(":snr"), snr}};
    db.exec(
        QStringLiteral("UPDATE Spielplan SET SID%1=:d1,spieler%1=:d2,parentspiel%1=:d3,parentsieger%1=:d4,"
                       "parentGID%1=:d5,parentpos%1=:d6 WHERE KID=:ID AND spielnummer=:snr")
            .arg(n),
        p);
    if (d.info.isTeam())
        db.exec(QStringLiteral("UPDATE Teamspiele SET MID%1=:d1,spieler%1=:d2,parentspiel%1=:d3,"
                               "parentsieger%1=:d4,parentGID%1=:d5,parentpos%1=:d6 WHERE KID=:ID AND "
                               "spielnummer=:snr")
                    .arg(n),
                p);
}

} // namespace

PlatzierungsSeite platzierungsspiele(const PlanDaten& d) {
    PlatzierungsSeite seite;
    const bool K = d.info.hasKnockout();
    const int M = hoechstesSpiel(d);
    const QVector<const SpielplanRow*> spiele = platzierungsspieleVon(d);

    // The last placement match decides its place and the one after it: with matches for places 1 and
    // 3 four places are played out.
    int P = 0;
    for (const SpielplanRow* m : spiele)
        P = std::max(P, m->platz + 1);
    if (P == 0 && K) P = 2;
    seite.anzahl = P;
    for (int i = 0; i <= 16; ++i)
        seite.anzahlItems << QString::number(i);
    if (P > 16) seite.anzahlItems << QString::number(P);

    int hoechste = 0, hoechsteGruppe = -1;
    for (const SpielplanRow& m : d.matches) {
        hoechste = std::max(hoechste, m.spielnummer);
        hoechsteGruppe = std::max(hoechsteGruppe, m.gruppe);
    }
    seite.liste.reserve(2 * hoechste + 4 * (hoechsteGruppe + 1));
    for (int n = 1; n <= hoechste; ++n) {
        seite.liste.append({kSiegerSpiel + QString::number(n), n});
        seite.liste.append({kVerliererSpiel + QString::number(n), n});
    }
    for (int g = 0; g <= hoechsteGruppe; ++g) {
        const QString b = labels::gruppenbuchstabe(g);
        for (const char* rang : {"Sieger", "Zweiter", "Dritter", "Vierter"})
            seite.liste.append({QString::fromLatin1(rang) + QStringLiteral(" Gruppe ") + b, 0});
    }

    const planbau::Spielindex index(d.matches);
    PlanLayout& l = seite.layout;
    l.texts.append(planbau::text(QRect(10, 10, 135, 18), QStringLiteral("Anzahl der Platzierungen")));
    const int zeilen = zeilenVon(P);
    for (int i = 1; i <= zeilen; ++i) {
        PlatzZeile z;
        z.i = i;
        z.text = QStringLiteral("Spiel um %1. Platz").arg(2 * i - 1);
        const SpielplanRow* m = nullptr;
        if (K && i == 1) {
            z.gesperrt = true;
            z.spielnummer = M;
            m = index.find(M);
        } else {
            const int k = K ? i - 2 : i - 1;
            m = k < spiele.size() ? spiele[k] : nullptr;
            z.spielnummer = m ? m->spielnummer : (K ? i + M - 1 : i + M);
        }
        if (m) {
            z.name1 = m->SID1 == kSeiteFreilos ? QStringLiteral("Freilos") : m->spieler1;
            z.name2 = m->SID2 == kSeiteFreilos ? QStringLiteral("Freilos") : m->spieler2;
            z.sid1 = m->SID1;
            z.sid2 = m->SID2;
        }
        seite.zeilen.append(z);

        const int y = kZeilenStart + kZeilenAbstand * (i - 1);
        PlanText t = planbau::text(QRect(10, y + 3, 88, 18), z.text);
        t.name = QStringLiteral("text%1").arg(i);
        l.texts.append(t);
        for (int s = 1; s <= 2; ++s) {
            PlanText p = planbau::nameLabel(QRect(s == 1 ? 100 : 250, y, 120, 22), s == 1 ? z.name1 : z.name2,
                                            s == 1 ? z.sid1 : z.sid2, 8);
            p.name = QStringLiteral("platz%1%2").arg(s).arg(i);
            p.background = kInfoHintergrund;
            l.texts.append(p);
        }
        if (m) l.cells.append(planbau::statusCell(QRect(220, y + 3, 25, 16), z.spielnummer));
    }
    l.size = QSize(380, kZeilenStart + kZeilenAbstand * zeilen + 10);
    return seite;
}

bool anzahlchange(Tdb_procedures& db, const PlanDaten& d, const QString& anzahl) {
    const PlatzierungsSeite seite = platzierungsspiele(d);
    if (!seite.anzahlItems.contains(anzahl)) return false;
    const int kid = d.info.KID;
    const bool K = d.info.hasKnockout();
    const int zeilen = zeilenVon(anzahl.toInt());
    const Params id{{QStringLiteral(":ID"), kid}};

    Transaction t(db);
    db.exec(QStringLiteral("DELETE FROM Spielplan WHERE KID=:ID AND phase=4"), id);
    // The rubbers of team placement matches go with them, or the new matches would find old rubbers.
    db.exec(QStringLiteral("DELETE FROM Teamspiele WHERE KID=:ID AND phase=4"), id);
    const int Q =
        db.selectOne(QStringLiteral("SELECT MAX(spielnummer) as p FROM Spielplan WHERE KID=:ID"), id)
            .integer(u"p");
    Planklasse klasse;
    klasse.kid = kid;
    klasse.tid =
        db.selectOne(QStringLiteral("SELECT TID FROM Turnierklassen WHERE KID=:ID"), id).integer(u"TID");
    klasse.rubbers = d.info.isTeam() ? d.info.rubbers : 0;
    int snr = Q;
    // With a knock-out phase the bracket's final plays for place 1.
    for (int i = K ? 2 : 1; i <= zeilen; ++i) {
        Spielwerte w;
        w.spielnummer = ++snr;
        w.spieler1 = QStringLiteral("");
        w.spieler2 = QStringLiteral("");
        w.phase = 4;
        w.gruppe = -1;
        w.platz = 2 * i - 1;
        spielplanfuellen(db, klasse, w);
    }
    t.commit();
    return true;
}

bool feldDragDrop(Tdb_procedures& db, const PlanDaten& d, int zeile, int seite, const PlatzEintrag& eintrag) {
    const PlatzierungsSeite page = platzierungsspiele(d);
    const PlatzZeile* z = ablageZeile(page, d, zeile, seite);
    if (!z) return false;
    const int kid = d.info.KID;

    if (eintrag.spielnummer > 0) {
        // A match cannot wait for its own result.
        if (eintrag.spielnummer == z->spielnummer) return false;
        const bool sieger = eintrag.text.startsWith(kSiegerSpiel);
        if (!sieger && !eintrag.text.startsWith(kVerliererSpiel)) return false;
        const QString spalte = sieger ? QStringLiteral("siegerSID") : QStringLiteral("verliererSID");
        Transaction t(db);
        const Row r = db.selectOne(
            QStringLiteral(
                "SELECT %1,SID1,SID2,spieler1,spieler2 FROM Spielplan WHERE KID=:ID AND spielnummer=:snr")
                .arg(spalte),
            {{QStringLiteral(":ID"), kid}, {QStringLiteral(":snr"), eintrag.spielnummer}});
        const int sid = r.integer(spalte);
        Seitenwert w{-1, eintrag.text};
        if (sid == kSeiteFreilos)
            w = {kSeiteFreilos, QStringLiteral("Freilos")};
        else if (sid >= 1 && sid == r.integer(u"SID1"))
            w = {sid, r.text(u"spieler1")};
        else if (sid >= 1 && sid == r.integer(u"SID2"))
            w = {sid, r.text(u"spieler2")};
        // The link says winner or loser, so undoing match n puts the right placeholder back.
        seiteSchreiben(db, d, z->spielnummer, seite, w, eintrag.spielnummer, sieger, -1, -1);
        t.commit();
        return true;
    }

    // A group position: "Sieger/Zweiter/Dritter/Vierter Gruppe X".
    const QString text = eintrag.text.trimmed();
    static const QString kRang = QStringLiteral("SZDV");
    const int pos = text.isEmpty() ? -1 : int(kRang.indexOf(text.front()));
    if (pos < 0 || !text.contains(QStringLiteral(" Gruppe "))) return false;
    const int gruppe = text.back().unicode() - u'A';
    if (gruppe < 0) return false;

    Transaction t(db);
    Seitenwert w{-1, eintrag.text};
    const Rows beendet =
        db.select(QStringLiteral("SELECT SID1 FROM Spielplan WHERE KID=:ID AND gruppe=:gr AND "
                                 "beendet=:b AND SID1<>:s1 AND SID2<>:s2"),
                  {{QStringLiteral(":ID"), kid},
                   {QStringLiteral(":gr"), gruppe},
                   {QStringLiteral(":b"), true},
                   {QStringLiteral(":s1"), -1},
                   {QStringLiteral(":s2"), -1}});
    if (!beendet.isEmpty()) {
        const Row h = db.selectOne(
            QStringLiteral("SELECT SID,bez FROM Tabellen WHERE KID=:ID AND GID=:g AND pos=:p"),
            {{QStringLiteral(":ID"), kid}, {QStringLiteral(":g"), gruppe}, {QStringLiteral(":p"), pos}});
        if (!h.text(u"bez").isEmpty()) w = {h.integer(u"SID"), h.text(u"bez")};
    }
    seiteSchreiben(db, d, z->spielnummer, seite, w, -1, false, gruppe, pos);
    t.commit();
    return true;
}

bool platzDragDrop(Tdb_procedures& db, const PlanDaten& d, int zeile, int seite) {
    const PlatzierungsSeite page = platzierungsspiele(d);
    const PlatzZeile* z = ablageZeile(page, d, zeile, seite);
    if (!z) return false;
    Transaction t(db);
    seiteSchreiben(db, d, z->spielnummer, seite, {-1, QStringLiteral("")}, -1, false, -1, -1);
    t.commit();
    return true;
}
