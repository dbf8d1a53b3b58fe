#include "entries/import_formular.h"

#include "entries/import_zip.h"
#include "output/entryform.h"

#include <QHash>
#include <QMap>
#include <QXmlStreamReader>

namespace importformular {

namespace {

const QString W = QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");

// w:checked and w:default write "1", "true" or "on", and a w:checked without value means ticked.
bool wahr(const QXmlStreamAttributes& a) {
    if (!a.hasAttribute(W, QStringLiteral("val"))) return true;
    const QString v = a.value(W, QStringLiteral("val")).toString().trimmed().toLower();
    return v == u"1" || v == u"true" || v == u"on";
}

struct OffenesFeld {
    Formularfeld feld;
    bool formular = false; // ffData seen or a FORM… instruction
    bool ergebnis = false; // between separate and end
    QString anweisung;
    bool angekreuzt = false;
    bool hatAngekreuzt = false;
    bool vorgabe = false;
};

QString keinFormular(const QString& path) {
    return QStringLiteral("Die Datei %1 ist kein Anmeldeformular.").arg(importdatei::dateiname(path));
}

} // namespace

QList<Formularfeld> felder(const QByteArray& documentXml, const QString& path) {
    QList<Formularfeld> out;
    QXmlStreamReader xml(documentXml);
    QList<QPair<int, int>> tabellen; // open tables: index and current row
    int tabellenZahl = 0;
    QMap<QString, QString> lesezeichen; // open bookmarks by id
    QList<OffenesFeld> offen;
    bool imFfData = false, imCheckBox = false, imDdList = false, imText = false, imAnweisung = false;

    while (importdatei::naechstes(xml, path)) {
        if (xml.isStartElement()) {
            if (xml.namespaceUri() != W) continue;
            const QStringView n = xml.name();
            const QXmlStreamAttributes a = xml.attributes();
            if (n == u"tbl") {
                tabellen.append({tabellenZahl++, -1});
            } else if (n == u"tr") {
                if (!tabellen.isEmpty()) ++tabellen.last().second;
            } else if (n == u"bookmarkStart") {
                const QString name = a.value(W, QStringLiteral("name")).toString();
                lesezeichen.insert(a.value(W, QStringLiteral("id")).toString(), name);
                if (!offen.isEmpty()) offen.last().feld.innen << name;
            } else if (n == u"bookmarkEnd") {
                lesezeichen.remove(a.value(W, QStringLiteral("id")).toString());
            } else if (n == u"fldChar") {
                const QStringView typ = a.value(W, QStringLiteral("fldCharType"));
                if (typ == u"begin") {
                    OffenesFeld f;
                    f.feld.lesezeichen = lesezeichen.values();
                    if (!tabellen.isEmpty()) {
                        f.feld.tabelle = tabellen.last().first;
                        f.feld.zeile = tabellen.last().second;
                    }
                    offen.append(f);
                } else if (typ == u"separate") {
                    if (!offen.isEmpty()) offen.last().ergebnis = true;
                } else if (typ == u"end") {
                    if (offen.isEmpty()) continue;
                    OffenesFeld f = offen.takeLast();
                    const QString anweisung = f.anweisung.trimmed().toUpper();
                    if (anweisung.startsWith(QLatin1String("FORMCHECKBOX")))
                        f.feld.art = Formularfeld::Art::Kontrollkaestchen;
                    else if (anweisung.startsWith(QLatin1String("FORMDROPDOWN")))
                        f.feld.art = Formularfeld::Art::Auswahl;
                    else if (anweisung.startsWith(QLatin1String("FORMTEXT")))
                        f.feld.art = Formularfeld::Art::Text;
                    else if (!f.formular)
                        continue; // some other field (page number, date …)
                    f.feld.angekreuzt = f.hatAngekreuzt ? f.angekreuzt : f.vorgabe;
                    f.feld.ergebnis = f.feld.ergebnis.trimmed();
                    out.append(f.feld);
                }
            } else if (offen.isEmpty()) {
                continue;
            } else if (n == u"ffData") {
                imFfData = true;
                offen.last().formular = true;
            } else if (imFfData && n == u"name") {
                offen.last().feld.name = a.value(W, QStringLiteral("val")).toString();
            } else if (imFfData && n == u"checkBox") {
                imCheckBox = true;
                offen.last().feld.art = Formularfeld::Art::Kontrollkaestchen;
            } else if (imFfData && n == u"ddList") {
                imDdList = true;
                offen.last().feld.art = Formularfeld::Art::Auswahl;
            } else if (imFfData && n == u"textInput") {
                offen.last().feld.art = Formularfeld::Art::Text;
            } else if (imCheckBox && n == u"checked") {
                offen.last().hatAngekreuzt = true;
                offen.last().angekreuzt = wahr(a);
            } else if (imCheckBox && n == u"default") {
                offen.last().vorgabe = wahr(a);
            } else if (imDdList && n == u"listEntry") {
                offen.last().feld.eintraege << a.value(W, QStringLiteral("val")).toString();
            } else if (n == u"instrText") {
                imAnweisung = true;
            } else if (n == u"t") {
                imText = true;
            } else if (n == u"tab" && offen.last().ergebnis && !imFfData) {
                offen.last().feld.ergebnis += u' ';
            }
        } else if (xml.isEndElement()) {
            if (xml.namespaceUri() != W) continue;
            const QStringView n = xml.name();
            if (n == u"tbl") {
                if (!tabellen.isEmpty()) tabellen.removeLast();
            } else if (n == u"ffData") {
                imFfData = false;
            } else if (n == u"checkBox") {
                imCheckBox = false;
            } else if (n == u"ddList") {
                imDdList = false;
            } else if (n == u"instrText") {
                imAnweisung = false;
            } else if (n == u"t") {
                imText = false;
            }
        } else if (xml.isCharacters() && !offen.isEmpty()) {
            if (imAnweisung)
                offen.last().anweisung += xml.text();
            else if (imText && offen.last().ergebnis)
                offen.last().feld.ergebnis += xml.text();
        }
    }
    return out;
}

Formular auswerten(const QList<Formularfeld>& felder, const QString& path) {
    using Art = Formularfeld::Art;
    auto finde = [&](const QString& name, Art art) -> const Formularfeld* {
        for (const Formularfeld& f : felder)
            if (f.art == art && f.name == name) return &f;
        // A bookmark begun inside a field is that field's; one open around it may have been left open by
        // the field before (word processors end bookmarks late).
        for (const Formularfeld& f : felder)
            if (f.art == art && f.innen.contains(name)) return &f;
        for (const Formularfeld& f : felder)
            if (f.art == art && f.lesezeichen.contains(name)) return &f;
        return nullptr;
    };

    // By place: the player rows are the rows with at least three fields of the table with the most fields.
    QHash<int, int> proTabelle;
    for (const Formularfeld& f : felder)
        if (f.tabelle >= 0) ++proTabelle[f.tabelle];
    int spielerTabelle = -1;
    for (auto it = proTabelle.cbegin(); it != proTabelle.cend(); ++it)
        if (spielerTabelle < 0 || it.value() > proTabelle.value(spielerTabelle) ||
            (it.value() == proTabelle.value(spielerTabelle) && it.key() < spielerTabelle))
            spielerTabelle = it.key();
    QMap<int, QList<const Formularfeld*>> proZeile;
    for (const Formularfeld& f : felder)
        if (f.tabelle == spielerTabelle && spielerTabelle >= 0) proZeile[f.zeile].append(&f);
    QList<QList<const Formularfeld*>> zeilen;
    for (const auto& z : proZeile)
        if (z.size() >= 3) zeilen.append(z);
    auto anStelle = [&](int zeile, int stelle, Art art) -> const Formularfeld* {
        if (zeile < 0 || zeile >= zeilen.size() || stelle >= zeilen[zeile].size()) return nullptr;
        const Formularfeld* f = zeilen[zeile][stelle];
        return f->art == art ? f : nullptr;
    };

    if (felder.isEmpty() || (!finde(entryform::nachnameFeld(1), Art::Text) && zeilen.isEmpty()))
        throw ImportFehler(keinFormular(path));

    Formular form;
    auto text = [](const Formularfeld* f) { return f ? f->ergebnis : QString(); };
    const Formularfeld* verein = finde(entryform::vereinFeld(), Art::Text);
    if (!verein && felder.first().art == Art::Text) verein = &felder.first();
    form.verein = text(verein);
    form.ansprechpartner = text(finde(entryform::ansprechpartnerFeld(), Art::Text));
    form.telefon = text(finde(entryform::telefonFeld(), Art::Text));

    const Formularfeld* anzahl = finde(entryform::anzahlFeld(), Art::Auswahl);
    if (!anzahl)
        for (const Formularfeld& f : felder)
            if (f.art == Art::Auswahl) {
                anzahl = &f;
                break;
            }
    if (anzahl) {
        for (const QString& e : anzahl->eintraege) {
            bool ok = false;
            const int kid = e.trimmed().toInt(&ok);
            if (!ok)
                throw ImportFehler(QStringLiteral("Das Anmeldeformular %1 ist beschädigt: die Klassenliste "
                                                  "enthält „%2“ statt einer Klassennummer.")
                                       .arg(importdatei::dateiname(path), e));
            form.kids << kid;
        }
    } else {
        for (const Formularfeld& f : felder)
            if (f.art == Art::Kontrollkaestchen)
                throw ImportFehler(QStringLiteral("Das Anmeldeformular %1 ist beschädigt: die Liste der "
                                                  "Klassen fehlt.")
                                       .arg(importdatei::dateiname(path)));
    }

    for (int n = 1; n <= entryform::kSpielerZeilen; ++n) {
        const Formularfeld* nn = finde(entryform::nachnameFeld(n), Art::Text);
        if (!nn) nn = anStelle(n - 1, 0, Art::Text);
        const Formularfeld* vn = finde(entryform::vornameFeld(n), Art::Text);
        if (!vn) vn = anStelle(n - 1, 1, Art::Text);
        const Formularfeld* sk = finde(entryform::spielklasseFeld(n), Art::Text);
        if (!sk) sk = anStelle(n - 1, 2, Art::Text);
        Formular::Zeile z;
        z.nummer = n;
        z.nachname = text(nn);
        z.vorname = text(vn);
        z.spielklasse = text(sk);
        if (z.nachname.isEmpty() || z.vorname.isEmpty()) continue;
        for (int k = 1; k <= form.kids.size(); ++k) {
            const Formularfeld* f = finde(entryform::klassenFeld(n, k), Art::Kontrollkaestchen);
            if (!f) f = anStelle(n - 1, 2 + k, Art::Kontrollkaestchen);
            z.klassen << (f && f->angekreuzt);
        }
        form.zeilen << z;
    }
    return form;
}

Formular lesen(const QByteArray& data, const QString& path) {
    if (data.startsWith("\xD0\xCF\x11\xE0"))
        throw ImportFehler(
            QStringLiteral("Die Datei %1 ist im alten Word-Format gespeichert; bitte speichern Sie "
                           "sie als Word-Dokument (.docx).")
                .arg(importdatei::dateiname(path)));
    const importdatei::ZipPaket zip(data, path);
    if (!zip.enthaelt(QStringLiteral("word/document.xml")))
        throw ImportFehler(
            QStringLiteral("Die Datei %1 ist kein Word-Dokument (.docx).").arg(importdatei::dateiname(path)));
    return auswerten(felder(zip.member(QStringLiteral("word/document.xml")), path), path);
}

Formular lesen(const QString& path) {
    return lesen(importdatei::lesen(path), path);
}

} // namespace importformular
