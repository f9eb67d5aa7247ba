// Writes the manual page from its template: the line @OPTIONS@ becomes the
// options of the program's own table (the one --help lists), and
// @PROJECT_VERSION@ the version.
//   write_manual TEMPLATE OUTPUT VERSION
#include "app/command_line.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: write_manual TEMPLATE OUTPUT VERSION\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "write_manual: cannot read %s: %s\n", argv[1], qPrintable(in.errorString()));
        return 1;
    }
    QString page = QString::fromUtf8(in.readAll());
    if (!page.contains(QLatin1String("\n@OPTIONS@\n"))) {
        std::fprintf(stderr, "write_manual: %s has no line @OPTIONS@\n", argv[1]);
        return 1;
    }
    page.replace(QLatin1String("\n@OPTIONS@\n"), u'\n' + app::CommandLine::manualOptions());
    page.replace(QLatin1String("@PROJECT_VERSION@"), QString::fromLocal8Bit(argv[3]));
    QSaveFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) || out.write(page.toUtf8()) < 0 || !out.commit()) {
        std::fprintf(stderr, "write_manual: cannot write %s: %s\n", argv[2], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
