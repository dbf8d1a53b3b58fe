#include "draw/datafiles.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QPair>
#include <QSet>

namespace datafiles {

namespace {

bool isBlank(QChar c) {
    return c.unicode() <= 0x20;
}

// The lines of a data file; a byte-order mark and Windows line ends are dropped.
QStringList readLines(QIODevice* device) {
    QString text = QString::fromUtf8(device->readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    QStringList lines = text.split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r')) l.chop(1);
    // A final line break ends the last line; it does not start another one.
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

QStringView trimBlanks(QStringView s) {
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.mid(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

// The first line that is the label "<size>:" (blanks around it allowed), or -1. The label must be the
// whole line: a stray "16:" is no block for 6.
int findBlock(const QStringList& lines, int size) {
    const QString key = QString::number(size) + u':';
    for (int i = 0; i < lines.size(); ++i)
        if (trimBlanks(lines[i]) == key) return i;
    return -1;
}

bool isDecimal(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (!c.isDigit() || c.unicode() > 0x7f) return false;
    return true;
}

std::optional<int> integerField(const QString& s) {
    QStringView digits(s);
    if (digits.startsWith(u'-') || digits.startsWith(u'+')) digits = digits.mid(1);
    if (digits.isEmpty()) return std::nullopt;
    for (QChar c : digits)
        if (c < u'0' || c > u'9') return std::nullopt;
    bool ok = false;
    const int v = s.toInt(&ok);
    if (!ok) return std::nullopt;
    return v;
}

// Opens the device for reading unless it is open already; false when it cannot be read.
bool openForReading(QIODevice* device) {
    if (!device) return false;
    if (device->isOpen()) return device->isReadable();
    return device->open(QIODevice::ReadOnly);
}

QString unreadable(const QString& fileName) {
    return QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden.").arg(fileName);
}

// An error found in line `index` (from 0) of the file.
QString lineDetail(int index, const QString& what) {
    return QStringLiteral("\nZeile %1: %2.").arg(index + 1).arg(what);
}

} // namespace

QStringList splitItems(QStringView line, QChar delimiter) {
    QStringList items;
    const qsizetype n = line.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(line[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        QString item;
        if (line[i] == u'"') {
            // A quoted item runs to its closing quote; two quotes inside stand for one.
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        item += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += line[i++];
            }
        }
        while (i < n && line[i] != delimiter && !isBlank(line[i]))
            item += line[i++];
        items << item;
        skipBlanks();
        if (i < n && line[i] == delimiter) {
            ++i;
            skipBlanks();
            if (i >= n) items << QString(); // a delimiter at the end leaves an empty last item
        }
    }
    return items;
}

std::optional<Schedule> ScheduleReader::read(QIODevice* device, int places, const QString& fileName) {
    problem_ = Problem::None;
    error_.clear();
    if (!openForReading(device)) {
        problem_ = Problem::Unreadable;
        error_ = unreadable(fileName);
        return std::nullopt;
    }
    const QString headline =
        QStringLiteral("Die Datei \"%1\" enthält keinen gültigen Spielplan für %2 Teilnehmer.")
            .arg(fileName)
            .arg(places);
    auto damaged = [&](int index, const QString& what) -> std::optional<Schedule> {
        problem_ = Problem::Damaged;
        error_ = headline + lineDetail(index, what);
        return std::nullopt;
    };

    const QStringList lines = readLines(device);
    // A group of fewer than two has no matches.
    const int at = places >= 2 ? findBlock(lines, places) : -1;
    if (at < 0) {
        problem_ = Problem::Missing;
        error_ = QStringLiteral("Die Datei \"%1\" enthält keinen Spielplan für %2 Teilnehmer.")
                     .arg(fileName)
                     .arg(places);
        return std::nullopt;
    }
    if (at + 1 >= lines.size()) return damaged(at + 1, QStringLiteral("die Zeile mit den Paarungen fehlt"));

    Schedule s;
    s.places = places;
    QSet<QPair<int, int>> met;
    const QStringList items = splitItems(lines[at + 1], u';');
    if (items.isEmpty()) return damaged(at + 1, QStringLiteral("keine Paarungen"));
    for (const QString& item : items) {
        const qsizetype dash = item.indexOf(u'-');
        const QString left = item.left(dash);
        const QString right = dash < 0 ? QString() : item.mid(dash + 1);
        if (dash < 0 || !isDecimal(left) || !isDecimal(right))
            return damaged(at + 1, QStringLiteral("die Paarung \"%1\" ist fehlerhaft").arg(item));
        const Pairing p{left.toInt(), right.toInt()};
        if (p.a < 1 || p.a > places || p.b < 1 || p.b > places || p.a == p.b)
            return damaged(
                at + 1, QStringLiteral("die Paarung \"%1\" passt nicht zu %2 Plätzen").arg(item).arg(places));
        const QPair<int, int> key(qMin(p.a, p.b), qMax(p.a, p.b));
        if (met.contains(key))
            return damaged(
                at + 1,
                QStringLiteral("die Paarung %1-%2 kommt mehrfach vor").arg(key.first).arg(key.second));
        met.insert(key);
        s.pairings << p;
    }
    // A block cut short still reads as pairings; every two places must meet once.
    for (int a = 1; a <= places; ++a)
        for (int b = a + 1; b <= places; ++b)
            if (!met.contains(qMakePair(a, b)))
                return damaged(at + 1, QStringLiteral("die Paarung %1-%2 fehlt").arg(a).arg(b));
    return s;
}

std::optional<Schedule> ScheduleReader::read(const QString& path, int places) {
    QFile f(path);
    return read(&f, places, QFileInfo(path).fileName());
}

int KoPlan::matchCount() const {
    int n = 0;
    for (const KoPlanLine& l : lines)
        if (!l.isCaption()) ++n;
    return n;
}

std::optional<KoPlan> KoPlanReader::read(QIODevice* device, int size, const QString& fileName) {
    problem_ = Problem::None;
    error_.clear();
    if (!openForReading(device)) {
        problem_ = Problem::Unreadable;
        error_ = unreadable(fileName);
        return std::nullopt;
    }
    const QString headline =
        QStringLiteral("Die Datei \"%1\" enthält keinen gültigen Plan für %2 Teilnehmer.")
            .arg(fileName)
            .arg(size);
    auto damaged = [&](int index, const QString& what) -> std::optional<KoPlan> {
        problem_ = Problem::Damaged;
        error_ = headline + lineDetail(index, what);
        return std::nullopt;
    };

    const QStringList lines = readLines(device);
    const int at = size >= 2 ? findBlock(lines, size) : -1;
    if (at < 0) {
        problem_ = Problem::Missing;
        error_ =
            QStringLiteral("Die Datei \"%1\" enthält keinen Plan für %2 Teilnehmer.").arg(fileName).arg(size);
        return std::nullopt;
    }

    // Every field of a line must be an integer; gives the fields, or the first that is not.
    auto integers = [](const QStringList& items, QString* bad) -> std::optional<QVector<int>> {
        QVector<int> out;
        out.reserve(items.size());
        for (const QString& item : items) {
            const auto v = integerField(item);
            if (!v) {
                *bad = item;
                return std::nullopt;
            }
            out << *v;
        }
        return out;
    };

    const int headerAt = at + 1;
    if (headerAt >= lines.size())
        return damaged(headerAt, QStringLiteral("die Zeile mit Anzahl, Spalten und Zeilen fehlt"));
    QString bad;
    const auto header = integers(splitItems(lines[headerAt], u','), &bad);
    if (!header || header->size() < 3 || (*header)[0] < 1 || (*header)[1] < 1 || (*header)[2] < 1)
        return damaged(headerAt, QStringLiteral("Anzahl, Spalten und Zeilen sind fehlerhaft"));
    const int count = (*header)[0];

    KoPlan plan;
    plan.size = size;
    plan.columns = (*header)[1];
    plan.rows = (*header)[2];
    // The count comes from the file: room only for the lines that are there.
    plan.lines.reserve(std::min<qsizetype>(count, lines.size() - headerAt - 1));
    const int firstStage = size / 2;
    int matches = 0;
    QVector<int> captionsAt; // lines of captions, checked once every match is known
    // The later match each winner and loser plays on in (0: none yet), by source match.
    QVector<int> winnerGoesTo(1, 0), loserGoesTo(1, 0);
    QVector<int> lineOfMatch(1, 0);
    for (int k = 0; k < count; ++k) {
        const int index = headerAt + 1 + k;
        if (index >= lines.size())
            return damaged(index, QStringLiteral("der Plan endet nach %1 von %2 Zeilen").arg(k).arg(count));
        const QStringList items = splitItems(lines[index], u',');
        if (items.size() < 10) return damaged(index, QStringLiteral("weniger als zehn Felder"));
        const auto fields = integers(items, &bad);
        if (!fields) return damaged(index, QStringLiteral("das Feld \"%1\" ist keine ganze Zahl").arg(bad));
        KoPlanLine line{*fields};
        if (line.isCaption()) {
            captionsAt << k;
        } else {
            ++matches;
            if (line.match() != matches)
                return damaged(index, QStringLiteral("Spielnummer %1 erwartet").arg(matches));
            if (matches <= firstStage) {
                if (!line.isFirstStage() || line.source1() != -1 || line.source2() != -1)
                    return damaged(
                        index,
                        QStringLiteral("Spiel %1 muss seine Spieler aus der Auslosung nehmen").arg(matches));
            } else if (line.isFirstStage()) {
                return damaged(index,
                               QStringLiteral("Spiel %1 darf seine Spieler nicht aus der Auslosung nehmen")
                                   .arg(matches));
            } else if (line.source1() < 1 || line.source1() >= matches || line.source2() < 1 ||
                       line.source2() >= matches) {
                return damaged(
                    index,
                    QStringLiteral("Spiel %1 nimmt einen Spieler aus einem Spiel, das nicht vor ihm steht")
                        .arg(matches));
            } else {
                // A player moves on into one later match only; a second taker would duplicate him.
                for (const auto& [source, winner] : {std::pair{line.source1(), line.takesWinner1()},
                                                     std::pair{line.source2(), line.takesWinner2()}}) {
                    int& goesTo = winner ? winnerGoesTo[source] : loserGoesTo[source];
                    if (goesTo != 0)
                        return damaged(
                            index, QStringLiteral("der %1 von Spiel %2 spielt schon in Spiel %3 weiter")
                                       .arg(winner ? QStringLiteral("Sieger") : QStringLiteral("Verlierer"))
                                       .arg(source)
                                       .arg(goesTo));
                    goesTo = matches;
                }
            }
            winnerGoesTo << 0;
            loserGoesTo << 0;
            lineOfMatch << index;
        }
        plan.lines << line;
    }
    if (matches < firstStage)
        return damaged(headerAt + count, QStringLiteral("der Plan hat nur %1 der %2 Spiele der ersten Runde")
                                             .arg(matches)
                                             .arg(firstStage));
    for (int k : captionsAt) {
        const int source = plan.lines[k].source1();
        if (source < 1 || source > matches)
            return damaged(headerAt + 1 + k,
                           QStringLiteral("die Beschriftung nennt Spiel %1, das es nicht gibt").arg(source));
    }
    // The final is the one match whose winner plays no more; a second such match leaves a player waiting.
    QVector<int> finals;
    for (int m = 1; m <= matches; ++m)
        if (winnerGoesTo[m] == 0) finals << m;
    if (finals.size() > 1)
        return damaged(
            lineOfMatch[finals[0]],
            QStringLiteral("der Sieger von Spiel %1 spielt nicht weiter, aber Spiel %2 ist das Endspiel")
                .arg(finals[0])
                .arg(finals.last()));
    return plan;
}

std::optional<KoPlan> KoPlanReader::read(const QString& path, int size) {
    QFile f(path);
    return read(&f, size, QFileInfo(path).fileName());
}

} // namespace datafiles
