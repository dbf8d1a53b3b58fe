#include "entries/import_fixture.h"
#include "entries/import_formular.h"
#include "entries/import_zip.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QUuid>
#include <functional>

namespace {

// A tournament with a singles, a doubles and a team class, and a class of another tournament that the
// form must not offer. Column order follows the class names: Herren A (5), Herren Doppel (3), Mannschaft (9).
class ImportFormular : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        if (IsSkipped()) return;
        addClass(5, 0, QStringLiteral("Herren A"), true, false);
        addClass(3, 1, QStringLiteral("Herren Doppel"), true, false);
        addClass(9, 3, QStringLiteral("Mannschaft"), true, true);
        addClass(7, 0, QStringLiteral("Anderes Turnier"), true, false, 0.0,
                 QStringLiteral("ohne Beschränkung"), 2);
    }

    QByteArray leeresFormular() { return entryform::documentXml(entryform::lesen(db(), 1)); }

    QByteArray ausgefuellt(const QByteArray& tick = QByteArrayLiteral("<w:checked/>")) {
        return ausfuellen(leeresFormular(),
                          {{QStringLiteral("verein"), QStringLiteral("TTC Grün-Weiß Öhringen")},
                           {QStringLiteral("nname1"), QStringLiteral("Müller")},
                           {QStringLiteral("vname1"), QStringLiteral("Jürgen")},
                           {QStringLiteral("sklasse1"), QStringLiteral("Bezirksliga")},
                           {QStringLiteral("nname2"), QStringLiteral("Weiß")},
                           {QStringLiteral("vname2"), QStringLiteral("Ännchen & Co")},
                           {QStringLiteral("nname3"), QStringLiteral("Nurnachname")},
                           {QStringLiteral("nname17"), QStringLiteral("Zöllner")},
                           {QStringLiteral("vname17"), QStringLiteral("Björn")}},
                          {QStringLiteral("klasse1_1"), QStringLiteral("klasse1_2"),
                           QStringLiteral("klasse2_3"), QStringLiteral("klasse3_1")},
                          tick);
    }

    // What the staging table holds, one "nachname vorname KID verein klassen" line per row.
    QStringList staging() {
        QStringList out;
        for (const Row& r : db().select(QStringLiteral("SELECT * FROM Import ORDER BY nachname,KID")))
            out << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(r.text(u"nachname"), r.text(u"vorname"), r.text(u"KID"), r.text(u"verein"),
                            r.text(u"klassen"));
        return out;
    }

    // The filled form read back must give exactly these rows, candidates and entries.
    void expectImported() {
        EXPECT_EQ(staging(), (QStringList{"Müller Jürgen 3 TTC Grün-Weiß Öhringen Bezirksliga",
                                          "Müller Jürgen 5 TTC Grün-Weiß Öhringen Bezirksliga",
                                          "Weiß Ännchen & Co 9 TTC Grün-Weiß Öhringen "}));
        EXPECT_EQ(quelle->formularVerein(), "TTC Grün-Weiß Öhringen");
        QStringList texte;
        for (const Importitem& i : quelle->formularSpieler())
            texte << i.text();
        // The last row read stands on top; a row without first name is no player.
        EXPECT_EQ(texte, (QStringList{"Zöllner, Björn", "Weiß, Ännchen & Co", "Müller, Jürgen"}));

        importAll();
        EXPECT_EQ(spieler(), (QStringList{"Zöllner, Björn (TTC Grün-Weiß Öhringen)",
                                          "Weiß, Ännchen & Co (TTC Grün-Weiß Öhringen)",
                                          "Müller, Jürgen (TTC Grün-Weiß Öhringen)"}));
        const Row m = db().selectOne(QStringLiteral("SELECT * FROM Spielerdaten WHERE nachname='Müller'"));
        EXPECT_EQ(m.text(u"spklasse"), "Bezirksliga");
        EXPECT_TRUE(m.boolean(u"mann"));
        EXPECT_FALSE(m.boolean(u"frau"));
        EXPECT_FALSE(m.boolean(u"bezahlt"));
        QStringList entries;
        for (const Row& r : db().select(QStringLiteral(
                 "SELECT s.nachname,e.KID,e.TID FROM Spieler_im_Turnier AS e INNER JOIN Spielerdaten AS s ON "
                 "s.SID=e.SID ORDER BY s.nachname,e.KID")))
            entries << QStringLiteral("%1 %2 %3").arg(r.text(u"nachname"), r.text(u"KID"), r.text(u"TID"));
        EXPECT_EQ(entries, (QStringList{"Müller 3 1", "Müller 5 1", "Weiß 9 1"}));
        // Doubles and team entries start without partner or team; singles have no pair row.
        QStringList pairs;
        for (const Row& r : db().select(QStringLiteral(
                 "SELECT s.nachname,d.KID,d.partner_SID,d.mannschaft FROM Doppelpartner AS d INNER JOIN "
                 "Spielerdaten AS s ON s.SID=d.SID ORDER BY s.nachname,d.KID")))
            pairs << QStringLiteral("%1 %2 %3 %4")
                         .arg(r.text(u"nachname"), r.text(u"KID"), r.isNull(u"partner_SID") ? "NULL" : "x",
                              r.isNull(u"mannschaft") ? "NULL" : "x");
        EXPECT_EQ(pairs, (QStringList{"Müller 3 NULL NULL", "Weiß 9 NULL NULL"}));
        EXPECT_EQ(ui.texts().last(), "Der Import wurde abgeschlossen.");
    }
};

TEST_P(ImportFormular, FilledFormIsImportedWithItsClasses) {
    const QString path = file(QStringLiteral("anmeldung.docx"), entryform::paket(ausgefuellt()));
    ASSERT_TRUE(quelle->oeffnen(path)) << ui.texts().join(u'|').toStdString();
    EXPECT_EQ(quelle->art(), Quellart::Formular);
    expectImported();
}

// Word processors rename check boxes and drop-downs when they save; the bookmark of the original name
// stays beside them. Without name and bookmark the field's place in its row still tells.
TEST_P(ImportFormular, RenamedFieldsAreFoundByBookmarkOrPlace) {
    QByteArray xml = ausgefuellt();
    int n = 0;
    for (const char* prefix : {"<w:name w:val=\"klasse", "<w:name w:val=\"anzahl"}) {
        qsizetype at = 0;
        while ((at = xml.indexOf(prefix, at)) >= 0) {
            const qsizetype end = xml.indexOf('"', at + 15);
            xml.replace(at + 15, end - at - 15, "__Fieldmark__" + QByteArray::number(++n));
            at = end;
        }
    }
    ASSERT_TRUE(quelle->oeffnen(file(QStringLiteral("umbenannt.docx"), entryform::paket(xml))));
    expectImported();
}

TEST_P(ImportFormular, FieldsWithoutNameOrBookmarkAreFoundByPlace) {
    QByteArray xml = ausgefuellt();
    static const QRegularExpression bookmarks(QStringLiteral("<w:bookmark(Start|End) [^>]*/>"));
    static const QRegularExpression names(
        QStringLiteral("<w:name w:val=\"(klasse|nname|vname|sklasse)[0-9_]+\"/>"));
    xml = QString::fromUtf8(xml).remove(bookmarks).remove(names).toUtf8();
    ASSERT_TRUE(quelle->oeffnen(file(QStringLiteral("ohne_namen.docx"), entryform::paket(xml))));
    expectImported();
}

// Refused files: a message naming the file, the staging rows of the form read before kept, nothing written.
struct Kaputt {
    const char* name;
    std::function<QByteArray(const QByteArray& document)> datei;
    const char* meldung;
};

TEST_P(ImportFormular, BrokenFilesAreRefusedWithNothingWritten) {
    const Kaputt faelle[] = {
        {"beschaedigt.docx",
         [](const QByteArray& d) {
             QByteArray z = entryform::paket(d);
             z.truncate(z.size() / 2);
             return z;
         },
         "ist beschädigt"},
        {"kein_zip.docx", [](const QByteArray&) { return QByteArray("Meldung: Müller, Jürgen"); },
         "ist beschädigt"},
        {"falsche_daten.docx",
         [](const QByteArray& d) {
             // A byte of the packed main part changed: the unpacking or its checksum fails.
             QByteArray z = entryform::paket(d);
             const qsizetype at = z.indexOf("word/document.xml") + 17 + 200;
             z[at] = char(z[at] ^ 0x5A);
             return z;
         },
         "ist beschädigt"},
        {"bombe.docx",
         [](const QByteArray&) {
             return entryform::zipArchive(
                 {{QStringLiteral("word/document.xml"), QByteArray(importdatei::kMaxEntpackt + 1, ' ')}});
         },
         "ist zu groß"},
        {"doctype.docx",
         [](const QByteArray& d) {
             QByteArray x = d;
             x.replace("<w:document",
                       "<!DOCTYPE w:document [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]><w:document");
             x.replace("Meldeformular", "&xxe;");
             return entryform::paket(x);
         },
         "Dokumenttyp-Deklaration"},
        {"entitaet.docx",
         [](const QByteArray& d) {
             QByteArray x = d;
             x.replace("Meldeformular", "&xxe;");
             return entryform::paket(x);
         },
         "ist beschädigt"},
        {"alt.doc", [](const QByteArray&) { return QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8); },
         "alten Word-Format"},
        {"kein_formular.docx",
         [](const QByteArray&) {
             return entryform::paket(
                 "<?xml version=\"1.0\"?><w:document xmlns:w=\"http://schemas.openxmlformats.org/"
                 "wordprocessingml/2006/main\"><w:body><w:p><w:r><w:t>Brief</w:t></w:r></w:p>"
                 "</w:body></w:document>");
         },
         "ist kein Anmeldeformular"},
    };
    // A form read before: its staging rows and a player already there must survive every refusal.
    ASSERT_TRUE(quelle->oeffnen(file(QStringLiteral("gut.docx"), entryform::paket(ausgefuellt()))));
    addPlayer(50, QStringLiteral("Alt"), QStringLiteral("Anna"));
    const QList<int> vorher = zeilen();
    for (const Kaputt& k : faelle) {
        SCOPED_TRACE(k.name);
        ui.clear();
        EXPECT_FALSE(quelle->oeffnen(file(QString::fromLatin1(k.name), k.datei(ausgefuellt()))));
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
        EXPECT_TRUE(ui.messages[0].text.contains(QStringLiteral("„%1“").arg(QString::fromLatin1(k.name))))
            << ui.messages[0].text.toStdString();
        EXPECT_TRUE(ui.messages[0].text.contains(QString::fromUtf8(k.meldung)))
            << ui.messages[0].text.toStdString();
        EXPECT_EQ(zeilen(), vorher);
        EXPECT_TRUE(quelle->formularSpieler().isEmpty());
    }
}

// How LibreOffice saves check boxes and drop-downs: no name, the bookmark of the name begun inside the
// field and ended only inside the next one. Outside a table, so the place cannot help.
TEST(ImportFormularLesezeichen, BookmarkBegunInsideAFieldNamesThatField) {
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<w:document xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"><w:body><w:p>
<w:r><w:fldChar w:fldCharType="begin"><w:ffData><w:name w:val="nname1"/><w:textInput/></w:ffData></w:fldChar></w:r>
<w:r><w:instrText xml:space="preserve"> FORMTEXT </w:instrText></w:r><w:bookmarkStart w:id="0" w:name="nname1_Copy_1"/>
<w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>Müller</w:t></w:r><w:r><w:fldChar w:fldCharType="end"/></w:r>
<w:r><w:fldChar w:fldCharType="begin"><w:ffData><w:name w:val="vname1"/><w:textInput/></w:ffData></w:fldChar></w:r>
<w:r><w:instrText xml:space="preserve"> FORMTEXT </w:instrText></w:r>
<w:r><w:fldChar w:fldCharType="separate"/></w:r><w:r><w:t>Jürgen</w:t></w:r><w:r><w:fldChar w:fldCharType="end"/></w:r>
<w:r><w:fldChar w:fldCharType="begin"><w:ffData><w:name w:val=""/><w:checkBox><w:sizeAuto/><w:checked/></w:checkBox></w:ffData></w:fldChar></w:r>
<w:r><w:instrText xml:space="preserve"> FORMCHECKBOX </w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r>
<w:bookmarkStart w:id="1" w:name="klasse1_1"/><w:bookmarkStart w:id="2" w:name="__Fieldmark__10_42"/><w:bookmarkEnd w:id="0"/><w:bookmarkEnd w:id="2"/>
<w:r><w:fldChar w:fldCharType="end"/></w:r>
<w:r><w:fldChar w:fldCharType="begin"><w:ffData><w:name w:val=""/><w:checkBox><w:sizeAuto/></w:checkBox></w:ffData></w:fldChar></w:r>
<w:r><w:instrText xml:space="preserve"> FORMCHECKBOX </w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r>
<w:bookmarkStart w:id="4" w:name="klasse1_2"/><w:bookmarkStart w:id="5" w:name="__Fieldmark__14_42"/><w:bookmarkEnd w:id="1"/><w:bookmarkEnd w:id="5"/>
<w:r><w:fldChar w:fldCharType="end"/></w:r>
<w:r><w:fldChar w:fldCharType="begin"><w:ffData><w:name w:val="__Fieldmark__19_42"/><w:ddList><w:result w:val="0"/><w:listEntry w:val="3"/><w:listEntry w:val="5"/></w:ddList></w:ffData></w:fldChar></w:r>
<w:r><w:instrText xml:space="preserve"> FORMDROPDOWN </w:instrText></w:r><w:r><w:fldChar w:fldCharType="separate"/></w:r>
<w:bookmarkStart w:id="7" w:name="anzahl"/><w:bookmarkEnd w:id="4"/><w:r><w:fldChar w:fldCharType="end"/></w:r><w:bookmarkEnd w:id="7"/>
</w:p></w:body></w:document>)";
    const Formular f = importformular::auswerten(importformular::felder(xml, QStringLiteral("lo.docx")),
                                                 QStringLiteral("lo.docx"));
    EXPECT_EQ(f.kids, (QList<int>{3, 5}));
    ASSERT_EQ(f.zeilen.size(), 1);
    EXPECT_EQ(f.zeilen[0].nachname, "Müller");
    EXPECT_EQ(f.zeilen[0].vorname, "Jürgen");
    EXPECT_EQ(f.zeilen[0].klassen, (QList<bool>{true, false}));
}

// The ways word processors write a check box's state.
struct Haken {
    const char* xml;     // what follows <w:default w:val="0"/> inside w:checkBox
    const char* vorgabe; // w:default's value
    bool angekreuzt;
};

class ImportKontrollkaestchen : public ::testing::TestWithParam<Haken> {};

TEST_P(ImportKontrollkaestchen, StateIsReadInEveryWriting) {
    const Haken h = GetParam();
    QByteArray xml = entryform::documentXml({QStringLiteral("T"), {}, {{4, 0, QStringLiteral("A")}}});
    const QByteArray def = "<w:default w:val=\"0\"/>";
    const qsizetype at = xml.indexOf(def, xml.indexOf("klasse2_1"));
    xml.replace(at, def.size(), "<w:default w:val=\"" + QByteArray(h.vorgabe) + "\"/>" + QByteArray(h.xml));
    const QList<Formularfeld> felder = importformular::felder(xml, QStringLiteral("x.docx"));
    int n = 0;
    for (const Formularfeld& f : felder) {
        if (f.art != Formularfeld::Art::Kontrollkaestchen) continue;
        ++n;
        EXPECT_EQ(f.angekreuzt, f.name == u"klasse2_1" && h.angekreuzt) << f.name.toStdString();
    }
    EXPECT_EQ(n, entryform::kSpielerZeilen);
}

INSTANTIATE_TEST_SUITE_P(Schreibweisen, ImportKontrollkaestchen,
                         ::testing::Values(Haken{"<w:checked/>", "0", true},
                                           Haken{"<w:checked w:val=\"1\"/>", "0", true},
                                           Haken{"<w:checked w:val=\"true\"/>", "0", true},
                                           Haken{"<w:checked w:val=\"on\"/>", "0", true},
                                           Haken{"<w:checked w:val=\"0\"/>", "1", false},
                                           Haken{"<w:checked w:val=\"false\"/>", "1", false},
                                           Haken{"", "1", true}, Haken{"", "0", false}));

// Filled by the test, saved again by LibreOffice (docx to docx), read back.
TEST_P(ImportFormular, FormSavedByLibreOfficeImportsWithoutLoss) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    const QString in = file(QStringLiteral("formular.docx"), entryform::paket(ausgefuellt()));
    const QString out = dir.filePath(QStringLiteral("libreoffice"));
    QDir().mkpath(out);
    // A profile of its own, so parallel runs and a desktop session do not get in the way.
    QTemporaryDir profil;
    QProcess p;
    p.start(soffice,
            {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profil.path()).toString(),
             QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
             QStringLiteral("docx"), QStringLiteral("--outdir"), out, in});
    ASSERT_TRUE(p.waitForFinished(240000)) << "LibreOffice did not finish";
    const QString saved = out + QStringLiteral("/formular.docx");
    ASSERT_TRUE(QFile::exists(saved))
        << p.readAllStandardError().toStdString() << p.readAllStandardOutput().toStdString();
    // It really is another writer's file, not a copy of ours.
    ASSERT_NE(importdatei::lesen(saved), importdatei::lesen(in));
    ASSERT_TRUE(quelle->oeffnen(saved)) << ui.texts().join(u'|').toStdString();
    expectImported();
}

TEST_P(ImportFormular, ClassesOfAnotherTournamentAreNotEntered) {
    // A form of tournament 2 (its class 7) read into tournament 1.
    entryform::Daten fremd{QStringLiteral("Anderes"), {}, {{7, 0, QStringLiteral("Anderes Turnier")}}};
    const QByteArray xml = ausfuellen(entryform::documentXml(fremd),
                                      {{QStringLiteral("nname1"), QStringLiteral("Kurz")},
                                       {QStringLiteral("vname1"), QStringLiteral("Karl")}},
                                      {QStringLiteral("klasse1_1")});
    ASSERT_TRUE(quelle->oeffnen(file(QStringLiteral("fremd.docx"), entryform::paket(xml))));
    ASSERT_FALSE(ui.messages.isEmpty());
    EXPECT_EQ(ui.messages.last().icon, Interaction::Icon::Warning);
    importAll();
    EXPECT_EQ(spieler(), QStringList{"Kurz, Karl (ohne Verein)"});
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) AS c FROM Spieler_im_Turnier")), 0);
}

VELMORA_INSTANTIATE_DB_TEST(ImportFormular);

} // namespace
