#include "base/appsettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

const QString kSectionInt = QStringLiteral("SecInt");
const QString kSectionStrings = QStringLiteral("SecStrings");
const QString kProfileFileName = QStringLiteral("PDATPFAD_2.00.INI");

namespace {
QString keyPath(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}
}  // namespace

SettingsStore::SettingsStore(const QString &iniFile)
    : settings_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat))
{
}

SettingsStore::~SettingsStore() = default;

int SettingsSource::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    bool ok = false;
    const int n = ReadString(section, key, QString()).trimmed().toInt(&ok, 10);
    return ok ? n : defaultValue;
}

QString SettingsStore::ReadString(const QString &section, const QString &key,
                                  const QString &defaultValue) const
{
    const QVariant v = settings_->value(keyPath(section, key));
    return v.isValid() ? v.toString() : defaultValue;
}

void SettingsStore::WriteInteger(const QString &section, const QString &key, int value)
{
    settings_->setValue(keyPath(section, key), QString::number(value));
}

void SettingsStore::WriteString(const QString &section, const QString &key, const QString &value)
{
    settings_->setValue(keyPath(section, key), value);
}

void SettingsStore::sync()
{
    settings_->sync();
}

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

QString defaultSettingsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Signovat/signovat.ini");
}

QString resolveSettingsFile(const QString &optionValue)
{
    if (!optionValue.isEmpty())
        return optionValue;
    const QString env = qEnvironmentVariable("SIGNOVAT_SETTINGS");
    if (!env.isEmpty())
        return env;
    return defaultSettingsFile();
}

QString findProfileFile(const QString &startDir)
{
    const QStringList candidates = {QDir(startDir).filePath(kProfileFileName),
                                    QStringLiteral("/etc/signovat/") + kProfileFileName};
    for (const QString &c : candidates)
        if (QFileInfo(c).isFile())
            return c;
    return {};
}

QString defaultDataFolder(const QString &startDir)
{
    return QDir(startDir).filePath(QStringLiteral("Namenlos"));
}

QString defaultGroupNamesFolder(const QString &startDir)
{
    return QDir(startDir).filePath(QStringLiteral("GrpBez"));
}

QString defaultActualRunFolder(const QString &startDir)
{
    return QDir(startDir).filePath(QStringLiteral("IstDruck"));
}

AppSettings LoadSettings(const SettingsStore &registry, const SettingsSource *profile,
                         const QString &startDir)
{
    const bool fromRegistry = registry.ReadInteger(kSectionInt, QStringLiteral("VERSION"), 0) != 0;
    const SettingsSource *source = fromRegistry || !profile ? &registry : profile;
    // Without a profile file every key gives its default, exactly as a missing file would.
    const bool noSource = !fromRegistry && !profile;

    auto str = [&](const char *key, const QString &def) {
        return noSource ? def : source->ReadString(kSectionStrings, QLatin1String(key), def);
    };
    auto num = [&](const char *key, int def) {
        return noSource ? def : source->ReadInteger(kSectionInt, QLatin1String(key), def);
    };

    AppSettings s;
    s.SimulatorWorkDir = str("SIM_VERZ", defaultDataFolder(startDir));
    s.GroupNamesDir = str("GRP_VERZ", defaultGroupNamesFolder(startDir));
    s.ActualRunDir = str("IST_VERZ", defaultActualRunFolder(startDir));
    s.StandardDataDir = str("ST_VERZ", defaultDataFolder(startDir));
    s.SimulationDataDir = str("SIM_VERZ_DATEN", defaultDataFolder(startDir));
    s.ControllerPortIndex = num("COM_NR", -1);
    s.PrinterPortIndex = num("COM_NR_2", 0);
    s.DefaultInstallationType = num("ANLAGE_NR", 0);
    s.PrintInColour = num("IST_FARBE", 1);
    s.CaptureMinutes = num("IST_DAUER", 20);
    s.AutoEndCapture = num("IST_BEENDEN", 0);
    s.AskSaveCapture = num("IST_SPEICHERN", 1);
    s.ProtocolVariant = num("ANLAGENTYP", 3) == int(ProtocolVariant::Kvx40) ? ProtocolVariant::Kvx40
                                                                       : ProtocolVariant::Plain;
    s.ChecksumSeed = num("KVX40_VERS", 3);
    s.PreviewGeometry = str("VORSCHAU_FENSTER", QString());
    return s;
}

void SaveSettings(SettingsStore &registry, const AppSettings &s)
{
    registry.WriteInteger(kSectionInt, QStringLiteral("VERSION"), kSettingsVersion);
    registry.WriteInteger(kSectionInt, QStringLiteral("COM_NR"), s.ControllerPortIndex);
    registry.WriteInteger(kSectionInt, QStringLiteral("COM_NR_2"), s.PrinterPortIndex);
    registry.WriteInteger(kSectionInt, QStringLiteral("ANLAGE_NR"), s.DefaultInstallationType);
    registry.WriteInteger(kSectionInt, QStringLiteral("IST_FARBE"), s.PrintInColour);
    registry.WriteInteger(kSectionInt, QStringLiteral("IST_DAUER"), s.CaptureMinutes);
    registry.WriteInteger(kSectionInt, QStringLiteral("IST_BEENDEN"), s.AutoEndCapture);
    registry.WriteInteger(kSectionInt, QStringLiteral("IST_SPEICHERN"), s.AskSaveCapture);
    registry.WriteString(kSectionStrings, QStringLiteral("ST_VERZ"), s.StandardDataDir);
    registry.WriteString(kSectionStrings, QStringLiteral("SIM_VERZ"), s.SimulatorWorkDir);
    registry.WriteString(kSectionStrings, QStringLiteral("SIM_VERZ_DATEN"), s.SimulationDataDir);
    registry.WriteString(kSectionStrings, QStringLiteral("GRP_VERZ"), s.GroupNamesDir);
    registry.WriteString(kSectionStrings, QStringLiteral("IST_VERZ"), s.ActualRunDir);
    if (!s.PreviewGeometry.isEmpty())  // once the preview has been open
        registry.WriteString(kSectionStrings, QStringLiteral("VORSCHAU_FENSTER"), s.PreviewGeometry);
    registry.sync();
}

void SaveInterfaceSelection(SettingsStore &registry, const AppSettings &s)
{
    registry.WriteString(kSectionInt, QStringLiteral("ANLAGENTYP"), QString::number(int(s.ProtocolVariant)));
    registry.WriteString(kSectionInt, QStringLiteral("KVX40_VERS"), QString::number(s.ChecksumSeed));
    registry.sync();
}

QString ensureWorkingFolders(AppSettings &s, const QString &startDir)
{
    struct Folder {
        QString *value;
        QString fallback;
    };
    const Folder folders[] = {
        {&s.GroupNamesDir, defaultGroupNamesFolder(startDir)},
        {&s.ActualRunDir, defaultActualRunFolder(startDir)},
        {&s.StandardDataDir, defaultDataFolder(startDir)},
    };
    QString notice;
    for (const Folder &f : folders) {
        if (f.value->isEmpty()) {
            *f.value = f.fallback;
            QDir().mkpath(f.fallback);
            notice += QStringLiteral("Das Verzeichnis (leer) kann nicht angelegt werden.\n"
                                     "Es wird %1 verwendet.\n")
                          .arg(f.fallback);
        } else if (!QDir().mkpath(*f.value)) {
            // Kept: the folder may be on a medium that is not there yet, and
            // the next save of the settings must not lose it.
            notice += QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.\n").arg(*f.value);
        }
    }
    return notice.trimmed();
}
