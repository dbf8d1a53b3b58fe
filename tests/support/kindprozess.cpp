#include "support/kindprozess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

Kindprozess::Kindprozess(const QString& prefix, const QString& test, const QHash<QString, QString>& umgebung)
    : prefix_(prefix + u' ') {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (auto it = umgebung.cbegin(); it != umgebung.cend(); ++it)
        env.insert(it.key(), it.value());
    p_.setProcessEnvironment(env);
    p_.setProcessChannelMode(QProcess::SeparateChannels);
    p_.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=") + test});
}

Kindprozess::~Kindprozess() {
    if (p_.state() != QProcess::NotRunning) toeten();
}

bool Kindprozess::gestartet() {
    return p_.waitForStarted();
}

void Kindprozess::warten(int n, int ms) {
    QElapsedTimer uhr;
    uhr.start();
    while (zeilen_.size() < n && p_.state() == QProcess::Running && !uhr.hasExpired(ms)) {
        p_.waitForReadyRead(1000);
        lesen();
    }
    lesen();
}

bool Kindprozess::wartenAuf(const QString& zeile, int ms) {
    QElapsedTimer uhr;
    uhr.start();
    while (!zeilen_.contains(zeile) && p_.state() == QProcess::Running && !uhr.hasExpired(ms)) {
        p_.waitForReadyRead(1000);
        lesen();
    }
    lesen();
    return zeilen_.contains(zeile);
}

void Kindprozess::toeten() {
    p_.kill();
    p_.waitForFinished(10000);
    lesen();
}

int Kindprozess::ende(int ms) {
    if (!p_.waitForFinished(ms)) {
        toeten();
        return -1;
    }
    lesen();
    return p_.exitStatus() == QProcess::NormalExit ? p_.exitCode() : -1;
}

void Kindprozess::schreiben(const QByteArray& daten) {
    p_.write(daten);
    p_.waitForBytesWritten(1000);
}

QStringList Kindprozess::von(const QString& art) const {
    QStringList out;
    for (const QString& z : zeilen_)
        if (z.startsWith(art + u' ')) out << z.mid(art.size() + 1);
    return out;
}

QString Kindprozess::fehlerausgabe() {
    return QString::fromLocal8Bit(p_.readAllStandardError());
}

void Kindprozess::lesen() {
    rest_ += p_.readAllStandardOutput();
    int nl;
    while ((nl = int(rest_.indexOf('\n'))) >= 0) {
        const QString zeile = QString::fromUtf8(rest_.left(nl));
        rest_.remove(0, nl + 1);
        if (zeile.startsWith(prefix_)) zeilen_ << zeile.mid(prefix_.size());
    }
}

void kindMelden(const char* prefix, const QString& text) {
    std::printf("%s %s\n", prefix, text.toUtf8().constData());
    std::fflush(stdout);
}
