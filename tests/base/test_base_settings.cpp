// The settings store: first start, profile fallback, value forms, folders.

#include "base/appsettings.h"
#include "base/recentlist.h"
#include "base/profilefile.h"
#include "qtprinters.h"
#include "tempdir.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct SettingsFixture : ::testing::Test {
    QTemporaryDir dir;
    QString storeFile() const { return dir.filePath("store.ini"); }
    QString start() const { return dir.filePath("start"); }
};

TEST_F(SettingsFixture, FirstStartGivesDefaultsCreatesFoldersAndSavesThirteenKeys)
{
    SettingsStore registry(storeFile());
    AppSettings s = LoadSettings(registry, nullptr, start());
    const QString d = start() + "/";
    EXPECT_EQ((QStringList{s.StandardDataDir, s.SimulatorWorkDir, s.SimulationDataDir, s.GroupNamesDir, s.ActualRunDir}),
              (QStringList{d + "Namenlos", d + "Namenlos", d + "Namenlos", d + "GrpBez", d + "IstDruck"}));
    EXPECT_EQ((QList<int>{s.ControllerPortIndex, s.PrinterPortIndex, s.DefaultInstallationType, s.PrintInColour,
                          s.CaptureMinutes, s.AutoEndCapture, s.AskSaveCapture, s.ChecksumSeed}),
              (QList<int>{-1, 0, 0, 1, 20, 0, 1, 3}));
    EXPECT_EQ(s.ProtocolVariant, ProtocolVariant::Kvx40);

    EXPECT_EQ(ensureWorkingFolders(s, start()), QString());
    for (const char *sub : {"Namenlos", "GrpBez", "IstDruck"})
        EXPECT_TRUE(QDir(start() + "/" + sub).exists()) << sub;

    SaveSettings(registry, s);
    QSettings raw(storeFile(), QSettings::IniFormat);
    EXPECT_EQ(raw.value("SecInt/VERSION").toString(), "210");
    EXPECT_EQ(std::pair(raw.allKeys().filter("SecInt/").size(), raw.allKeys().filter("SecStrings/").size()),
              std::pair(qsizetype(8), qsizetype(5)));

    s.PreviewGeometry = "10,20,900,600,max";  // a fourteenth key once the preview has been open
    SaveSettings(registry, s);
    EXPECT_EQ(LoadSettings(registry, nullptr, start()).PreviewGeometry, s.PreviewGeometry);
}

TEST_F(SettingsFixture, ProfileIsReadOnlyWhileTheStoreHasNoVersion)
{
    const QString profileFile = dir.filePath("PDATPFAD_2.00.INI");
    ASSERT_TRUE(writeBytes(profileFile, "[SecInt]\r\nCOM_NR=2\r\nIST_DAUER=7\r\n[SecStrings]\r\nST_VERZ=/daten/alt\r\n"));
    ProfileFile profile(profileFile);
    SettingsStore registry(storeFile());
    AppSettings s = LoadSettings(registry, &profile, start());
    EXPECT_EQ(std::tuple(s.ControllerPortIndex, s.CaptureMinutes, s.StandardDataDir),
              std::tuple(2, 7, QString("/daten/alt")));

    // Any non-zero generation marker means the store has settings of its own.
    registry.WriteInteger("SecInt", "VERSION", 200);
    registry.WriteInteger("SecInt", "IST_DAUER", 11);
    s = LoadSettings(registry, &profile, start());
    EXPECT_EQ(std::tuple(s.ControllerPortIndex, s.CaptureMinutes, s.StandardDataDir),
              std::tuple(-1, 11, start() + "/Namenlos"));

    EXPECT_EQ(std::pair(findProfileFile(dir.path()), findProfileFile(start())), std::pair(profileFile, QString()));
}

TEST(ProfileFile, ValuesAreTakenAsWrittenByThePlainRules)
{
    const ProfileFile profile = ProfileFile::FromBytes(
        "IST_DAUER=3\r\n"  // before any section: belongs to none
        "; Pfade\r\n"
        "[secstrings]\r\n"
        "  ST_VERZ = C:\\Daten\\Namenlos \r\n"
        "sim_verz=/srv/sim;alt,neu\r\n"
        "GRP_VERZ=\"  /daten/mit Leerzeichen  \"\r\n"
        "IST_VERZ=/daten/Stra\xdf" "e\r\n"
        "ST_VERZ=/zweiter/Eintrag\r\n"
        "[ SecInt ]\n"
        "IST_DAUER=12\n"
        "COM_NR=zwei\n"
        "ohne Gleichheitszeichen\n");
    const auto text = [&](const char *key) { return profile.ReadString("SecStrings", key, "-"); };
    EXPECT_EQ((QStringList{text("ST_VERZ"), text("SIM_VERZ"), text("GRP_VERZ"), text("IST_VERZ"),
                           profile.ReadString("SecInt", "COM_NR_2", "-")}),
              (QStringList{"C:\\Daten\\Namenlos", "/srv/sim;alt,neu", "  /daten/mit Leerzeichen  ", "/daten/Straße", "-"}));
    EXPECT_EQ(std::pair(profile.ReadInteger("SecInt", "IST_DAUER", 20), profile.ReadInteger("SecInt", "COM_NR", -1)),
              std::pair(12, -1));
    EXPECT_EQ(ProfileFile::FromBytes("[SecStrings]\nST_VERZ=/daten/Stra\xc3\x9f" "e\n")
                  .ReadString("SecStrings", "ST_VERZ", "-"),
              QString::fromUtf8("/daten/Straße"));
    EXPECT_EQ(ProfileFile(QStringLiteral("/nicht/da.ini")).ReadString("SecInt", "COM_NR", "-"), "-");
}

TEST_F(SettingsFixture, IntegersAcceptDecimalStringsAndFallBackOnGarbage)
{
    ASSERT_TRUE(writeBytes(storeFile(), "[SecInt]\nVERSION=210\nCOM_NR_2=\" 4 \"\nIST_DAUER=zwanzig\n"
                                        "ANLAGENTYP=4\nCOM_NR=42\nANLAGE_NR=5\n"));
    const AppSettings s = LoadSettings(SettingsStore(storeFile()), nullptr, start());
    // ANLAGENTYP: anything but 3 means the plain frames. COM_NR is kept; opening COM 43 fails and is reported.
    EXPECT_EQ((QList<int>{s.PrinterPortIndex, s.CaptureMinutes, int(s.ProtocolVariant), s.ControllerPortIndex,
                          s.DefaultInstallationType}),
              (QList<int>{4, 20, int(ProtocolVariant::Plain), 42, 5}));
}

TEST_F(SettingsFixture, EmptyFolderFallsBackToDefaultUncreatableOneIsKeptBothAreSaidOnce)
{
    ASSERT_TRUE(writeBytes(dir.filePath("blocker"), ""));
    AppSettings s;
    s.StandardDataDir = "";
    s.ActualRunDir = dir.filePath("blocker/below-a-file");
    s.GroupNamesDir = dir.filePath("fine");
    const QString notice = ensureWorkingFolders(s, start());
    // An uncreatable folder is kept: a setting is not lost.
    EXPECT_EQ((QStringList{s.StandardDataDir, s.ActualRunDir}),
              (QStringList{start() + "/Namenlos", dir.filePath("blocker/below-a-file")}));
    EXPECT_TRUE(QDir(s.StandardDataDir).exists() && QDir(s.GroupNamesDir).exists());
    EXPECT_FALSE(QDir(start() + "/IstDruck").exists());
    EXPECT_EQ(notice, "Das Verzeichnis " + dir.filePath("blocker/below-a-file")
                          + " kann nicht angelegt werden.\nDas Verzeichnis (leer) kann nicht angelegt "
                            "werden.\nEs wird " + start() + "/Namenlos verwendet.");
}

TEST(SettingsLocation, OptionBeatsEnvironmentBeatsDefault)
{
    qputenv("SIGNOVAT_SETTINGS", "/tmp/from-env.ini");
    EXPECT_EQ(resolveSettingsFile("/tmp/from-option.ini"), "/tmp/from-option.ini");
    EXPECT_EQ(resolveSettingsFile(), "/tmp/from-env.ini");
    qunsetenv("SIGNOVAT_SETTINGS");
    EXPECT_TRUE(resolveSettingsFile().endsWith("/Signovat/signovat.ini"));
}

TEST(RecentList, NewestFirstEachOnceFiveAtMostAndKeptInTheStore)
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("s.ini"));
    RecentList folders(store, QStringLiteral("Verzeichnis"));
    for (const char *path : {"/a", "/b", "/c", "/d", "/e", "/f", "/c"})
        folders.add(QString::fromLatin1(path));
    EXPECT_EQ(RecentList(store, QStringLiteral("Verzeichnis")).entries(), QStringList({"/c", "/f", "/e", "/d", "/b"}));
    EXPECT_TRUE(RecentList(store, QStringLiteral("Datei")).entries().isEmpty());
    EXPECT_EQ(store.ReadString("Zuletzt", "Verzeichnis1", {}), "/c");
}
