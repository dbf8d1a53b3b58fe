#include "output/plandruck.h"

#include "output/druckauftrag.h"
#include "output/printsurface.h"
#include "play/plandaten.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <algorithm>
#include <cmath>

namespace plandruck {

namespace {

const QString kSchrift = QStringLiteral("Arial");

// Width of a text on paper. Measured at ten times the height, so that the rounding of small font sizes
// does not make it come out narrower than it prints.
int breite(const QString& text, int hoehe, bool bold) {
    QFont f(kSchrift);
    f.setPixelSize(std::max(1, hoehe * 10));
    f.setBold(bold);
    return int(std::ceil(QFontMetricsF(f).horizontalAdvance(text) / 10.0));
}

// The height a line of text takes below its top.
int zeilenhoehe(int hoehe) {
    return hoehe * 23 / 20;
}

// A result as the column's member sees it: "3:1" becomes "1:3".
QString umgekehrt(const QString& ergebnis) {
    const int colon = ergebnis.indexOf(u':');
    if (colon < 0) return ergebnis;
    return ergebnis.mid(colon + 1).trimmed() + u':' + ergebnis.left(colon).trimmed();
}

// The result printed for a match: none while it is open, and never "0:0".
QString druckErgebnis(const SpielplanRow* m) {
    if (!m || !m->ergebnis) return {};
    const QString e = m->ergebnis->trimmed();
    if (e.isEmpty() || e == u"0:0") return {};
    return e;
}

QHash<int, const SpielplanRow*> nachNummer(const QVector<SpielplanRow>& matches) {
    QHash<int, const SpielplanRow*> out;
    out.reserve(matches.size());
    for (const SpielplanRow& m : matches)
        out.insert(m.spielnummer, &m);
    return out;
}

// A heading centred over `breiteBlatt`, its box as wide as the text.
Text kopfzeile(const QString& text, int hoehe, int y, int breiteBlatt) {
    const int w = std::min(breite(text, hoehe, false) + 2, breiteBlatt);
    return {QRect((breiteBlatt - w) / 2, y, w, zeilenhoehe(hoehe)), text, hoehe, false, Qt::AlignLeft, true};
}

// The result of a status cell: in the cell's width, its middle at height `mitte`.
Text ergebnisText(const QRect& zelle, int mitte, const QString& text, int hoehe, Qt::Alignment ausrichtung) {
    const int h = zeilenhoehe(hoehe);
    return {QRect(zelle.left(), mitte - h / 2, zelle.width(), h), text, hoehe, false, ausrichtung};
}

// Cut positions from 0 to `ende` with pages of at most `seite`. A cut that would run through a span moves
// back to where no span is; where the spans leave no such place in the second half of the page (the names
// of many columns side by side), the cut comes the longest span before the page's end, and a span across
// it is printed whole on the page where it starts.
QVector<int> schnitte(int ende, int seite, QVector<std::pair<int, int>> spannen) {
    std::sort(spannen.begin(), spannen.end());
    int laengste = 0;
    for (const auto& [von, bis] : spannen)
        laengste = std::max(laengste, bis - von);
    QVector<int> out{0};
    if (seite <= 0) {
        out << ende;
        return out;
    }
    int start = 0;
    while (ende - start > seite) {
        int c = start + seite;
        for (bool verschoben = true; verschoben;) {
            verschoben = false;
            for (const auto& [von, bis] : spannen) {
                if (von >= c) break;
                if (von < c && c < bis) {
                    c = von;
                    verschoben = true;
                }
            }
        }
        if (c <= start + seite / 2) c = start + seite - (laengste < seite / 2 ? laengste : 0);
        out << c;
        start = c;
    }
    out << ende;
    return out;
}

// A line clipped to a rectangle (Liang–Barsky); false when nothing of it is inside.
bool beschneiden(QPoint& a, QPoint& b, const QRect& r) {
    const double x0 = a.x(), y0 = a.y(), dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {x0 - r.left(), r.left() + r.width() - x0, y0 - r.top(), r.top() + r.height() - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPoint na(qRound(x0 + t0 * dx), qRound(y0 + t0 * dy));
    const QPoint nb(qRound(x0 + t1 * dx), qRound(y0 + t1 * dy));
    a = na;
    b = nb;
    return true;
}

// A heading across a cut moves onto the page column of its middle, centred there as far as it fits.
Text aufEinerSeite(Text t, const QVector<int>& x) {
    for (int i = 0; i + 1 < x.size(); ++i) {
        if (t.box.left() >= x[i] && t.box.left() + t.box.width() <= x[i + 1]) return t;
        const int mitte = t.box.center().x();
        if (mitte < x[i] || mitte >= x[i + 1]) continue;
        const int spalte = x[i + 1] - x[i];
        const int w = std::min(t.box.width(), spalte);
        t.box = QRect(x[i] + (spalte - w) / 2, t.box.top(), w, t.box.height());
        return t;
    }
    return t;
}

} // namespace

Groesse groesse(int n) {
    static const Groesse tabelle[kGroessen] = {
        {40, 18, 25, 200, 180},  {60, 27, 37, 300, 270},   {80, 36, 50, 400, 360},
        {120, 54, 75, 600, 540}, {160, 72, 100, 800, 720},
    };
    return tabelle[std::clamp(n, 0, kGroessen - 1)];
}

Blatt koBogen(const PlanLayout& l, const QVector<SpielplanRow>& matches, int n, const QString& turniername,
              const QString& titel) {
    Blatt b;
    const PlanRaster& r = l.raster;
    if (r.spalte <= 0 || r.zeile <= 0) return b;
    const Groesse g = groesse(n);
    // One round of the plan area is one round width on paper, one row pitch one row pitch.
    const double kx = double(g.runde) / r.spalte, ky = double(g.zeile) / r.zeile;
    const auto X = [&](int x) { return kLinks + qRound((x - r.links) * kx); };
    const auto Y = [&](int y) { return g.oben + qRound((y - r.oben) * ky); };
    const auto box = [&](const QRect& q) {
        const int x = X(q.left()), y = Y(q.top());
        return QRect(x, y, X(q.left() + q.width()) - x, Y(q.top() + q.height()) - y);
    };
    // Names keep the table's lift above their line rather than the scaled lift of the screen.
    const int lift = g.hub - qRound(r.hub * ky);
    const int schrift = r.schrift > 0 ? r.schrift : 8;

    b.size = QSize(X(l.size.width()), Y(l.size.height()));
    for (const PlanLine& line : l.lines)
        b.linien.append(
            {QPoint(X(line.from.x()), Y(line.from.y())), QPoint(X(line.to.x()), Y(line.to.y())), line.color});
    for (const PlanRect& rect : l.rects)
        b.flaechen.append({box(rect.box), rect.fill});
    for (const PlanText& t : l.texts) {
        Text p;
        p.box = box(t.box);
        if (t.box.top() >= r.oben - r.hub) p.box.translate(0, -lift);
        p.text = t.text;
        p.hoehe = std::max(1, qRound(double(g.schrift) * t.size / schrift));
        p.bold = t.bold;
        p.ausrichtung = t.alignRight ? Qt::AlignRight : t.centred ? Qt::AlignHCenter : Qt::AlignLeft;
        // A left-aligned text takes no more room than it prints in, so that page cuts find the gaps
        // between texts (a little slack, as the printer measures on its own).
        p.box.setHeight(std::min(p.box.height(), zeilenhoehe(p.hoehe)));
        if (p.ausrichtung == Qt::AlignLeft)
            p.box.setWidth(std::min(p.box.width(), breite(p.text, p.hoehe, p.bold) * 51 / 50 + 2));
        b.texte.append(p);
    }
    const QHash<int, const SpielplanRow*> spiele = nachNummer(matches);
    for (const PlanStatusCell& c : l.cells) {
        const QString e = druckErgebnis(spiele.value(c.spielnummer));
        if (e.isEmpty()) continue;
        // Right of the match's box, centred between its two lines: a name's lift below the cell's top.
        b.texte.append(ergebnisText(box(c.box), Y(c.box.top() + r.hub), c.mirrored ? umgekehrt(e) : e,
                                    g.schrift, Qt::AlignLeft));
    }
    // Nothing may stand beyond the sheet, or the pages would not hold it.
    for (const Linie& line : b.linien)
        b.size = b.size.expandedTo(QSize(std::max(line.a.x(), line.b.x()), std::max(line.a.y(), line.b.y())));
    for (const Text& t : b.texte)
        b.size = b.size.expandedTo(QSize(t.box.left() + t.box.width(), t.box.top() + t.box.height()));
    // The headings over the whole sheet: the tournament name at twice the font height, three font heights
    // below it the plan's heading at one and a half.
    if (!turniername.isEmpty())
        b.texte.append(kopfzeile(turniername, 2 * g.schrift, kKopfOben, b.size.width()));
    if (!titel.isEmpty())
        b.texte.append(kopfzeile(titel, 3 * g.schrift / 2, kKopfOben + 3 * g.schrift, b.size.width()));
    return b;
}

Schnitte schneiden(const Blatt& bogen, QSize seite) {
    QVector<std::pair<int, int>> sx, sy;
    sx.reserve(bogen.texte.size());
    sy.reserve(bogen.texte.size());
    for (const Text& t : bogen.texte) {
        if (!t.kopf) sx.append({t.box.left(), t.box.left() + t.box.width()});
        sy.append({t.box.top(), t.box.top() + t.box.height()});
    }
    return {schnitte(bogen.size.width(), seite.width(), sx),
            schnitte(bogen.size.height(), seite.height(), sy)};
}

QVector<Blatt> kacheln(const Blatt& bogen, const Schnitte& s) {
    QVector<Blatt> out;
    for (int j = 0; j < s.hoch(); ++j)
        for (int i = 0; i < s.quer(); ++i) {
            const QRect stueck(s.x[i], s.y[j], s.x[i + 1] - s.x[i], s.y[j + 1] - s.y[j]);
            const QPoint ecke = stueck.topLeft();
            Blatt p;
            p.size = stueck.size();
            for (const Flaeche& f : bogen.flaechen) {
                const QRect r = f.box.intersected(stueck);
                if (!r.isEmpty()) p.flaechen.append({r.translated(-ecke), f.farbe});
            }
            const int rechts = stueck.left() + stueck.width(), unten = stueck.top() + stueck.height();
            for (const Linie& line : bogen.linien) {
                // A line on a cut itself belongs to the page after it only.
                if (line.a.x() == line.b.x() && line.a.x() == rechts && i + 1 < s.quer()) continue;
                if (line.a.y() == line.b.y() && line.a.y() == unten && j + 1 < s.hoch()) continue;
                QPoint a = line.a, b = line.b;
                if (!beschneiden(a, b, stueck)) continue;
                // What only touches the page leaves no dot on it.
                if (a == b && line.a != line.b) continue;
                p.linien.append({a - ecke, b - ecke, line.farbe});
            }
            // A text belongs to the page its start lies on; cuts keep it whole there.
            for (Text t : bogen.texte) {
                if (t.kopf) t = aufEinerSeite(t, s.x);
                if (!stueck.contains(t.box.topLeft())) continue;
                t.box.translate(-ecke);
                p.texte.append(t);
            }
            out.append(p);
        }
    return out;
}

QSize a4(QPageLayout::Orientation format) {
    return format == QPageLayout::Landscape ? QSize(2970, 2100) : QSize(2100, 2970);
}

QStringList groessenTexte(const PlanLayout& layout, const QVector<SpielplanRow>& matches,
                          QPageLayout::Orientation format, const QString& turniername, const QString& titel) {
    QStringList out;
    for (int n = 0; n < kGroessen; ++n) {
        const Schnitte s = schneiden(koBogen(layout, matches, n, turniername, titel), a4(format));
        out << QStringLiteral("Größe %1 (%2x%3) DIN A4 Seiten").arg(n).arg(s.quer()).arg(s.hoch());
    }
    return out;
}

double gruppenFaktor(int druckbreite, int teilnehmer, int layoutbreite) {
    const double r = std::max((druckbreite >= 2000 ? 1.9 : 1.2) - 0.05 * teilnehmer, 0.6);
    // A row of the group block is 30·r high on paper, 20 pixels on screen.
    double k = 1.5 * r;
    if (layoutbreite > 0) k = std::min(k, double(druckbreite - 2 * kLinks) / layoutbreite);
    return std::max(k, 0.1);
}

QVector<Blatt> gruppenSeiten(const PlanLayout& l, const QVector<SpielplanRow>& matches, int teilnehmer,
                             QSize seite, const QString& turniername, const QString& titel) {
    QVector<Blatt> out;
    if (l.bloecke.isEmpty()) return out;
    // The drawn part of the page, without its tool pictures.
    QRect inhalt;
    for (const PlanLine& line : l.lines)
        inhalt |= QRect(line.from, line.to).normalized();
    for (const PlanText& t : l.texts)
        inhalt |= t.box;
    const double k = gruppenFaktor(seite.width(), teilnehmer, inhalt.width());
    const double r = k / 1.5;
    const int links = kLinks;
    const auto X = [&](int x) { return links + qRound((x - inhalt.left()) * k); };
    const QHash<int, const SpielplanRow*> spiele = nachNummer(matches);

    // On screen a point is 96/72 pixels (as the plan area sizes its fonts), here k tenths of a millimetre.
    const auto hoehe = [&](int punkte) { return std::max(1, qRound((punkte * 96 + 36) / 72 * k)); };
    const int kopf1 = qRound(32 * r), kopf2 = qRound(24 * r);
    const int ersterBlock = kKopfOben + 3 * kopf1 / 2 + zeilenhoehe(kopf2) + qRound(40 * r);
    const int unten = seite.height() - 50;

    Blatt p;
    auto neueSeite = [&] {
        p = Blatt{};
        p.size = seite;
        if (!turniername.isEmpty()) p.texte.append(kopfzeile(turniername, kopf1, kKopfOben, seite.width()));
        if (!titel.isEmpty())
            p.texte.append(kopfzeile(titel, kopf2, kKopfOben + 3 * kopf1 / 2, seite.width()));
    };
    neueSeite();
    int y = ersterBlock;
    int bloeckeAufSeite = 0;
    for (const QRect& block : l.bloecke) {
        const int h = qRound(block.height() * k);
        if (bloeckeAufSeite > 0 && y + h > unten) {
            out.append(p);
            neueSeite();
            y = ersterBlock;
            bloeckeAufSeite = 0;
        }
        const auto Y = [&](int v) { return y + qRound((v - block.top()) * k); };
        const auto box = [&](const QRect& q) {
            return QRect(X(q.left()), Y(q.top()), X(q.left() + q.width()) - X(q.left()),
                         Y(q.top() + q.height()) - Y(q.top()));
        };
        const auto imBlock = [&](int v) { return v >= block.top() && v < block.top() + block.height(); };
        for (const PlanRect& rect : l.rects)
            if (imBlock(rect.box.top())) p.flaechen.append({box(rect.box), rect.fill});
        for (const PlanLine& line : l.lines)
            if (imBlock(std::min(line.from.y(), line.to.y())))
                p.linien.append({QPoint(X(line.from.x()), Y(line.from.y())),
                                 QPoint(X(line.to.x()), Y(line.to.y())), line.color});
        for (const PlanText& t : l.texts) {
            if (!imBlock(t.box.top())) continue;
            p.texte.append({box(t.box), t.text, hoehe(t.size), t.bold,
                            t.alignRight ? Qt::AlignRight
                            : t.centred  ? Qt::AlignHCenter
                                         : Qt::AlignLeft});
        }
        for (const PlanStatusCell& c : l.cells) {
            if (!imBlock(c.box.top())) continue;
            const QString e = druckErgebnis(spiele.value(c.spielnummer));
            if (!e.isEmpty())
                p.texte.append(ergebnisText(box(c.box), box(c.box).center().y(),
                                            c.mirrored ? umgekehrt(e) : e, hoehe(8), Qt::AlignHCenter));
        }
        y += h;
        ++bloeckeAufSeite;
    }
    out.append(p);
    return out;
}

QSize druckbereich(const PrintSurface& s) {
    const double tpd = s.tenthsPerDot();
    return QSize(qRound((s.pageWidthDots() - 2 * s.offsetLeftDots()) * tpd),
                 qRound((s.pageHeightDots() - 2 * s.offsetTopDots()) * tpd));
}

void zeichnen(PrintSurface& s, const QVector<Blatt>& seiten) {
    for (int i = 0; i < seiten.size(); ++i) {
        const Blatt& p = seiten[i];
        if (i > 0) s.newPage();
        s.setWindowOrigin(0, 0);
        for (const Flaeche& f : p.flaechen)
            s.fillRect(f.box.left(), -f.box.top(), f.box.left() + f.box.width(),
                       -(f.box.top() + f.box.height()), f.farbe);
        QColor farbe = Qt::black;
        s.setPenColor(farbe);
        for (const Linie& line : p.linien) {
            if (line.farbe != farbe) s.setPenColor(farbe = line.farbe);
            s.line(line.a.x(), -line.a.y(), line.b.x(), -line.b.y());
        }
        s.setPenColor(Qt::black);
        int hoehe = -1;
        bool bold = false;
        for (const Text& t : p.texte) {
            if (t.text.isEmpty()) continue;
            if (t.hoehe != hoehe || t.bold != bold) {
                hoehe = t.hoehe;
                bold = t.bold;
                s.setFont(kSchrift, hoehe, bold);
            }
            QString text = t.text;
            int w = s.textWidth(text);
            if (w > t.box.width()) {
                while (!text.isEmpty() && s.textWidth(text + u'…') > t.box.width())
                    text.chop(1);
                if (text.isEmpty()) continue;
                text += u'…';
                w = s.textWidth(text);
            }
            int x = t.box.left();
            if (t.ausrichtung & Qt::AlignRight)
                x = t.box.left() + t.box.width() - w;
            else if (t.ausrichtung & Qt::AlignHCenter)
                x = t.box.left() + (t.box.width() - w) / 2;
            s.textOut(x, -t.box.top(), text);
        }
    }
}

QVector<Blatt> seitenDerPhase(const PlanDaten& d, int phase, int n, QSize seite, const QString& turniername,
                              const QString& titel) {
    if (phase < 1 || phase > 3 || !d.info.found) return {};
    const PlanLayout l = phasenplan(d, phase, kDruckZoom);
    if (!l.error.isEmpty() || l.isEmpty()) return {};
    if (d.info.phase[phase - 1] == 0)
        return gruppenSeiten(l, d.matches, d.info.teilnehmer[phase - 1], seite, turniername, titel);
    const Blatt bogen = koBogen(l, d.matches, n, turniername, titel);
    return kacheln(bogen, schneiden(bogen, seite));
}

namespace {

QString pdfName(const QString& titel, int phase) {
    QString out;
    for (const QChar c : titel)
        out += QStringView(u"<>:\"/\\|?*").contains(c) ? QLatin1Char('_') : c;
    out = out.trimmed();
    if (out.isEmpty()) out = QStringLiteral("Plan");
    return out + QStringLiteral(" Phase %1.pdf").arg(phase);
}

} // namespace

bool drucken(Interaction& interaction, const PlanDaten& d, int phase, const QString& turniername,
             const QString& titel, const QString& ordner) {
    if (phase < 1 || phase > 3 || !d.info.found) return false;
    const int system = d.info.phase[phase - 1];
    if (system < 0 || system > 2) return false;
    const PlanLayout l = phasenplan(d, phase, kDruckZoom);
    if (!l.error.isEmpty()) {
        // A double bracket whose size the data file lacks is not printed.
        interaction.error(l.error);
        return false;
    }
    if (l.isEmpty()) return false;

    const bool gruppen = system == 0;
    const std::optional<Interaction::DruckWahl> wahl =
        gruppen ? interaction.druckwahl({}) : interaction.druckwahl([&](QPageLayout::Orientation format) {
            return groessenTexte(l, d.matches, format, turniername, titel);
        });
    if (!wahl) return false;
    const QPageLayout::Orientation format = gruppen ? QPageLayout::Portrait : wahl->format;

    const auto draw = [&](PrintSurface& s) {
        const QSize seite = druckbereich(s);
        zeichnen(
            s, gruppen ? gruppenSeiten(l, d.matches, d.info.teilnehmer[phase - 1], seite, turniername, titel)
                       : [&] {
                             const Blatt bogen = koBogen(l, d.matches, wahl->groesse, turniername, titel);
                             return kacheln(bogen, schneiden(bogen, seite));
                         }());
    };

    const Druckziel ziel = wahl->ziel == Interaction::DruckWahl::Ziel::Pdf        ? Druckziel::Pdf
                           : wahl->ziel == Interaction::DruckWahl::Ziel::Vorschau ? Druckziel::Vorschau
                                                                                 : Druckziel::Drucker;
    return druckauftrag(interaction, titel.isEmpty() ? QStringLiteral("Plan") : titel, format, draw, ziel,
                        QDir(ordner).filePath(pdfName(titel, phase)));
}

} // namespace plandruck
