#include "cli/befehle.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The worked example of the README: its commands and the output shown after the last one.
struct Beispiel {
    QStringList befehle;
    QString ausgabe;
};

Beispiel readmeBeispiel() {
    QFile f(QStringLiteral(VELMORA_SOURCE_DIR "/README.md"));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QString text = QString::fromUtf8(f.readAll());
    const qsizetype anfang = text.indexOf(QStringLiteral("<!-- cli-beispiel -->"));
    const qsizetype ende = text.indexOf(QStringLiteral("<!-- /cli-beispiel -->"));
    if (anfang < 0 || ende < anfang) return {};
    Beispiel b;
    bool imText = false;
    for (const QString& z : text.mid(anfang, ende - anfang).split(u'\n')) {
        if (z.startsWith(QStringLiteral("```text"))) {
            imText = true;
        } else if (z.startsWith(QStringLiteral("```"))) {
            imText = false;
        } else if (imText) {
            b.ausgabe += z + u'\n';
        } else if (z.startsWith(QStringLiteral("velmora-cli "))) {
            b.befehle << z;
        }
    }
    return b;
}

} // namespace

// The README's example, run exactly as written by the built program in an empty folder: every command
// succeeds and the standings at the end are the ones the README shows.
TEST(ReadmeBeispiel, PlaysTheSmallClassToItsEndAsDocumented) {
    const Beispiel b = readmeBeispiel();
    ASSERT_GE(b.befehle.size(), 10) << "README section <!-- cli-beispiel --> not found";
    ASSERT_FALSE(b.ausgabe.isEmpty());
    QTemporaryDir dir;
    QString letzte;
    for (const QString& zeile : b.befehle) {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QStringLiteral(VELMORA_CLI), cli::woerter(zeile).mid(1));
        ASSERT_TRUE(p.waitForFinished(60000)) << zeile.toStdString();
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        ASSERT_EQ(p.exitCode(), 0) << zeile.toStdString() << "\n"
                                   << out.toStdString() << p.readAllStandardError().toStdString();
        letzte = out;
    }
    EXPECT_EQ(letzte.toStdString(), b.ausgabe.toStdString());
}
