#pragma once
// The program's persistent settings and the two stores they come from: the
// per-user store (an INI file in place of the registry key) and the profile
// file of the previous program generation, read once at a first start.

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class QSettings;

// The controller interface chosen in the main window: the KVX 40 / 10 frames
// (two trailing zero bytes, seeded checksums) or the plain ones of the
// KVX 300 / 900 / 5000S. Stored as 3 and 0; a stored value other than 3
// selects the plain frames, as the window shows it.
enum class ProtocolVariant : int32_t { Plain = 0, Kvx40 = 3 };

struct AppSettings {
    QString StandardDataDir;    // "ST_VERZ"
    QString SimulatorWorkDir;   // "SIM_VERZ"
    QString SimulationDataDir;  // "SIM_VERZ_DATEN", carried
    QString GroupNamesDir;      // "GRP_VERZ"
    QString ActualRunDir;       // "IST_VERZ"
    int ControllerPortIndex = -1;   // "COM_NR", 0..7 = COM1..COM8, negative = none
    int PrinterPortIndex = 0;       // "COM_NR_2"
    int DefaultInstallationType = 0;  // "ANLAGE_NR"
    int PrintInColour = 1;          // "IST_FARBE"
    int CaptureMinutes = 20;        // "IST_DAUER"
    int AutoEndCapture = 0;         // "IST_BEENDEN"
    int AskSaveCapture = 1;         // "IST_SPEICHERN"
    ::ProtocolVariant ProtocolVariant = ::ProtocolVariant::Kvx40;  // "ANLAGENTYP"
    int ChecksumSeed = 3;           // "KVX40_VERS"
    QString PreviewGeometry;        // "VORSCHAU_FENSTER": where the preview window was last
};

extern const QString kSectionInt;      // "SecInt"
extern const QString kSectionStrings;  // "SecStrings"
constexpr int kSettingsVersion = 210;

// Settings read by section and key. Integer keys accept a decimal string;
// anything that does not convert gives the default.
class SettingsSource {
public:
    virtual ~SettingsSource() = default;
    virtual QString ReadString(const QString &section, const QString &key,
                               const QString &defaultValue) const = 0;
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
};

// The per-user store: an INI file in place of the registry key, read and
// written by this program alone.
class SettingsStore : public SettingsSource {
public:
    explicit SettingsStore(const QString &iniFile);
    ~SettingsStore() override;
    SettingsStore(const SettingsStore &) = delete;
    SettingsStore &operator=(const SettingsStore &) = delete;

    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const override;
    void WriteInteger(const QString &section, const QString &key, int value);
    void WriteString(const QString &section, const QString &key, const QString &value);
    void sync();
    QString fileName() const;

private:
    std::unique_ptr<QSettings> settings_;
};

// Where the per-user store lives: the --settings option, else the
// SIGNOVAT_SETTINGS environment variable, else the user's config folder.
QString resolveSettingsFile(const QString &optionValue = QString());
QString defaultSettingsFile();

// The profile file "PDATPFAD_2.00.INI": looked up in the start directory, then
// in /etc/signovat. Empty when there is none.
QString findProfileFile(const QString &startDir);
extern const QString kProfileFileName;

// Reads every value from the per-user store, or from the profile store when
// the per-user store has no settings yet ("VERSION" 0). profile may be null.
AppSettings LoadSettings(const SettingsStore &registry, const SettingsSource *profile,
                         const QString &startDir);
void SaveSettings(SettingsStore &registry, const AppSettings &s);
void SaveInterfaceSelection(SettingsStore &registry, const AppSettings &s);

// Makes sure GroupNamesDir, ActualRunDir and StandardDataDir exist. An empty
// value falls back to its default below the start directory; one that cannot
// be created is kept as it is. The returned text tells the user which (empty
// when all went well).
QString ensureWorkingFolders(AppSettings &s, const QString &startDir);

QString defaultDataFolder(const QString &startDir);      // start + "/Namenlos"
QString defaultGroupNamesFolder(const QString &startDir);  // start + "/GrpBez"
QString defaultActualRunFolder(const QString &startDir);   // start + "/IstDruck"
