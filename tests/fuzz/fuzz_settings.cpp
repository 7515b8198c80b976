// Any bytes as the settings: the input is both the per-user store and the
// profile file of a first start. The settings are loaded, the working folders
// made sure of below a start folder, then saved and loaded again.
//
// What must hold: a folder value is kept and made, or the user is told it
// cannot be; an empty one is replaced by its default, which is made, and the
// user told so; what is saved reads back as the same values.
//
// Folder values are kept inside the scratch folder before they are made: an
// absolute path is taken below it and ".." segments are defused, so the
// fuzzer cannot create folders elsewhere on the machine.
//
// Every input is loaded; what follows depends on the loaded values alone, so
// values met among the last inputs (most inputs only differ in bytes that
// make no difference) are not made and saved again: writing files is what
// makes this harness slow.

#include "base/appsettings.h"
#include "base/profilefile.h"
#include "fuzzsupport.h"

#include <QQueue>
#include <QSet>

#include <sys/stat.h>

namespace {

QString confined(const QString &value, const QString &root)
{
    if (value.isEmpty())
        return value;
    QStringList segments = value.split(QLatin1Char('/'));
    for (QString &s : segments)
        if (s == QLatin1String(".."))
            s = QStringLiteral("__");
    return root + QLatin1Char('/') + segments.join(QLatin1Char('/'));
}

// The values as one text: equal texts, equal values.
QString valuesKey(const AppSettings &s)
{
    QStringList parts{s.StandardDataDir, s.SimulatorWorkDir, s.SimulationDataDir, s.GroupNamesDir, s.ActualRunDir};
    for (int v : {s.ControllerPortIndex, s.PrinterPortIndex, s.DefaultInstallationType, s.PrintInColour,
                  s.CaptureMinutes, s.AutoEndCapture, s.AskSaveCapture, int(s.ProtocolVariant), s.ChecksumSeed})
        parts << QString::number(v);
    return parts.join(QChar(0));
}

bool checkedRecently(const AppSettings &s)
{
    static QSet<QString> recent;
    static QQueue<QString> order;
    const QString key = valuesKey(s);
    if (recent.contains(key))
        return true;
    recent.insert(key);
    order.enqueue(key);
    if (order.size() > 1024)
        recent.remove(order.dequeue());
    return false;
}

// QSettings keeps a parsed file and parses it again only when its size or
// time stamp changed; a time stamp of its own for every read makes it read
// what is in the file now.
void forceReparse(const QString &path)
{
    static time_t stamp = 1000000000;
    const struct timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    FUZZ_CHECK(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString root = scratchDir();
    const QString storeFile = root + QStringLiteral("/store.ini");
    const QString savedFile = root + QStringLiteral("/saved.ini");
    const QString start = root + QStringLiteral("/start");
    writeScratchFile(storeFile, reinterpret_cast<const char *>(data), size);
    forceReparse(storeFile);

    AppSettings s;
    {
        const SettingsStore store(storeFile);
        const ProfileFile profile(storeFile);
        s = LoadSettings(store, &profile, start);
    }
    QFile::remove(storeFile);
    if (checkedRecently(s))
        return 0;

    QDir(start).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(start));
    for (QString *folder : {&s.GroupNamesDir, &s.ActualRunDir, &s.StandardDataDir})
        *folder = confined(*folder, start);

    const AppSettings loaded = s;
    const QString notice = ensureWorkingFolders(s, start);
    const struct {
        const QString &before, &after, fallback;
    } folders[] = {{loaded.GroupNamesDir, s.GroupNamesDir, defaultGroupNamesFolder(start)},
                   {loaded.ActualRunDir, s.ActualRunDir, defaultActualRunFolder(start)},
                   {loaded.StandardDataDir, s.StandardDataDir, defaultDataFolder(start)}};
    for (const auto &f : folders) {
        if (f.before.isEmpty()) {
            FUZZ_CHECK(f.after == f.fallback && QFileInfo(f.after).isDir());
            FUZZ_CHECK(notice.contains(QStringLiteral("(leer)")));
        } else {
            FUZZ_CHECK(f.after == f.before);
            FUZZ_CHECK(QFileInfo(f.after).isDir() || notice.contains(f.after));
        }
    }
    FUZZ_CHECK(s.SimulatorWorkDir == loaded.SimulatorWorkDir);
    FUZZ_CHECK(s.SimulationDataDir == loaded.SimulationDataDir);

    {
        SettingsStore saved(savedFile);
        SaveSettings(saved, s);
        SaveInterfaceSelection(saved, s);
    }
    forceReparse(savedFile);
    {
        const SettingsStore saved(savedFile);
        FUZZ_CHECK(saved.ReadInteger(kSectionInt, QStringLiteral("VERSION"), 0) == kSettingsVersion);
        FUZZ_CHECK(valuesKey(LoadSettings(saved, nullptr, start)) == valuesKey(s));
    }
    QFile::remove(savedFile);
    return 0;
}
