// Writes db/rows.sql: the settings row and the seeding table every new tournament database starts with.
#include "seeding.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_rows OUTPUT.sql\n");
        return 2;
    }
    QFile f(QString::fromLocal8Bit(argv[1]));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    f.write(seeding::rowsScript().toUtf8());
    return 0;
}
