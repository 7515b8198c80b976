// The folder pickers as the user works them: the drive list with a volume
// that cannot be read, the folder tree and its field, "OK" and "Abbruch",
// and the new-folder dialog.

#include "base/appsettings.h"
#include "asnobody.h"
#include "dialogs/datafolderpicker.h"
#include "dialogs/newfolderdialog.h"
#include "dialogs/simfolderpicker.h"
#include "dialogs/standardfolderpicker.h"
#include "dialogs/volumes.h"
#include "modaldialogs.h"
#include "scriptedprompt.h"
#include "tempdir.h"
#include "widgettexts.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const auto kReadAndEnter = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                           | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

struct PickerTest : ::testing::Test {
    QTemporaryDir tmp;
    ScriptedPrompt prompt;

    void SetUp() override { QFile::setPermissions(tmp.path(), kReadAndEnter | QFileDevice::WriteOwner); }

    QString folder(const QString &name)
    {
        const QString path = tmp.filePath(name);
        QDir().mkpath(path);
        return path;
    }
    // A folder no one may list (but root, unless it acts as nobody).
    QString lockedFolder()
    {
        const QString path = folder("gesperrt");
        QFile::setPermissions(path, {});
        return path;
    }
    static void clickOk(QWidget *dialog)
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>("ButtonOk"), Qt::LeftButton);
    }
};

TEST(Volumes, DrivesAreDataMountsAndRemovableMedia)
{
    for (const char *root : {"/", "/home", "/media/usb", "/mnt/daten", "/run/media/service/STICK", "/devices"})
        EXPECT_TRUE(isDataMountPoint(root)) << root;
    for (const char *root : {"/proc", "/sys/fs/cgroup", "/dev", "/dev/shm", "/run", "/run/user/1000", "/run/media"})
        EXPECT_FALSE(isDataMountPoint(root)) << root;
}

TEST_F(PickerTest, AFolderOnAVolumeThatCannotBeReadIsRefusedUntilItCanBe)
{
    const QString locked = lockedFolder();
    TFormGetDir picker(prompt);
    picker.setPickerFolder(locked);
    {
        FileAccessAsNobody nobody;
        picker.show();
        ASSERT_EQ(prompt.texts(), QStringList{kDriveSetNotReady});
        EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
        EXPECT_EQ(kDriveSetNotReady, "Das eingestellte Laufwerk ist nicht bereit\nBitte den Fehler beheben "
                                     "(z.B. Diskette einlegen)\nund wiederholen !");
        EXPECT_FALSE(picker.pickerOk());
        clickOk(&picker);  // prepares again: still not readable
        EXPECT_EQ(prompt.asked.size(), 2u);
        EXPECT_TRUE(picker.isVisible());
    }
    QFile::setPermissions(locked, kReadAndEnter);
    clickOk(&picker);  // readable now: prepared without a message
    EXPECT_EQ(prompt.asked.size(), 2u);
    EXPECT_TRUE(picker.pickerOk());
    EXPECT_TRUE(picker.isVisible());
    clickOk(&picker);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.pickerFolder(), locked);
}

TEST_F(PickerTest, ChoosingADriveThatIsNotReadyKeepsThePreviousDrive)
{
    const QString start = folder("start");
    const QString locked = lockedFolder();
    const QString other = folder("anderes");
    TFormGetDir picker(prompt);
    picker.setPickerFolder(start);
    picker.show();
    ASSERT_TRUE(prompt.asked.empty());
    auto *drives = picker.findChild<QComboBox *>("DriveComboBox");
    const QString before = drives->currentText();
    EXPECT_EQ(before, volumeOf(start));

    // Two more "volumes" at the end of the list: one that cannot be read, one that can.
    drives->addItem(locked);
    {
        FileAccessAsNobody nobody;
        QTest::keyClick(drives, Qt::Key_End);
    }
    EXPECT_EQ(prompt.texts(), QStringList{kDriveChosenNotReady});
    EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
    EXPECT_EQ(kDriveChosenNotReady, "Das gewählte Laufwerk ist nicht bereit\nBitte den Fehler beheben "
                                    "(z.B. Diskette einlegen)\nund wiederholen !");
    EXPECT_EQ(drives->currentText(), before);
    EXPECT_EQ(picker.treeFolder(), start);

    drives->addItem(other);
    QTest::keyClick(drives, Qt::Key_End);
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(picker.treeFolder(), other);
    EXPECT_EQ(picker.shownFolder(), other);
}

TEST_F(PickerTest, TheDataFolderPickerListsOnlyDatFiles)
{
    const QString data = folder("Kreuzung");
    for (const char *name : {"ALL.DAT", "NAMEN.DAT", "notiz.txt", "ALL.DAT.bak"})
        writeBytes(data + "/" + name, "x");
    TFormGetDir picker(prompt);
    EXPECT_EQ(picker.windowTitle(), "Daten laden");
    picker.setPickerFolder(data);
    picker.show();
    QListView *files = picker.fileList();
    QStringList shown;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        shown.clear();
        for (int r = 0; r < files->model()->rowCount(files->rootIndex()); ++r)
            shown << files->model()->index(r, 0, files->rootIndex()).data().toString();
        shown.sort();
        return shown == QStringList{"ALL.DAT", "NAMEN.DAT"};
    })) << shown.join(',').toStdString();
    EXPECT_EQ(picker.shownFolder(), data);
    const QStringList texts = widgetTexts(&picker);
    for (const char *t : {"Eingestelltes Verzeichnis:", "Dateien: (*.DAT)", "OK", "Abbruch"})
        EXPECT_TRUE(texts.contains(t)) << t;

    QTest::mouseClick(picker.findChild<QPushButton *>("ButtonAbbruch"), Qt::LeftButton);
    EXPECT_EQ(picker.result(), QDialog::Rejected);
}

TEST_F(PickerTest, TheStandardFolderPickerWorksOnTheFolderOfItsMode)
{
    AppSettings settings;
    settings.StandardDataDir = folder("Standard");
    settings.ActualRunDir = folder("IstDruck");
    const QString other = folder("Anlagen");
    TFormGetStandDir picker(prompt, settings);
    QStringList chosen;
    QObject::connect(&picker, &SettingsFolderPicker::folderChosen, [&](const QString &f) { chosen << f; });
    EXPECT_EQ(picker.windowTitle(), "Datenpfad wählen");

    picker.setStandDirMode(TFormGetStandDir::StandardFolder);
    picker.show();
    const QStringList texts = widgetTexts(&picker);
    for (const char *t : {"Neuen Ordner erstellen", "OK", "Abbruch"})
        EXPECT_TRUE(texts.contains(t)) << t;
    EXPECT_EQ(picker.labelText(), "gewähltes Standardverzeichnis:");
    EXPECT_EQ(picker.shownFolder(), settings.StandardDataDir);
    picker.setTreeFolder(other);
    EXPECT_EQ(picker.shownFolder(), other);
    clickOk(&picker);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(settings.StandardDataDir, other);
    EXPECT_EQ(chosen, QStringList{other});

    picker.setStandDirMode(TFormGetStandDir::WriteFolder);
    picker.show();
    EXPECT_EQ(picker.labelText(), "gewähltes Schreib- Verzeichnis Ist - Druck:");
    EXPECT_EQ(picker.shownFolder(), tmp.filePath("IstDruck"));
    picker.setTreeFolder(tmp.path());
    QTest::mouseClick(picker.findChild<QPushButton *>("ButtonAbbruch"), Qt::LeftButton);
    EXPECT_EQ(settings.ActualRunDir, tmp.filePath("IstDruck"));
    EXPECT_EQ(chosen.size(), 1);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(PickerTest, AFolderThatCannotBeListedIsNotStored)
{
    AppSettings settings;
    settings.StandardDataDir = folder("Standard");
    const QString locked = lockedFolder();
    TFormGetStandDir picker(prompt, settings);
    picker.show();
    {
        FileAccessAsNobody nobody;
        picker.setTreeFolder(locked);
        clickOk(&picker);
    }
    EXPECT_EQ(prompt.texts(), QStringList{kDriveChosenNotReady});
    EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
    EXPECT_TRUE(picker.isVisible());
    EXPECT_EQ(settings.StandardDataDir, tmp.filePath("Standard"));

    // Opened again, it shows the stored folder without a message.
    picker.hide();
    picker.show();
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_TRUE(picker.pickerOk());
}

TEST_F(PickerTest, TheSimulationFolderPickerStoresItsFolderAndRestoresTheWorkingFolder)
{
    AppSettings settings;
    settings.SimulatorWorkDir = folder("Sim");
    const QString other = folder("Velkinor");
    const QString saved = QDir::currentPath();
    QDir::setCurrent(tmp.path());

    TFormGetSimDir picker(prompt, settings);
    EXPECT_EQ(picker.windowTitle(), "Pfad wählen");
    picker.show();
    EXPECT_EQ(picker.labelText(), "gewähltes Arbeitsverzeichnis Simulationsprogramm:");
    EXPECT_EQ(picker.shownFolder(), settings.SimulatorWorkDir);
    QDir::setCurrent(other);  // as browsing the tree may do elsewhere
    picker.setTreeFolder(other);
    clickOk(&picker);
    EXPECT_EQ(settings.SimulatorWorkDir, other);
    EXPECT_EQ(QDir::currentPath(), tmp.path());
    QDir::setCurrent(saved);
}

TEST_F(PickerTest, NewFolderIsCreatedBelowTheTreeFolderWhichStaysChosen)
{
    AppSettings settings;
    settings.StandardDataDir = folder("Standard");
    TFormGetStandDir picker(prompt, settings);
    picker.show();
    TFormOrdner *ordner = picker.newFolderDialog();

    // Through the picker's button, modal as the user gets it.
    whenModal([&](QWidget *w) {
        EXPECT_EQ(w, ordner);
        EXPECT_EQ(ordner->windowTitle(), "Neuer Ordner");
        const QStringList texts = widgetTexts(ordner);
        for (const char *t : {"Aktueller Ordner:", "Name:", "OK", "Abbruch"})
            EXPECT_TRUE(texts.contains(t)) << t;
        EXPECT_EQ(ordner->nameField()->maxLength(), 32);
        EXPECT_EQ(ordner->currentFolder(), settings.StandardDataDir);
        EXPECT_EQ(ordner->nameField()->text(), "Neuer Ordner");
        EXPECT_EQ(ordner->nameField()->selectedText(), "Neuer Ordner");
        QTest::keyClicks(ordner->nameField(), "K 12 ");
        ordner->nameField()->insert("Süd");
        QTest::keyClick(ordner->nameField(), Qt::Key_Return);
    });
    QTest::mouseClick(picker.findChild<QPushButton *>("ButtonNeuerOrdner"), Qt::LeftButton);
    EXPECT_FALSE(ordner->isVisible());
    EXPECT_TRUE(QFileInfo(settings.StandardDataDir + "/K 12 Süd").isDir());
    EXPECT_EQ(picker.treeFolder(), settings.StandardDataDir);

    // A refused name: OK goes back to the name, Cancel leaves.
    ordner->show();
    ordner->nameField()->setText("K12/Nord");
    prompt.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
    ordner->okClicked();
    EXPECT_TRUE(ordner->isVisible());
    EXPECT_EQ(ordner->nameField()->selectedText(), "K12/Nord");
    ordner->okClicked();
    EXPECT_FALSE(ordner->isVisible());
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].caption, "Eingabefehler");
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::OkCancel);
    EXPECT_FALSE(QFileInfo::exists(settings.StandardDataDir + "/K12"));

    // A folder that cannot be created is told, and the dialog closes.
    ASSERT_TRUE(writeBytes(settings.StandardDataDir + "/Datei", "im Weg"));
    ordner->show();
    ordner->nameField()->setText("Datei");
    ordner->okClicked();
    EXPECT_FALSE(ordner->isVisible());
    ASSERT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(prompt.asked[2].caption, settings.StandardDataDir + "/Datei");
    EXPECT_EQ(prompt.asked[2].buttons, PromptButtons::Ok);
}

}  // namespace
