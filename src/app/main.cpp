// signovat: the main window, or a headless command when one is named.

#include "context/appcontext.h"
#include "base/appsettings.h"
#include "app/commandoptions.h"
#include "app/commands.h"
#include "base/exceptionreport.h"
#include "app/mainwindow.h"
#include "app/programversion.h"
#include "base/messageboxprompt.h"
#include "base/profilefile.h"
#include "preview/cupsspooler.h"
#include "app/signovatapplication.h"
#include "serial/deviceserialport.h"
#include "link/controllerlink.h"
#include "link/qtanswertimer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <unistd.h>

namespace {

void printHelp(const QString &settingsFile)
{
    const QString text =
        QStringLiteral("Signovat – Zeitpläne von Lichtsignalanlagen anzeigen, drucken und aufzeichnen.\n\n"
                       "Aufruf:\n"
                       "  signovat [--settings DATEI] [--data VERZ]  Hauptfenster öffnen (VERZ: Datensatz laden)\n"
                       "  signovat [--settings DATEI] --data VERZ --preview N  Sollplan von Programm N zeigen\n"
                       "  signovat [--settings DATEI] DATEI.DRI     gespeicherten Ist-Druck zeigen\n"
                       "  signovat [--settings DATEI] BEFEHL ...    ohne Fenster arbeiten\n"
                       "  signovat --version                        Version von Signovat und Qt ausgeben\n\n"
                       "Befehle:\n")
        + commandUsage()
        + QStringLiteral("\nEinstellungen: %1\n"
                         "  (anderer Ort: --settings DATEI oder Umgebungsvariable SIGNOVAT_SETTINGS)\n"
                         "  Abschnitt [Ports], Schlüssel COM1 … COM8: das Gerät jeder Schnittstelle,\n"
                         "  z.B. COM5=/dev/ttyUSB0 (ohne Eintrag: COM1–4 = /dev/ttyS0–3, COM5–8 = /dev/ttyUSB0–3)\n")
              .arg(settingsFile);
    std::fputs(text.toLocal8Bit().constData(), stdout);
}

// Qt complains on stderr when the per-user runtime folder is not set (root
// shells, CI); give it the private folder it would pick itself.
void ensureRuntimeDir()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QString dir = QDir::tempPath() + QStringLiteral("/runtime-") + QString::number(getuid());
    if (QDir().mkpath(dir)) {
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", dir.toLocal8Bit());
    }
}

int runMainWindow(QApplication &app, Prompt &prompt, const QString &settingsOption, StartupRequest startup)
{
    AppContext ctx;
    ctx.StartupDir = QDir::currentPath();
    app.setProperty("startupDir", ctx.StartupDir);
    ctx.ProgramDir = QCoreApplication::applicationDirPath();
    app.setProperty("programDir", ctx.ProgramDir);

    const QString settingsFile = resolveSettingsFile(settingsOption);
    SettingsStore registry(settingsFile);
    const QString profilePath = findProfileFile(ctx.StartupDir);
    std::unique_ptr<ProfileFile> profile;
    if (!profilePath.isEmpty())
        profile = std::make_unique<ProfileFile>(profilePath);
    ctx.settings = LoadSettings(registry, profile.get(), ctx.StartupDir);

    DeviceSerialPort controllerPort(settingsFile);
    DeviceSerialPort printerPort(settingsFile);

    QtAnswerTimer answerTimer;
    ControllerLink link(controllerPort, answerTimer);

    TFormSteuer window(ctx, registry, prompt, controllerPort, printerPort, link);
    for (QString *path : {&startup.dataFolder, &startup.runFile})
        if (!path->isEmpty())
            *path = QDir(*path).absolutePath();
    window.setStartupRequest(startup);
    window.show();
    const int rc = app.exec();
    controllerPort.close();
    printerPort.close();
    return rc;
}

}  // namespace

int main(int argc, char **argv)
{
    ensureRuntimeDir();
    QCoreApplication::setApplicationVersion(programVersion());
    // Global options come before the command.
    QString settingsOption;
    QString dataOption;
    QString previewOption;
    int first = 1;
    while (first < argc) {
        const QString a = QString::fromLocal8Bit(argv[first]);
        if (a == QLatin1String("--settings") && first + 1 < argc) {
            settingsOption = QString::fromLocal8Bit(argv[first + 1]);
            first += 2;
        } else if (a.startsWith(QLatin1String("--settings="))) {
            settingsOption = a.mid(11);
            ++first;
        } else if (a == QLatin1String("--data") && first + 1 < argc) {
            dataOption = QString::fromLocal8Bit(argv[first + 1]);
            first += 2;
        } else if (a == QLatin1String("--preview") && first + 1 < argc) {
            previewOption = QString::fromLocal8Bit(argv[first + 1]);
            first += 2;
        } else {
            break;
        }
    }
    QString command = first < argc ? QString::fromLocal8Bit(argv[first]) : QString();
    // "signovat FILE.DRI", as a file manager calls it: the main window with that run.
    StartupRequest startup{dataOption, 0, QString()};
    if (first + 1 == argc && isRunFileArgument(command))
        startup.runFile = std::exchange(command, QString());
    QString previewRefusal;
    if (!previewOption.isEmpty() && !parsePreviewProgram(previewOption, !dataOption.isEmpty(), &startup.program,
                                                         &previewRefusal)) {
        std::fprintf(stderr, "signovat: %s\n", previewRefusal.toLocal8Bit().constData());
        return 1;
    }

    if (command == QLatin1String("--help") || command == QLatin1String("-h")
        || command == QLatin1String("help")) {
        QCoreApplication app(argc, argv);
        printHelp(resolveSettingsFile(settingsOption));
        return 0;
    }

    if (command == QLatin1String("--version")) {
        std::fputs(versionText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    if (!command.isEmpty()) {
        const CommandEntry *entry = findCommand(command);
        if (!entry) {
            std::fprintf(stderr, "signovat: unbekannter Befehl \"%s\" (siehe signovat --help)\n",
                         command.toLocal8Bit().constData());
            return 1;
        }
        // Commands draw and print without a display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        QStringList args;
        for (int i = first + 1; i < argc; ++i)
            args << QString::fromLocal8Bit(argv[i]);
        CupsSpooler spooler;
        return entry->run(args, CommandEnvironment{resolveSettingsFile(settingsOption), &spooler});
    }

    SignovatApplication app(argc, argv);
    MessageBoxPrompt prompt;
    app.setPrompt(&prompt);
    try {
        return runMainWindow(app, prompt, settingsOption, startup);
    } catch (const std::exception &e) {
        // An error during start-up is shown, and the program ends normally.
        const ExceptionMessage m = exceptionMessage(&e);
        prompt.tell(m.text, m.caption, PromptIcon::Error);
        return 0;
    }
}
