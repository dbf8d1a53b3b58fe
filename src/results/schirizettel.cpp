#include "results/schirizettel.h"

#include "output/printsurface.h"
#include "store/db_procedures.h"

#include <algorithm>
#include <cmath>

namespace schirizettel {

namespace {

const QString kSchrift = QStringLiteral("Times New Roman");
const QString kTitel = QStringLiteral("Schiedsrichterzettel");
const QString kEndergebnis = QStringLiteral("Endergebnis: _________");
const QString kSieger = QStringLiteral("Sieger: ___________________");
// The winner's line starts where this would start, centred: both blanks begin at one edge.
const QString kSiegerMass = QStringLiteral("Endergebnis: ___________________");
// What a text may not come nearer to the paper's edge or, on a half, to the middle of the page.
constexpr int kRand = 75;
constexpr int kTeamKlasse = 3;

int skaliert(double v, double k) {
    return qRound(v * k);
}

double ankerX(Anker a, double breite) {
    switch (a) {
    case Anker::Links:
        return breite / 4;
    case Anker::Rechts:
        return 3 * breite / 4;
    case Anker::Mitte:
        break;
    }
    return breite / 2;
}

} // namespace

double massstab(double breite) {
    // The paper 200 mm or 170 mm wide gets the middle scale, so no width is left without one.
    if (breite > 2000) return 1.5;
    if (breite >= 1700) return 1.0;
    return 0.75;
}

QVector<Text> texte(const Zettel& z, double k) {
    QVector<Text> out;
    auto add = [&](const QString& text, int hoehe, bool fett, bool kursiv, int abstand, Anker anker,
                   const QString& mass = {}) {
        out << Text{text, skaliert(hoehe, k), fett, kursiv, abstand, anker, mass.isNull() ? text : mass};
    };
    // A rubber's slip carries the longer team header in smaller type.
    const int kopf = z.team ? 40 : 50;
    const int zeile = z.team ? 35 : 45;
    add(kTitel, kopf, true, false, skaliert(5, k), Anker::Mitte);
    add(QStringLiteral("Spielnummer: ") + QString::number(z.spielnummer), zeile, false, false,
        skaliert(70, k), Anker::Mitte);
    add(QStringLiteral("Schiedsrichter: ") + z.schiri, zeile, false, false, skaliert(120, k), Anker::Mitte);
    add(QStringLiteral("An Tisch: ") + z.tisch, zeile, false, false, skaliert(170, k), Anker::Mitte);
    add(z.kopf1, 55, true, true, skaliert(240, k), Anker::Links);
    add(z.kopf2, 55, true, true, skaliert(240, k), Anker::Rechts);
    add(z.seite1, 55, true, true, skaliert(300, k), Anker::Links);
    add(z.seite2, 55, true, true, skaliert(300, k), Anker::Rechts);
    // A player without a club gets no empty brackets.
    if (!z.verein1.isEmpty())
        add(QStringLiteral("(") + z.verein1 + QStringLiteral(")"), 55, false, false, skaliert(350, k),
            Anker::Links);
    if (!z.verein2.isEmpty())
        add(QStringLiteral("(") + z.verein2 + QStringLiteral(")"), 55, false, false, skaliert(350, k),
            Anker::Rechts);
    const int g = z.gewinnsaetze;
    // Each term rounded on its own, so the lines keep one pitch.
    for (int i = 1; i <= 2 * g - 1; ++i)
        add(QStringLiteral("Satz %1: _________").arg(i), 55, false, false,
            skaliert(380, k) + skaliert(120, k) * i, Anker::Mitte);
    add(kEndergebnis, 55, false, false, skaliert(240 * g - 120 + 520, k), Anker::Mitte);
    add(kSieger, 55, false, false, skaliert(240 * g - 120 + 640, k), Anker::Mitte, kSiegerMass);
    return out;
}

void zeichnen(PrintSurface& s, const QVector<Zettel>& zettel) {
    const double proPunkt = s.tenthsPerDot();
    const double breite = s.pageWidthDots() * proPunkt;
    // The surface's origin is the printable area's corner; the anchors are measured on the paper.
    const double links = s.offsetLeftDots() * proPunkt;
    const double k = massstab(breite);
    for (int n = 0; n < zettel.size(); ++n) {
        if (n > 0) s.newPage();
        for (const Text& t : texte(zettel[n], k)) {
            if (t.text.isEmpty()) continue;
            const int platz = qRound((t.anker == Anker::Mitte ? breite : breite / 2) - 2 * kRand);
            int hoehe = t.hoehe;
            s.setFont(kSchrift, hoehe, t.fett, t.kursiv);
            // A long name (a pair, a team) is set smaller rather than run into the other side or off
            // the paper.
            for (int w = s.textWidth(t.mass); w > platz && hoehe > 1; w = s.textWidth(t.mass)) {
                hoehe = std::max(1, std::min(hoehe - 1, int(std::floor(double(hoehe) * platz / w))));
                s.setFont(kSchrift, hoehe, t.fett, t.kursiv);
            }
            const double x = ankerX(t.anker, breite) - links - s.textWidth(t.mass) / 2.0;
            s.textOut(qRound(x), -(t.abstand + kOben), t.text);
        }
    }
}

QVector<Zettel> lesen(Tdb_procedures& db, int kid, int snr) {
    const Row klasse = db.selectOne(QStringLiteral("SELECT saetze,system FROM Turnierklassen WHERE KID=:ID"),
                                    {{":ID", kid}});
    // A match has nine set columns: at most five winning sets; an unreadable value means the default.
    int g = klasse.integer(u"saetze");
    if (g < 1 || g > 5) g = 3;
    const Params match{{":ID", kid}, {":snr", snr}};
    QVector<Zettel> out;
    if (klasse.integer(u"system") == kTeamKlasse) {
        // Rubber order, whatever order the engine returns its rows in.
        for (const Row& r :
             db.select(QStringLiteral("SELECT sbez1,sbez2,schiri,spieler1,spieler2,spielnummer,"
                                      "an_platte,nummer FROM Teamspiele WHERE KID=:ID AND "
                                      "spielnummer=:snr ORDER BY nummer"),
                       match)) {
            Zettel z;
            z.team = true;
            z.gewinnsaetze = g;
            z.spielnummer = r.integer(u"spielnummer");
            z.schiri = r.text(u"schiri");
            z.tisch = r.text(u"an_platte");
            z.kopf1 = r.text(u"spieler1");
            z.kopf2 = r.text(u"spieler2");
            z.seite1 = r.text(u"sbez1");
            z.seite2 = r.text(u"sbez2");
            out << z;
        }
        return out;
    }
    const Rows rows =
        db.select(QStringLiteral("SELECT schiri,spieler1,spieler2,spielnummer,an_platte, SID1, SID2 "
                                 "FROM Spielplan WHERE KID=:ID AND spielnummer=:snr"),
                  match);
    if (rows.isEmpty()) return out;
    const Row& r = rows.first();
    auto verein = [&](int sid) {
        return db.selectOne(QStringLiteral("SELECT verein FROM Spielerdaten WHERE SID=:SID"), {{":SID", sid}})
            .text(u"verein")
            .trimmed();
    };
    Zettel z;
    z.gewinnsaetze = g;
    z.spielnummer = r.integer(u"spielnummer");
    z.schiri = r.text(u"schiri");
    z.tisch = r.text(u"an_platte");
    z.kopf1 = QStringLiteral("Spieler 1");
    z.kopf2 = QStringLiteral("Spieler 2");
    z.seite1 = r.text(u"spieler1");
    z.seite2 = r.text(u"spieler2");
    z.verein1 = verein(r.integer(u"SID1"));
    z.verein2 = verein(r.integer(u"SID2"));
    out << z;
    return out;
}

bool drucken(Interaction& ui, Tdb_procedures& db, int kid, int snr, Druckziel ziel) {
    // Read before any dialog opens: the drawing itself touches no database, however often a preview
    // repaints it.
    QVector<Zettel> zettel;
    try {
        zettel = lesen(db, kid, snr);
    } catch (const DbError&) {
        zettel.clear();
    }
    if (zettel.isEmpty()) {
        druckerfehler(ui);
        return false;
    }
    return druckauftrag(
        ui, kTitel, QPageLayout::Portrait, [&](PrintSurface& s) { zeichnen(s, zettel); }, ziel,
        QStringLiteral("Schiedsrichterzettel Spiel %1.pdf").arg(snr));
}

} // namespace schirizettel
