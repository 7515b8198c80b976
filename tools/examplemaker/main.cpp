// signovat-examplemaker: turns a readable description of an installation
// into a folder of the twenty data files.

#include "datasetwriter.h"
#include "description.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: signovat-examplemaker DESCRIPTION OUTPUT-FOLDER\n");
        return 2;
    }

    QFile file(args[0]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "signovat-examplemaker: cannot read %s\n", qPrintable(args[0]));
        return 1;
    }
    InstallationData d;
    QString error;
    if (!readDescription(QString::fromUtf8(file.readAll()), d, error)
        || !writeDataSet(d, args[1], error)) {
        std::fprintf(stderr, "signovat-examplemaker: %s: %s\n", qPrintable(args[0]), qPrintable(error));
        return 1;
    }
    return 0;
}
