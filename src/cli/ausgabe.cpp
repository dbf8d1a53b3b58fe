#include "cli/ausgabe.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace cli {

namespace {

bool zahl(const QVariant& v) {
    const int t = v.typeId();
    return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Double;
}

QString zelle(const QVariant& v) {
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(u' ');
    return v.toString();
}

void tabelleAlsText(QTextStream& out, const Tabelle& t) {
    if (!t.titel.isEmpty()) out << t.titel << Qt::endl;
    const int n = int(t.kopf.size());
    QList<int> breite(n, 0);
    for (int c = 0; c < n; ++c)
        breite[c] = int(t.kopf[c].size());
    for (const QVariantList& z : t.zeilen)
        for (int c = 0; c < n && c < z.size(); ++c)
            breite[c] = std::max(breite[c], int(zelle(z[c]).size()));
    auto drucke = [&](const QStringList& texte, const QVariantList* werte) {
        QString line;
        for (int c = 0; c < n; ++c) {
            const QString s = c < texte.size() ? texte[c] : QString();
            const bool rechts = werte && c < werte->size() && zahl((*werte)[c]);
            if (c > 0) line += QStringLiteral("  ");
            if (c == n - 1 && !rechts)
                line += s;
            else
                line += rechts ? s.rightJustified(breite[c]) : s.leftJustified(breite[c]);
        }
        out << line << Qt::endl;
    };
    drucke(t.kopf, nullptr);
    for (const QVariantList& z : t.zeilen) {
        QStringList texte;
        for (const QVariant& v : z)
            texte << zelle(v);
        drucke(texte, &z);
    }
}

} // namespace

void alsText(QTextStream& out, const Antwort& a) {
    for (const QString& z : a.zeilen)
        out << z << Qt::endl;
    bool erste = a.zeilen.isEmpty();
    for (const Tabelle& t : a.tabellen) {
        if (!erste) out << Qt::endl;
        erste = false;
        tabelleAlsText(out, t);
    }
}

void alsJson(QTextStream& out, const Antwort& a, const QStringList& meldungen) {
    QJsonObject o = a.werte;
    for (const Tabelle& t : a.tabellen) {
        QJsonArray rows = o.value(t.schluessel).toArray();
        for (const QVariantList& z : t.zeilen) {
            QJsonObject row;
            for (int c = 0; c < t.felder.size() && c < z.size(); ++c)
                row.insert(t.felder[c], QJsonValue::fromVariant(z[c]));
            rows.append(row);
        }
        o.insert(t.schluessel, rows);
    }
    o.insert(QStringLiteral("meldungen"), QJsonArray::fromStringList(meldungen));
    out << QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented));
}

} // namespace cli
