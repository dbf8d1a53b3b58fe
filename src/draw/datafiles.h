#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class QIODevice;

// Readers of the two data files beside the program: Files/system.txt (the all-play-all schedules of the
// groups) and Files/ko_system.txt (the double knock-out plans with their drawing grid).
//
// A block is found as the first line, from the top, that is the size followed by ":" and nothing else
// (blanks around it aside). Items of a line are separated by the delimiter (";" or ","), by blanks and by
// control characters; an item in double quotes is taken whole. A reader never reads past the end of the file:
// a block that is missing or damaged gives no result and an error in German that names the file and the size.
// A block must also make sense: a group schedule holds every two places exactly once; in a double
// knock-out plan every winner and every loser moves on into at most one later match, and exactly one
// match (the final) has a winner who plays no more.
namespace datafiles {

// Splits a line into items by the rules above. A delimiter at the end of the line makes a last, empty
// item; so do two delimiters in a row.
QStringList splitItems(QStringView line, QChar delimiter);

enum class Problem {
    None,
    Unreadable, // the file cannot be opened
    Missing,    // no block for the size: the caller decides what the size without plan means
    Damaged,    // the block is there but cannot be used
};

// One pairing of a schedule: the 1-based lines of the two players in the group.
struct Pairing {
    int a = 0;
    int b = 0;
    bool operator==(const Pairing&) const = default;
};

// The schedule for groups of `places`, in playing order.
struct Schedule {
    int places = 0;
    QVector<Pairing> pairings;
};

class ScheduleReader {
public:
    static QString defaultFileName() { return QStringLiteral("system.txt"); }

    // Reads from the device (opened for reading when it is not open); `fileName` names the file in errors.
    std::optional<Schedule> read(QIODevice* device, int places, const QString& fileName = defaultFileName());
    std::optional<Schedule> read(const QString& path, int places);

    Problem problem() const { return problem_; }
    QString errorString() const { return error_; }

private:
    Problem problem_ = Problem::None;
    QString error_;
};

// One line of a double knock-out plan: a match line, or a caption line (match -1) that writes "Sieger
// Spiel n" / "Verlierer Spiel n" on the drawing. Numbers are relative to the phase.
struct KoPlanLine {
    QVector<int> fields; // at least ten

    int match() const { return fields[0]; }   // 1 … number of matches in file order; -1 caption
    int source1() const { return fields[1]; } // source match of slot 1 (of the caption)
    int source2() const { return fields[2]; } // source match of slot 2
    int kind1() const { return fields[3]; }   // -3 both slots from the draw; 1 winner; other: loser
    int kind2() const { return fields[4]; }   // 1 winner; other: loser
    int columnStart() const { return fields[6]; }
    int columnEnd() const { return fields[7]; }
    int row1() const { return fields[8]; }
    int row2() const { return fields[9]; }

    bool isCaption() const { return match() == -1; }
    bool isFirstStage() const { return !isCaption() && kind1() == kFromDraw; }
    bool takesWinner1() const { return kind1() == kWinner; }
    bool takesWinner2() const { return kind2() == kWinner; }

    static constexpr int kFromDraw = -3;
    static constexpr int kWinner = 1;
};

// The plan of a double knock-out for a bracket of `size` draw slots: the drawing grid and its lines in
// file order. Match lines are numbered 1, 2, … in file order; the first size/2 take the draw slots (match
// m takes slots 2m-1 and 2m); every later match takes its sides from matches before it.
struct KoPlan {
    int size = 0; // draw slots, a power of two
    int columns = 0;
    int rows = 0;
    QVector<KoPlanLine> lines;

    int matchCount() const;
};

class KoPlanReader {
public:
    static QString defaultFileName() { return QStringLiteral("ko_system.txt"); }

    std::optional<KoPlan> read(QIODevice* device, int size, const QString& fileName = defaultFileName());
    std::optional<KoPlan> read(const QString& path, int size);

    Problem problem() const { return problem_; }
    QString errorString() const { return error_; }

private:
    Problem problem_ = Problem::None;
    QString error_;
};

} // namespace datafiles
