// Writes Files/ko_system.txt: the double knock-out plans and their drawing grids for 4 to 128 entrants.
#include "kosystem.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_ko_system_txt OUTPUT\n");
        return 2;
    }
    QFile f(QString::fromLocal8Bit(argv[1]));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    f.write(kosystem::koSystemFile().toUtf8());
    return 0;
}
