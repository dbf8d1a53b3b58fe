#include "play/spielplandruck.h"

#include "output/druckauftrag.h"
#include "output/printsurface.h"

QVector<SpielplanZeile> spielplanzeilen(const QVector<SpielplanRow>& matches, int gid) {
    QVector<SpielplanZeile> out;
    out.reserve(matches.size());
    for (const SpielplanRow& m : matches) {
        if (gid >= 0 && m.gruppe != gid) continue;
        SpielplanZeile z;
        z.spielnummer = m.spielnummer;
        if (m.geplanter_tag.isValid()) z.tag = m.geplanter_tag.toString(QStringLiteral("dd.MM.yyyy"));
        if (m.geplante_zeit.isValid()) z.zeit = m.geplante_zeit.time().toString(QStringLiteral("hh:mm"));
        z.spieler1 = m.spieler1;
        z.spieler2 = m.spieler2;
        if (m.gruppe >= 0) z.gruppe = QChar(u'A' + m.gruppe);
        if (m.geplanter_tisch) z.tisch = *m.geplanter_tisch;
        if (m.schiri && !m.schiri->isEmpty()) z.schiri = *m.schiri;
        if (m.beendet) {
            z.status = QStringLiteral("Beendet");
            z.ergebnis = m.ergebnis.value_or(QString());
        } else if (m.begonnen) {
            z.status = QStringLiteral("Begonnen");
        } else if (m.in_planung) {
            z.status = QStringLiteral("Aufgerufen");
        } else if (m.spieler1.isEmpty() || m.spieler2.isEmpty()) {
            z.status = QStringLiteral("kein Spiel");
        }
        out << z;
    }
    return out;
}

namespace spielplandruck {
double scaleFor(double printableHeightMm) {
    return printableHeightMm >= 200.0 ? 2.0 : 1.35;
}
} // namespace spielplandruck

void spielplanlisteZeichnen(PrintSurface& s, const QString& turniername, const QString& titel,
                            const QVector<SpielplanZeile>& zeilen) {
    using namespace spielplandruck;
    const double tpd = s.tenthsPerDot();
    const int paperWidth = qRound(s.pageWidthDots() * tpd);
    const int paperHeight = qRound(s.pageHeightDots() * tpd);
    const int offsetLeft = qRound(s.offsetLeftDots() * tpd);
    const int offsetTop = qRound(s.offsetTopDots() * tpd);
    // The printer's margins are taken as equal on opposite sides.
    const int printableWidth = paperWidth - 2 * offsetLeft;
    const int printableHeight = paperHeight - 2 * offsetTop;
    const double z = scaleFor(printableHeight / 10.0);
    auto sc = [z](double v) { return qRound(v * z); };

    const int left = 50;
    // Positions below the printable area's top; the paper's bottom lies offsetTop below its end.
    const int paperBottom = paperHeight - offsetTop;
    const int lastRowTop = paperBottom - 100;
    const int rowStep = qRound(24 * z); // 2.4z mm
    const int gap = sc(5);

    const QString titleFont = QStringLiteral("Times New Roman");
    const QString rowFont = QStringLiteral("Arial");

    // Day and time stand where the layout puts them unless a long number, a date or a title would run
    // into them; texts of the other columns are shortened to their column.
    s.setFont(titleFont, sc(22));
    int widestNr = s.textWidth(QStringLiteral("Nr."));
    int widestTag = s.textWidth(QStringLiteral("Tag"));
    s.setFont(rowFont, sc(20));
    for (const SpielplanZeile& r : zeilen) {
        widestNr = qMax(widestNr, s.textWidth(QString::number(r.spielnummer)));
        widestTag = qMax(widestTag, s.textWidth(r.tag));
    }
    const int xNr = left + sc(kNr);
    const int xTag = qMax(left + sc(kTag), xNr + widestNr + gap);
    const int xZeit = qMax(left + sc(kZeit), xTag + widestTag + gap);
    const int xSp1 = left + sc(kSpieler1), xSp2 = left + sc(kSpieler2), xGruppe = left + sc(kGruppe),
              xTisch = left + sc(kTisch), xSchiri = left + sc(kSchiri), xErgebnis = left + sc(kErgebnis),
              xStatus = left + sc(kStatus);
    const int right = printableWidth - left;

    auto fit = [&](const QString& text, int room) {
        if (s.textWidth(text) <= room) return text;
        QString cut = text;
        while (!cut.isEmpty() && s.textWidth(cut + u'…') > room)
            cut.chop(1);
        return cut + u'…';
    };
    auto centred = [&](int y, const QString& text) {
        s.textOut((printableWidth - s.textWidth(text)) / 2, y, text);
    };
    auto kopf = [&] {
        s.setFont(titleFont, sc(28));
        centred(-50, turniername);
        centred(-100, titel);
        s.setFont(titleFont, sc(22));
        const std::pair<int, const char*> titles[] = {
            {xNr, "Nr."},        {xTag, "Tag"},     {xZeit, "Zeit"},   {xSp1, "Spieler 1"},
            {xSp2, "Spieler 2"}, {xGruppe, "Gruppe"}, {xTisch, "Tisch"}, {xSchiri, "Schiedsrichter"},
            {xErgebnis, "Ergebnis"}, {xStatus, "Status"}};
        for (const auto& [x, t] : titles)
            s.textOut(x, -180, QString::fromUtf8(t));
        s.line(left, -225, right, -225);
        s.setFont(rowFont, sc(20));
    };

    kopf();
    int y = 250;
    for (const SpielplanZeile& r : zeilen) {
        if (y > lastRowTop) {
            s.newPage();
            kopf();
            y = 250;
        }
        s.textOut(xNr, -y, QString::number(r.spielnummer));
        if (!r.tag.isEmpty()) s.textOut(xTag, -y, r.tag);
        if (!r.zeit.isEmpty()) s.textOut(xZeit, -y, r.zeit);
        s.textOut(xSp1, -y, fit(r.spieler1, xSp2 - xSp1 - gap));
        s.textOut(xSp2, -y, fit(r.spieler2, xGruppe - xSp2 - gap));
        if (!r.gruppe.isEmpty()) s.textOut(xGruppe, -y, r.gruppe);
        if (!r.tisch.isEmpty()) s.textOut(xTisch, -y, fit(r.tisch, xSchiri - xTisch - gap));
        if (!r.schiri.isEmpty()) s.textOut(xSchiri, -y, fit(r.schiri, xErgebnis - xSchiri - gap));
        if (!r.ergebnis.isEmpty()) s.textOut(xErgebnis, -y, r.ergebnis);
        if (!r.status.isEmpty()) s.textOut(xStatus, -y, r.status);
        y += rowStep;
    }
}

bool spielplanlisteDrucken(Interaction& interaction, const QString& turniername, const QString& titel,
                           const QVector<SpielplanZeile>& zeilen) {
    return druckauftrag(
        interaction, QStringLiteral("Spielplan"), QPageLayout::Landscape,
        [&](PrintSurface& s) { spielplanlisteZeichnen(s, turniername, titel, zeilen); }, Druckziel::Drucker);
}
