#include "draw/labels.h"

namespace labels {

QString gruppenbuchstabe(int gid) {
    return QString(QChar(65 + gid));
}

QString gruppentitel(int gid) {
    return QStringLiteral("Gruppe ") + gruppenbuchstabe(gid);
}

QString platzlabel(int rang, int gid) {
    switch (rang) {
    case 1:
        return QStringLiteral("Sieger Gruppe ") + gruppenbuchstabe(gid);
    case 2:
        return QStringLiteral("Zweiter Gruppe ") + gruppenbuchstabe(gid);
    case 3:
        return QStringLiteral("Dritter Gruppe ") + gruppenbuchstabe(gid);
    default:
        return QStringLiteral("%1. Gruppe ").arg(rang) + gruppenbuchstabe(gid);
    }
}

QString bestplatziertenlabel(int k, int platz) {
    return QStringLiteral("%1. Bestplatzierter %2. Platz").arg(k).arg(platz);
}

QStringList qualifikanten(int ersteGid, int gruppenanzahl, int besten, int bestplazierten) {
    QStringList result;
    for (int rang = 1; rang <= besten; ++rang)
        for (int g = 0; g < gruppenanzahl; ++g)
            result << platzlabel(rang, ersteGid + g);
    for (int k = 1; k <= bestplazierten; ++k)
        result << bestplatziertenlabel(k, besten + 1);
    return result;
}

int getparentGID(const QString& text) {
    if (text.isEmpty()) return -1;
    const QChar last = text.back();
    if (last == u'z') return -3;
    if (last == u' ') return -2;
    return last.unicode() - 65;
}

int getparentpos(const QString& text) {
    if (text.isEmpty()) return -1;
    switch (text.front().unicode()) {
    case u'S':
        return 0;
    case u'Z':
        return 1;
    case u'D':
        return 2;
    case u'F':
        return -2;
    default:
        break;
    }
    const int dot = text.indexOf(u'.');
    QString digits;
    for (const QChar c : dot < 0 ? QStringView(text) : QStringView(text).left(dot))
        if (c >= u'0' && c <= u'9') digits += c;
    return digits.isEmpty() ? -1 : digits.toInt() - 1;
}

QString zeilentext(int zeile, const QString& text) {
    return QStringLiteral("%1. ").arg(zeile) + text;
}

QString zeileninhalt(const QString& zeile) {
    const int dot = zeile.indexOf(QStringLiteral(". "));
    return dot < 0 ? QString() : zeile.mid(dot + 2);
}

} // namespace labels
