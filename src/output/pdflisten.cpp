#include "output/pdflisten.h"

#include "common/interaction.h"
#include "output/htmlexport.h"
#include "output/pdfprint.h"
#include "output/printsurface.h"
#include "store/appstate.h"
#include "store/db_procedures.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace pdflisten {

namespace {

// Points to the surface's tenths of a millimetre.
int t(double pt) {
    return qRound(pt * 254.0 / 72.0);
}

const QString kTimes = QStringLiteral("Times New Roman");
const QString kArial = QStringLiteral("Arial");

class Zeichner {
public:
    Zeichner(PrintSurface& s, int rand) : s_(s), rand_(rand) {}

    void schrift(const QString& family, int pt, bool fett) { s_.setFont(family, t(pt), fett); }
    // Text with its left edge at x and its top at top, cut with "…" to the given width.
    void text(double x, double top, const QString& text, double breite = 0) {
        QString out = text;
        if (breite > 0) {
            const int max = t(breite);
            if (s_.textWidth(out) > max) {
                int lo = 0, hi = int(out.size());
                while (lo < hi) {
                    const int mid = (lo + hi + 1) / 2;
                    if (s_.textWidth(text.left(mid) + QStringLiteral("…")) <= max)
                        lo = mid;
                    else
                        hi = mid - 1;
                }
                out = text.left(lo) + QStringLiteral("…");
            }
        }
        s_.textOut(t(rand_ + x), -t(rand_ + top), out);
    }
    void zentriert(double seitenbreite, double top, const QString& text) {
        const double breite = s_.textWidth(text) * 72.0 / 254.0;
        this->text((seitenbreite - breite) / 2 - rand_, top, text);
    }
    PrintSurface& surface() { return s_; }

private:
    PrintSurface& s_;
    int rand_;
};

constexpr double kA4Breite = 595.0; // points
constexpr double kA4Hoehe = 842.0;

QString gruppenTitel(int gid) {
    return QStringLiteral("Gruppe ") + QChar(65 + gid);
}

// Players, umpires, teams and group tables: portrait, title and subtitle, header row, rows.
void liste(PrintSurface& s, const listen::Liste& l, const QString& turniername) {
    Zeichner z(s, kRand);
    const int n = int(std::max<qsizetype>(1, l.kopf.size()));
    const Masse m = masse(n);
    const int schritt = m.schrift + 5;
    const bool bloecke = l.art == listen::Art::Tabellen;

    z.schrift(kTimes, 26, true);
    z.zentriert(kA4Breite, 20, turniername);
    z.schrift(kTimes, 22, true);
    z.zentriert(kA4Breite, 50, l.titel);

    auto kopf = [&](int top) {
        z.schrift(kArial, m.schrift, true);
        for (int i = 0; i < l.kopf.size(); ++i)
            z.text(i * m.spaltenbreite, top, l.kopf[i], m.spaltenbreite - 2);
        z.schrift(kArial, m.schrift, false);
    };
    int top = kKopfTop;
    if (!bloecke) kopf(top);
    int gruppe = -2;
    auto naechsteZeile = [&] {
        top += schritt;
        if (top > kListeUnten) {
            s.newPage();
            top = 20;
        }
    };
    for (int r = 0; r < l.zeilen.size(); ++r) {
        if (bloecke && l.gruppen.value(r) != gruppe) {
            // A group block: its title and the header, kept together with its first row.
            gruppe = l.gruppen.value(r);
            if (r > 0) top += schritt;
            if (top + 2 * schritt > kListeUnten) {
                s.newPage();
                top = 20 - schritt;
            }
            naechsteZeile();
            z.schrift(kArial, m.schrift, true);
            z.text(0, top, gruppenTitel(gruppe));
            naechsteZeile();
            kopf(top);
        }
        naechsteZeile();
        const QStringList& zeile = l.zeilen[r];
        for (int i = 0; i < zeile.size(); ++i)
            z.text(i * m.spaltenbreite, top, zeile[i], m.spaltenbreite - 2);
    }
}

// The match plan: landscape, the player columns twice as wide, a new page for each class.
void plan(PrintSurface& s, const listen::Liste& l, const QString& turniername) {
    Zeichner z(s, kPlanRand);
    const int n = int(std::max<qsizetype>(1, l.kopf.size()));
    QList<int> gewicht;
    int summe = 0;
    int gruppeSpalte = -1;
    for (int i = 0; i < l.kopf.size(); ++i) {
        const bool spieler = l.kopf[i] == u"Spieler 1" || l.kopf[i] == u"Spieler 2";
        gewicht << (spieler ? 2 : 1);
        summe += gewicht.last();
        if (l.kopf[i] == u"Gruppe") gruppeSpalte = i;
    }
    const int schrift = std::min(70 / n, 14);
    const int breite = std::min(kPlanBreite / std::max(1, summe), 100);
    const int schritt = schrift + 5;
    const double seite = kPlanBreite + 2.0 * kPlanRand;
    QList<int> x;
    int links = 0;
    for (int g : gewicht) {
        x << links;
        links += g * breite;
    }

    auto kopf = [&](int top) {
        z.schrift(kArial, schrift, true);
        for (int i = 0; i < l.kopf.size(); ++i)
            z.text(x[i], top, l.kopf[i], gewicht[i] * breite - 2);
        z.schrift(kArial, schrift, false);
    };
    z.schrift(kTimes, 20, true);
    z.zentriert(seite, 20, turniername);
    z.zentriert(seite, 45, l.titel);
    int top = kPlanKopfTop;
    kopf(top);
    int kid = l.kids.isEmpty() ? 0 : l.kids.first();
    int gruppe = -2;
    const bool proKlasse = l.klassennamen.isEmpty(); // names are read only for the whole tournament
    for (int r = 0; r < l.zeilen.size(); ++r) {
        if (l.kids.value(r) != kid && !proKlasse) {
            kid = l.kids.value(r);
            s.newPage();
            z.schrift(kTimes, 20, true);
            z.zentriert(seite, 10, QStringLiteral("Spielplan für ") + l.klassennamen.value(kid));
            top = 40;
            kopf(top);
            gruppe = -2;
        }
        auto weiter = [&] {
            top += schritt;
            if (top > kPlanUnten) {
                s.newPage();
                top = 10;
                kopf(top);
                top += schritt;
            }
        };
        if (gruppeSpalte >= 0 && l.gruppen.value(r) != gruppe) {
            gruppe = l.gruppen.value(r);
            if (gruppe >= 0) {
                weiter();
                z.schrift(kArial, schrift, true);
                z.text(0, top, gruppenTitel(gruppe));
                z.schrift(kArial, schrift, false);
            }
        }
        weiter();
        const QStringList& zeile = l.zeilen[r];
        for (int i = 0; i < zeile.size(); ++i)
            z.text(x[i], top, zeile[i], gewicht[i] * breite - 2);
    }
}

} // namespace

Masse masse(int spalten) {
    const int n = std::max(1, spalten);
    return {std::min(70 / n, 14), std::min(500 / n, 100)};
}

QPageLayout::Orientation ausrichtung(const listen::Liste& liste) {
    return liste.art == listen::Art::Spielplan ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void zeichnen(PrintSurface& s, const listen::Liste& l, const QString& turniername) {
    if (l.art == listen::Art::Spielplan)
        plan(s, l, turniername);
    else
        liste(s, l, turniername);
}

void schreiben(const QString& path, const listen::Liste& l, const QString& turniername,
               Interaction* progress) {
    const int n = int(l.zeilen.size());
    if (progress) progress->progress(0, n);
    try {
        exportdatei::schreibenUeber(path, [&](const QString& temp) {
            return printToPdf(temp, ausrichtung(l), [&](PrintSurface& s) { zeichnen(s, l, turniername); });
        });
    } catch (const ExportFehler&) {
        if (progress) progress->progress(n, n);
        throw;
    }
    if (progress) progress->progress(n, n);
}

QString exportieren(const AppState& state, Tdb_procedures& db, Interaction& interaction,
                    const QString& programDir, const listen::Datensatz& d, const QStringList& captions) {
    QString path = interaction.saveFile(QStringLiteral("PDF-Export"),
                                        QDir(programDir).filePath(listen::blattname(d.text)),
                                        QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return {};
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) path += QStringLiteral(".pdf");
    try {
        schreiben(path, listen::liste(db, state.tid, state.turniername, d, captions), state.turniername,
                  &interaction);
    } catch (const ExportFehler& e) {
        interaction.progress(0, 0);
        interaction.error(e.message());
        return {};
    } catch (const DbError& e) {
        interaction.progress(0, 0);
        interaction.error(e.message());
        return {};
    }
    interaction.progress(0, 0);
    return path;
}

} // namespace pdflisten
