// Writes Files/system.txt: the all-play-all schedules for groups of 2 to 13 places.
#include "roundrobin.h"

#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_system_txt OUTPUT\n");
        return 2;
    }
    QFile f(QString::fromLocal8Bit(argv[1]));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    f.write(roundrobin::systemFile().toUtf8());
    return 0;
}
