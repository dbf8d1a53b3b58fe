#include "common/programmordner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void schreiben(const QString& path, const QByteArray& inhalt) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

QByteArray lesen(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A tree with a build directory (data beside the program) and an installed layout (/usr/bin beside
// /usr/share/velmora).
class Programmordner : public ::testing::Test {
protected:
    QTemporaryDir tmp;
    QString build = tmp.filePath(QStringLiteral("build"));
    QString bin = tmp.filePath(QStringLiteral("usr/bin"));
    QString share = tmp.filePath(QStringLiteral("usr/share/velmora"));
    QString home = tmp.filePath(QStringLiteral("home/.local/share/Velmora"));

    void SetUp() override {
        ASSERT_TRUE(tmp.isValid());
        schreiben(build + QStringLiteral("/Files/system.txt"), "2:\n1-2\n");
        schreiben(build + QStringLiteral("/turnier_db.sqlite"), "beim Programm");
        QDir().mkpath(bin);
        schreiben(share + QStringLiteral("/Files/system.txt"), "2:\n1-2\n");
        schreiben(share + QStringLiteral("/turnier_db.sqlite"), "ausgeliefert");
    }
};

struct OrdnerFall {
    const char* name;
    const char* programm;
    bool beschreibbar;
    const char* daten;
    const char* arbeit;
};

class Ordnerwahl : public Programmordner, public ::testing::WithParamInterface<OrdnerFall> {};

TEST_P(Ordnerwahl, DataBesideOrInstalledAndTheDatabaseWhereTheUserMayWrite) {
    const OrdnerFall& c = GetParam();
    auto pfad = [&](const char* name) {
        const QString n = QString::fromLatin1(name);
        return n == u"build" ? build : n == u"bin" ? bin : n == u"share" ? share : home;
    };
    const programmordner::Ordner o = programmordner::finden(pfad(c.programm), c.beschreibbar, home);
    EXPECT_EQ(o.daten.toStdString(), pfad(c.daten).toStdString());
    EXPECT_EQ(o.arbeit.toStdString(), pfad(c.arbeit).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, Ordnerwahl,
    ::testing::Values(OrdnerFall{"BuildDirectory", "build", true, "build", "build"},
                      OrdnerFall{"ReadOnlyCopy", "build", false, "build", "home"},
                      // root may write to /usr/bin, but an installed program keeps out of /usr
                      OrdnerFall{"InstalledRunByRoot", "bin", true, "share", "home"},
                      OrdnerFall{"Installed", "bin", false, "share", "home"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Programmordner, FirstStartCopiesTheShippedDatabaseAndLaterStartsKeepTheUsersOwn) {
    const programmordner::Ordner o = programmordner::finden(bin, false, home);
    const QString user = QDir(home).filePath(QStringLiteral("turnier_db.sqlite"));
    ASSERT_FALSE(QFileInfo::exists(home));

    EXPECT_EQ(programmordner::datenbankBereitstellen(o).toStdString(), "");
    EXPECT_EQ(lesen(user), "ausgeliefert");
    EXPECT_TRUE(QFileInfo(user).permissions() & QFile::WriteOwner);
    EXPECT_FALSE(QFileInfo::exists(user + QStringLiteral(".neu")));

    schreiben(user, "Turniere des Benutzers");
    EXPECT_EQ(programmordner::datenbankBereitstellen(o).toStdString(), "");
    EXPECT_EQ(lesen(user), "Turniere des Benutzers");
}

TEST_F(Programmordner, BesideTheProgramNothingIsCopied) {
    const programmordner::Ordner o = programmordner::finden(build, true, home);
    EXPECT_EQ(programmordner::datenbankBereitstellen(o).toStdString(), "");
    EXPECT_EQ(lesen(build + QStringLiteral("/turnier_db.sqlite")), "beim Programm");
    EXPECT_FALSE(QFileInfo::exists(home));
}

TEST_F(Programmordner, AMissingShippedDatabaseIsAGermanError) {
    QFile::remove(share + QStringLiteral("/turnier_db.sqlite"));
    const programmordner::Ordner o = programmordner::finden(bin, false, home);
    const QString user = QDir(home).filePath(QStringLiteral("turnier_db.sqlite"));
    EXPECT_EQ(programmordner::datenbankBereitstellen(o),
              QStringLiteral(
                  "Die Datenbankdatei \"%1\" kann nicht angelegt werden.\nDatenbankdatei nicht vorhanden: %2")
                  .arg(user, share + QStringLiteral("/turnier_db.sqlite")));
    EXPECT_FALSE(QFileInfo::exists(user));
}

} // namespace
