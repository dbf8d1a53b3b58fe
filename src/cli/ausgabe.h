#pragma once

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

// What a command answers: a few named values and tables, printed as aligned text or as one JSON object.
namespace cli {

struct Tabelle {
    QString schluessel; // the JSON member holding the rows
    QString titel;      // a heading line over the text table; none when empty
    QStringList kopf;   // captions of the text table
    QStringList felder; // JSON member of each column
    QList<QVariantList> zeilen;

    void zeile(const QVariantList& werte) { zeilen << werte; }
};

struct Antwort {
    QStringList zeilen; // text lines before the tables (text output only)
    QJsonObject werte;  // JSON members
    QList<Tabelle> tabellen;
};

// Columns padded to their widest cell, the last one unpadded; numbers are right-aligned.
void alsText(QTextStream& out, const Antwort& a);
// One object: werte, each table as an array of objects, and the messages shown on the way.
void alsJson(QTextStream& out, const Antwort& a, const QStringList& meldungen);

} // namespace cli
