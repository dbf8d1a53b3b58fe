#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// What a returned entry form says: the club, the class ids of its columns and the rows filled in.
struct Formular {
    struct Zeile {
        int nummer = 0; // 1 to 17
        QString nachname;
        QString vorname;
        QString spielklasse;
        QList<bool> klassen; // one per class column
    };
    QString verein;
    QString ansprechpartner;
    QString telefon;
    QList<int> kids;     // the class of column k is kids[k - 1]
    QList<Zeile> zeilen; // rows with surname and first name, in form order
};

// A form field as found in document.xml.
struct Formularfeld {
    enum class Art { Text, Kontrollkaestchen, Auswahl };
    Art art = Art::Text;
    QString name;            // the field's own name; word processors may have renamed it
    QStringList lesezeichen; // the bookmarks open where the field begins (written around it)
    QStringList innen;       // the bookmarks that begin inside the field (as some word processors save)
    QString ergebnis;        // a text field's text
    bool angekreuzt = false;
    QStringList eintraege; // a drop-down's entries
    int tabelle = -1;      // which table of the document, -1 outside any table
    int zeile = -1;        // which row of that table
};

namespace importformular {

// Every form field of a document.xml in document order. Refuses (ImportFehler) a DOCTYPE and damaged XML.
QList<Formularfeld> felder(const QByteArray& documentXml, const QString& path);

// Reads the entry form: each field by its name, else by the bookmark of that name inside or around it,
// else by its place (the club is the first field, the player rows are the rows of the table with the most
// fields, the class ids are the first drop-down). Refuses (ImportFehler) a file that is no entry form.
Formular auswerten(const QList<Formularfeld>& felder, const QString& path);

// The whole .docx file.
Formular lesen(const QString& path);
Formular lesen(const QByteArray& data, const QString& path);

} // namespace importformular
