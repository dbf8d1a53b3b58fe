#pragma once

#include "cli/befehle.h"
#include "support/testdb.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <memory>

// One command line's outcome.
struct Lauf {
    int status = -1;
    QString out;
    QString err;

    QJsonObject json() const { return QJsonDocument::fromJson(out.toUtf8()).object(); }
    // For assertion messages.
    std::string text() const { return (out + QStringLiteral("\n--- err:\n") + err).toStdString(); }
};

// Runs the command line in this process, as velmora-cli would, on a fresh database of either kind.
class CliTest : public DbTest {
protected:
    QStringList basis() const {
        if (GetParam() == DbKind::File) return {QStringLiteral("--db"), tdb->location()};
        return {QStringLiteral("--server"), tdb->location(), QStringLiteral("--database"),
                tdb->databaseName()};
    }
    Lauf cli(const QStringList& args) const {
        Lauf l;
        QTextStream out(&l.out);
        QTextStream err(&l.err);
        l.status = cli::ausfuehren(basis() + args, out, err, QStringLiteral(VELMORA_PROGRAM_DIR));
        out.flush();
        err.flush();
        return l;
    }
    // Every line must succeed.
    void alle(const QList<QStringList>& zeilen) const {
        for (const QStringList& z : zeilen) {
            const Lauf l = cli(z);
            ASSERT_EQ(l.status, 0) << z.join(u' ').toStdString() << "\n" << l.text();
        }
    }

    // A tournament with one class of four checked-in players in one group, two of whom go on to a final.
    void kleineKlasse(const QString& phase1 = QStringLiteral("gruppen:1:4:2"), int spieler = 4) const {
        alle({{"tournament", "create", "Stadtmeisterschaft"},
              {"class", "add", "Herren A", "--phase1", phase1, "--phase2", "ko"}});
        for (int i = 1; i <= spieler; ++i)
            alle({{"player", "add", QStringLiteral("Spieler%1").arg(i, 2, 10, QLatin1Char('0')), "Vor",
                   "--club", QStringLiteral("Verein %1").arg(i), "--class", "Herren A"}});
        alle({{"checkin", "--all"}});
    }
};
