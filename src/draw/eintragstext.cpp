#include "draw/eintragstext.h"

#include <QCollator>
#include <QLocale>

namespace eintrag {

bool lessGerman(const QString& a, const QString& b) {
    static const QCollator collator = [] {
        QCollator c(QLocale(QLocale::German, QLocale::Germany));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    const int c = collator.compare(a, b);
    return c != 0 ? c < 0 : a < b;
}

QString playerText(const QString& nachname, const QString& vorname) {
    return nachname + QStringLiteral(", ") + vorname;
}

QString pairText(const QString& n1, const QString& v1, const QString& n2, const QString& v2) {
    return n1 + QStringLiteral(", ") + v1.left(1) + QStringLiteral(". / ") + n2 + QStringLiteral(", ") +
           v2.left(1);
}

} // namespace eintrag
