#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The first sheet of a spreadsheet as texts: rows of cells, every row as wide as the widest.
// Dates read from a spreadsheet's date cells are written "tt.mm.jjjj".
struct Tabelle {
    QList<QStringList> zeilen;
    int spalten = 0;
};

namespace importtabelle {

// .xlsx: the first sheet of the workbook. .csv (and every other name): text with ';', ',' or tab between
// the fields, UTF-8 or Windows-1252. Refuses (ImportFehler) a damaged file and an empty first sheet.
Tabelle lesen(const QString& path);
Tabelle xlsx(const QByteArray& data, const QString& path);
Tabelle csv(const QByteArray& data, const QString& path);

// The text of a CSV file: UTF-8 (with or without BOM), UTF-16 with BOM, otherwise Windows-1252.
QString csvText(const QByteArray& data);
// The field separator of a CSV text: the one of ';', ',' and tab that splits its first line most often.
QChar trennzeichen(const QString& text);

} // namespace importtabelle
