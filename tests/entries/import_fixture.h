#pragma once

#include "entries/import.h"
#include "entries/import_zip.h"
#include "entries/spieler_fixture.h"
#include "output/entryform.h"

#include <QFile>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <memory>

// A tournament (TID 1, from SpielerFixture) with the source dialog and the import panel over it, and a
// folder for the files a test imports.
class ImportFixture : public SpielerFixture {
protected:
    void SetUp() override {
        SpielerFixture::SetUp();
        if (IsSkipped()) return;
        quelle = std::make_unique<Importquelle>(state, db(), ui);
        liste = std::make_unique<Spielerimport>(state, db(), ui);
    }

    QString file(const QString& name, const QByteArray& data) {
        const QString path = dir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
        return path;
    }

    // Everything the dialog offers goes into the import list and is imported.
    void importAll() {
        auto k = quelle->kandidaten();
        ASSERT_TRUE(k.has_value()) << ui.texts().join(u'|').toStdString();
        liste->setKandidaten(*k);
        liste->hinzufuegen();
        liste->importieren();
    }

    // "nachname, vorname (verein)" of every player of the tournament, in insert order.
    QStringList spieler() {
        QStringList out;
        for (const Row& r : db().select(
                 QStringLiteral("SELECT nachname,vorname,verein FROM Spielerdaten WHERE TID=1 ORDER BY SID")))
            out << r.text(u"nachname") + QStringLiteral(", ") + r.text(u"vorname") + QStringLiteral(" (") +
                       r.text(u"verein") + QStringLiteral(")");
        return out;
    }

    // Rows of the tables an import writes, to show that a refusal wrote nothing.
    QList<int> zeilen() {
        QList<int> out;
        for (const char* t : {"Spielerdaten", "Spieler_im_Turnier", "Doppelpartner", "Import"})
            out << count(QStringLiteral("SELECT COUNT(*) AS c FROM %1").arg(QString::fromLatin1(t)));
        return out;
    }

    QTemporaryDir dir;
    std::unique_ptr<Importquelle> quelle;
    std::unique_ptr<Spielerimport> liste;
};

// Fills a generated form as a word processor does: text into the text fields' results, ticks into the
// check boxes written as `tick` (e.g. "<w:checked/>").
inline QByteArray ausfuellen(QByteArray xml, const QMap<QString, QString>& texte, const QSet<QString>& kreuze,
                             const QByteArray& tick = QByteArrayLiteral("<w:checked/>")) {
    const QByteArray leer = QString(5, QChar(0x2002)).toUtf8();
    for (auto it = texte.cbegin(); it != texte.cend(); ++it) {
        const QByteArray key = "<w:name w:val=\"" + it.key().toUtf8() + "\"/>";
        const qsizetype at = xml.indexOf(key);
        EXPECT_GE(at, 0) << it.key().toStdString();
        const qsizetype result = xml.indexOf(leer, at);
        QString escaped = it.value().toHtmlEscaped();
        xml.replace(result, leer.size(), escaped.toUtf8());
    }
    for (const QString& name : kreuze) {
        const QByteArray key = "<w:name w:val=\"" + name.toUtf8() + "\"/>";
        const qsizetype at = xml.indexOf(key);
        EXPECT_GE(at, 0) << name.toStdString();
        const QByteArray def = "<w:default w:val=\"0\"/>";
        const qsizetype d = xml.indexOf(def, at);
        xml.insert(d + def.size(), tick);
    }
    return xml;
}
