#include "entries/import_fixture.h"
#include "entries/import_turnierdatei.h"
#include "store/schema.h"

#include <QCryptographicHash>
#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// Another tournament file with two tournaments; the second has the players.
class ImportTurnierdatei : public ImportFixture {
protected:
    void SetUp() override {
        ImportFixture::SetUp();
        if (IsSkipped()) return;
        quellpfad = dir.filePath(QStringLiteral("vorjahr.sqlite"));
        schema::createFile(quellpfad);
        Tdb_procedures q;
        q.connectFile(quellpfad);
        q.exec(QStringLiteral("INSERT INTO Turnierdaten (TID,turniername) VALUES (1,'Kreismeisterschaft')"));
        q.exec(QStringLiteral("INSERT INTO Turnierdaten (TID,turniername) VALUES (2,'Stadtpokal Öhringen')"));
        q.exec(QStringLiteral(
                   "INSERT INTO Spielerdaten VALUES (2,7,'Müller','Jürgen','TTC Nord',:g,12,'KV Hohenlohe',"
                   "'BV Nord','TTBW','Deutschland',5.5,:t,:t,:t,:f,'Bezirksliga')"),
               {{":g", QDate(1990, 5, 17)}, {":t", true}, {":f", false}});
        q.exec(QStringLiteral(
                   "INSERT INTO Spielerdaten VALUES (2,8,'Weiß','Anna','TTC Süd',NULL,NULL,'','','','',"
                   "NULL,0,0,:f,:t,'')"),
               {{":t", true}, {":f", false}});
        q.exec(
            QStringLiteral("INSERT INTO Spielerdaten VALUES (1,9,'Anders','Axel','X',NULL,NULL,'','','','',"
                           "NULL,0,0,:t,:f,'')"),
            {{":t", true}, {":f", false}});
        q.disconnect();
    }

    QByteArray hash(const QString& path) {
        return QCryptographicHash::hash(importdatei::lesen(path), QCryptographicHash::Sha256);
    }

    QString quellpfad;
};

TEST_P(ImportTurnierdatei, PlayersOfTheChosenTournamentAreTakenOverAndTheFileIsLeftAlone) {
    const QByteArray vorher = hash(quellpfad);
    ASSERT_TRUE(quelle->oeffnen(quellpfad)) << ui.texts().join(u'|').toStdString();
    EXPECT_EQ(quelle->art(), Quellart::Turnierdatei);
    ASSERT_EQ(quelle->turniere().size(), 2);
    EXPECT_EQ(quelle->turniere()[1].turniername, "Stadtpokal Öhringen");
    quelle->gewaehltesTurnier = 1;
    importAll();
    EXPECT_EQ(spieler(), (QStringList{"Müller, Jürgen (TTC Nord)", "Weiß, Anna (TTC Süd)"}));
    const Row m = db().selectOne(QStringLiteral("SELECT * FROM Spielerdaten WHERE nachname='Müller'"));
    EXPECT_EQ(m.date(u"geb"), QDate(1990, 5, 17));
    EXPECT_EQ(m.text(u"kverband"), "KV Hohenlohe");
    EXPECT_EQ(m.text(u"bverband"), "BV Nord");
    EXPECT_EQ(m.text(u"lverband"), "TTBW");
    EXPECT_EQ(m.text(u"land"), "Deutschland");
    // What belongs to the other tournament stays there: number, fee, payment, check-in, playing level.
    EXPECT_TRUE(m.isNull(u"nummer"));
    EXPECT_TRUE(m.isNull(u"zubezahlen"));
    EXPECT_FALSE(m.boolean(u"bezahlt"));
    EXPECT_FALSE(m.boolean(u"angemeldet"));
    EXPECT_EQ(m.text(u"spklasse"), "");
    EXPECT_EQ(m.value(u"mann").toInt(), db().trueValue());
    const Row w = db().selectOne(QStringLiteral("SELECT * FROM Spielerdaten WHERE nachname='Weiß'"));
    EXPECT_FALSE(w.boolean(u"mann"));
    EXPECT_TRUE(w.boolean(u"frau"));
    EXPECT_TRUE(w.isNull(u"geb"));
    EXPECT_EQ(hash(quellpfad), vorher);
}

TEST_P(ImportTurnierdatei, FilesThatAreNoTournamentFileOfThisProgramAreRefused) {
    const QString text =
        file(QStringLiteral("notizen.sqlite"), "Das ist keine Datenbank, sondern eine Notiz.");
    const QString fremd = dir.filePath(QStringLiteral("fremd.sqlite"));
    {
        QSqlDatabase s = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fremd"));
        s.setDatabaseName(fremd);
        ASSERT_TRUE(s.open());
        QSqlQuery(QStringLiteral("CREATE TABLE Kunden (id INTEGER, name TEXT)"), s);
        s.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fremd"));
    const QString neuer = dir.filePath(QStringLiteral("neuer.sqlite"));
    schema::createFile(neuer);
    {
        Tdb_procedures n;
        n.connectFile(neuer);
        n.exec(QStringLiteral("UPDATE Einstellungen SET version=:v WHERE TID=-999"),
               {{":v", schema::kCurrentVersion + 1}});
    }
    const struct {
        QString path;
        const char* grund;
    } faelle[] = {{text, "ist keine Turnier-Datenbank."},
                  {fremd, "ist keine Turnier-Datenbank von Velmora."},
                  {neuer, "wurde von einer neueren Version von Velmora angelegt"},
                  {dir.filePath(QStringLiteral("gibtsnicht.sqlite")), "gibt es nicht."}};
    addPlayer(50, QStringLiteral("Alt"), QStringLiteral("Anna"));
    const QList<int> vorher = zeilen();
    for (const auto& f : faelle) {
        SCOPED_TRACE(f.path.toStdString());
        ui.clear();
        EXPECT_FALSE(quelle->oeffnen(f.path));
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(ui.messages[0].icon, Interaction::Icon::Error);
        EXPECT_EQ(ui.messages[0].button, Interaction::Button::Cancel);
        EXPECT_TRUE(ui.messages[0].text.startsWith(QStringLiteral("Ungültige Quelle gewählt")));
        EXPECT_TRUE(
            ui.messages[0].text.contains(importdatei::dateiname(f.path) + u' ' + QString::fromUtf8(f.grund)))
            << ui.messages[0].text.toStdString();
        EXPECT_TRUE(quelle->turniere().isEmpty());
        EXPECT_EQ(zeilen(), vorher);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("gibtsnicht.sqlite"))));
}

VELMORA_INSTANTIATE_DB_TEST(ImportTurnierdatei);

} // namespace
