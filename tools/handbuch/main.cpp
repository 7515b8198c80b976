// signovat-handbuch --out FILE.pdf --version V [--title-image FILE.png] CHAPTER.md...
// Writes the manual from its Markdown chapters; run by the build.

#include "manualpdf.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    // Fonts and images need a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A build shell (CI, root) may have no runtime folder; Qt would warn.
    QTemporaryDir runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toLocal8Bit());
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("PDF to write."), QStringLiteral("FILE"));
    const QCommandLineOption versionOption(QStringLiteral("version"), QStringLiteral("Program version."), QStringLiteral("V"));
    const QCommandLineOption imageOption(QStringLiteral("title-image"), QStringLiteral("Picture of the title page."),
                                         QStringLiteral("FILE"));
    parser.addOptions({outOption, versionOption, imageOption});
    parser.addPositionalArgument(QStringLiteral("chapters"), QStringLiteral("Markdown files, in order."));
    parser.process(app);
    if (!parser.isSet(outOption) || !parser.isSet(versionOption) || parser.positionalArguments().isEmpty()) {
        std::fputs("Aufruf: signovat-handbuch --out FILE.pdf --version V [--title-image FILE] KAPITEL.md...\n", stderr);
        return 2;
    }

    const ManualInfo info{QStringLiteral("Signovat – Handbuch"),
                          QStringLiteral("Zeitpläne von Lichtsignalanlagen anzeigen, drucken und aufzeichnen"),
                          parser.value(versionOption), parser.value(imageOption)};
    QString error;
    if (!writeManualPdf(parser.positionalArguments(), info, parser.value(outOption), &error)) {
        std::fprintf(stderr, "signovat-handbuch: %s\n", error.toUtf8().constData());
        return 1;
    }
    return 0;
}
