#pragma once

#include <QByteArray>
#include <QHash>
#include <QProcess>
#include <QString>
#include <QStringList>

// The child half of a test that needs processes of its own: the same test program started again with
// one test selected and its settings in the environment. The child confirms what it did as lines
// "<prefix> <text>" on stdout, each written and flushed once the step is done (kindMelden); the parent
// collects them.
class Kindprozess {
public:
    Kindprozess(const QString& prefix, const QString& test, const QHash<QString, QString>& umgebung);
    ~Kindprozess();
    Kindprozess(const Kindprozess&) = delete;
    Kindprozess& operator=(const Kindprozess&) = delete;

    bool gestartet();
    // Waits until n lines are confirmed, the child has ended or ms have passed.
    void warten(int n, int ms = 60000);
    // Waits until the line is confirmed, the child has ended or ms have passed; whether it came.
    bool wartenAuf(const QString& zeile, int ms = 60000);
    // SIGKILL, and what the child confirmed before it.
    void toeten();
    // Waits for the end (killing it after ms); gives the exit code, -1 when it had to be killed.
    int ende(int ms = 10000);
    void schreiben(const QByteArray& daten);

    const QStringList& zeilen() const { return zeilen_; }
    // The confirmed lines that start with the word art, without it.
    QStringList von(const QString& art) const;
    QString fehlerausgabe();

private:
    void lesen();
    QString prefix_;
    QProcess p_;
    QStringList zeilen_;
    QByteArray rest_;
};

// A line the parent collects: "<prefix> <text>", flushed at once.
void kindMelden(const char* prefix, const QString& text);
