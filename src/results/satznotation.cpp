#include "results/satznotation.h"

#include <QRegularExpression>

namespace satznotation {

const QString kUngueltigesErgebnis = QStringLiteral("Wählen Sie ein gültiges Satzergebnis");
const QString kUngueltigesSpielergebnis = QStringLiteral("Wählen Sie ein gültiges Spielergebnis");

Eingabe lesen(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {true, std::nullopt};
    static const QRegularExpression form(QStringLiteral("^([+-]?)([0-9]{1,2})$"));
    const QRegularExpressionMatch m = form.match(t);
    if (!m.hasMatch()) return {false, std::nullopt};
    const int n = m.captured(2).toInt();
    if (m.captured(1) == u"-") return {true, n == 0 ? kMinusNull : -n};
    return {true, n};
}

QString text(const std::optional<int>& wert) {
    if (!wert) return {};
    if (*wert == kMinusNull) return QStringLiteral("-0");
    if (*wert >= 0) return QStringLiteral("+") + QString::number(*wert);
    return QString::number(*wert);
}

Punkte punkte(int wert) {
    if (wert == kMinusNull) return {0, 11};
    const int n = wert < 0 ? -wert : wert;
    const int sieger = n <= 9 ? 11 : n + 2;
    return wert >= 0 ? Punkte{sieger, n} : Punkte{n, sieger};
}

QStringList ergebnisliste(int g) {
    QStringList out;
    for (int k = g - 1; k >= 0; --k)
        out << QStringLiteral("%1:%2").arg(g).arg(k);
    for (int k = 0; k < g; ++k)
        out << QStringLiteral("%1:%2").arg(k).arg(g);
    return out;
}

QStringList teamErgebnisliste(int rubbers) {
    QStringList out;
    for (int a = rubbers; a >= 0; --a)
        for (int b = 0; a + b <= rubbers; ++b)
            if (a != b) out << QStringLiteral("%1:%2").arg(a).arg(b);
    return out;
}

std::optional<Endergebnis> endergebnis(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]+):([0-9]+)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) return std::nullopt;
    return Endergebnis{m.captured(1).toInt(), m.captured(2).toInt()};
}

QString pruefen(const QString& ergebnis, const QStringList& liste, const QStringList& saetze, Saetze* werte) {
    const auto e = endergebnis(ergebnis);
    if (!liste.contains(ergebnis) || !e) return kUngueltigesErgebnis;

    Saetze gelesen;
    for (int k = 0; k < 9; ++k) {
        const Eingabe in = lesen(k < saetze.size() ? saetze[k] : QString());
        if (!in.gueltig) return QStringLiteral("Satz %1: Keinen korrekten Wert eingegeben").arg(k + 1);
        gelesen[k] = in.wert;
    }

    // The entered sets must be a possible course of the match: the winner takes his last set in the
    // last set played, and nobody wins more sets than the result gives him.
    const bool erster = e->ersterGewinnt();
    const int siegerSaetze = erster ? e->a : e->b;
    const int verliererSaetze = erster ? e->b : e->a;
    const int gespielt = e->a + e->b;
    int sieger = 0, verlierer = 0;
    for (int k = 0; k < 9; ++k) {
        if (!gelesen[k]) continue;
        const QString widerspruch =
            QStringLiteral("Satz %1 passt nicht zum Endergebnis %2").arg(k + 1).arg(ergebnis);
        if (k >= gespielt) return widerspruch;
        const bool siegerGewinnt = ersterGewinnt(*gelesen[k]) == erster;
        if (k == gespielt - 1 && !siegerGewinnt) return widerspruch;
        (siegerGewinnt ? sieger : verlierer) += 1;
        if (verlierer > verliererSaetze) return widerspruch;
        if (sieger == siegerSaetze && k < gespielt - 1) return widerspruch;
    }
    if (werte) *werte = gelesen;
    return {};
}

} // namespace satznotation
