// The folder pickers as the user works them: unreadable volumes, tree and field, "OK", "Abbruch", new folder.

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

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QFileSystemModel>
#include <QTreeView>
#include <QTest>
#include <gtest/gtest.h>

const auto kReadAndEnter = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                           | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

struct PickerTest : ::testing::Test {
    QTemporaryDir tmp;
    ScriptedPrompt prompt;
    AppSettings settings;

    void SetUp() override
    {
        QFile::setPermissions(tmp.path(), kReadAndEnter | QFileDevice::WriteOwner);
        settings.StandardDataDir = folder("Standard");
    }
    QString folder(const QString &name) { return QDir().mkpath(tmp.filePath(name)) ? tmp.filePath(name) : QString(); }
    // A folder no one may list (but root, unless it acts as nobody).
    QString lockedFolder()
    {
        const QString path = folder("gesperrt");
        QFile::setPermissions(path, {});
        return path;
    }
    static void click(QWidget *dialog, const char *button = "ButtonOk")
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(button), Qt::LeftButton);
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
        ASSERT_EQ(prompt.texts(), QStringList{"Das eingestellte Laufwerk ist nicht bereit\nBitte den Fehler beheben "
                                              "(z.B. Diskette einlegen)\nund wiederholen !"});
        EXPECT_TRUE(prompt.asked[0].caption == "Zugriffsfehler" && !picker.pickerOk());
        click(&picker);  // prepares again: still not readable
        EXPECT_TRUE(prompt.asked.size() == 2 && picker.isVisible());
    }
    QFile::setPermissions(locked, kReadAndEnter);
    click(&picker);  // readable now: prepared without a message
    EXPECT_TRUE(prompt.asked.size() == 2 && picker.pickerOk() && picker.isVisible());
    click(&picker);
    EXPECT_EQ(std::pair(picker.result(), picker.pickerFolder()), std::pair(int(QDialog::Accepted), locked));
}

TEST_F(PickerTest, ChoosingADriveThatIsNotReadyKeepsThePreviousDriveAndOnlyDatFilesAreListed)
{
    const QString start = folder("start"), locked = lockedFolder(), other = folder("anderes");
    for (const char *name : {"ALL.DAT", "NAMEN.DAT", "notiz.txt", "ALL.DAT.bak"})
        writeBytes(other + "/" + name, "x");
    TFormGetDir picker(prompt);
    picker.setPickerFolder(start);
    picker.show();
    auto *drives = picker.findChild<QComboBox *>("DriveComboBox");
    const QString before = drives->currentText();
    EXPECT_EQ(before, volumeOf(start));

    // Two more "volumes" at the end of the list: one that cannot be read, one that can.
    drives->addItem(locked);
    {
        FileAccessAsNobody nobody;
        QTest::keyClick(drives, Qt::Key_End);
    }
    EXPECT_EQ(prompt.texts(), QStringList{"Das gewählte Laufwerk ist nicht bereit\nBitte den Fehler beheben "
                                          "(z.B. Diskette einlegen)\nund wiederholen !"});
    EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
    EXPECT_EQ((QStringList{drives->currentText(), picker.treeFolder()}), (QStringList{before, start}));

    drives->addItem(other);
    QTest::keyClick(drives, Qt::Key_End);
    EXPECT_EQ(std::tuple(picker.treeFolder(), picker.shownFolder(), prompt.asked.size()), std::tuple(other, other, size_t(1)));
    QListView *files = picker.fileList();
    QStringList shown;
    EXPECT_TRUE(QTest::qWaitFor([&] {
        shown.clear();
        for (int r = 0; r < files->model()->rowCount(files->rootIndex()); ++r)
            shown << files->model()->index(r, 0, files->rootIndex()).data().toString();
        shown.sort();
        return shown == QStringList{"ALL.DAT", "NAMEN.DAT"};
    })) << shown.join(',').toStdString();
    click(&picker, "ButtonAbbruch");
    EXPECT_EQ(picker.result(), QDialog::Rejected);
}

TEST_F(PickerTest, TheSettingsFolderPickersStoreAListableFolderOfTheirModeAndRestoreTheWorkingFolder)
{
    settings.ActualRunDir = folder("IstDruck");
    settings.SimulatorWorkDir = folder("Sim");
    const QString other = folder("Anlagen"), saved = QDir::currentPath();
    TFormGetStandDir picker(prompt, settings);
    QStringList chosen;
    QObject::connect(&picker, &SettingsFolderPicker::folderChosen, [&](const QString &f) { chosen << f; });
    picker.show();
    EXPECT_EQ(picker.shownFolder(), settings.StandardDataDir);
    {
        FileAccessAsNobody nobody;  // a folder that cannot be listed is refused, not stored
        picker.setTreeFolder(lockedFolder());
        click(&picker);
    }
    EXPECT_TRUE(prompt.texts() == QStringList{kDriveChosenNotReady} && picker.isVisible());
    QDir::setCurrent(other);  // as browsing the tree may do
    picker.setTreeFolder(other);
    EXPECT_EQ(picker.shownFolder(), other);
    click(&picker);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ((QStringList{QDir::currentPath(), settings.StandardDataDir} + chosen), (QStringList{saved, other, other}));

    picker.setStandDirMode(TFormGetStandDir::WriteFolder);
    picker.show();
    EXPECT_EQ(picker.shownFolder(), tmp.filePath("IstDruck"));
    picker.setTreeFolder(tmp.path());
    click(&picker, "ButtonAbbruch");
    EXPECT_TRUE(settings.ActualRunDir == tmp.filePath("IstDruck") && chosen.size() == 1);

    TFormGetSimDir sim(prompt, settings);
    sim.show();
    EXPECT_EQ(sim.shownFolder(), tmp.filePath("Sim"));
    sim.setTreeFolder(other);
    click(&sim);
    EXPECT_TRUE(settings.SimulatorWorkDir == other && prompt.asked.size() == 1);
}

// The controls Tab reaches from the first one on, in the order it reaches them.
static std::string tabOrder(QWidget *dialog, QWidget *first)
{
    QStringList names;
    QWidget *w = first;
    do {
        if (w->isVisibleTo(dialog) && (w->focusPolicy() & Qt::TabFocus))
            names << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first);
    return names.join(' ').toStdString();
}

TEST_F(PickerTest, TabFollowsEachPickerFromTopToBottom)
{
    TFormGetStandDir stand(prompt, settings);
    TFormGetDir data(prompt);
    const auto first = [](QWidget *d, const char *name) { return d->findChild<QWidget *>(name); };
    EXPECT_EQ(tabOrder(&stand, first(&stand, "EditDir")),
              "EditDir DirectoryListBox DriveComboBox ButtonNeuerOrdner ButtonOk ButtonAbbruch");
    EXPECT_EQ(tabOrder(&data, first(&data, "DirectoryListBox")),
              "DirectoryListBox DriveComboBox ButtonOk ButtonAbbruch");
}

TEST_F(PickerTest, NewFolderIsCreatedBelowTheTreeFolderWhichStaysChosen)
{
    TFormGetStandDir picker(prompt, settings);
    picker.show();
    auto *tree = static_cast<QFileSystemModel *>(picker.findChild<QTreeView *>("DirectoryListBox")->model());
    const auto arrow = [&] { return tree->hasChildren(tree->index(settings.StandardDataDir)); };
    EXPECT_FALSE(arrow());  // an expand arrow only on a folder holding folders
    TFormOrdner *ordner = picker.newFolderDialog();
    QLineEdit *name = ordner->nameField();

    // Through the picker's button, modal as the user gets it.
    whenModal([&](QWidget *w) {
        EXPECT_EQ(w, ordner);
        EXPECT_EQ(ordner->currentFolder() + "|" + name->selectedText(), settings.StandardDataDir + "|Neuer Ordner");
        QTest::keyClicks(name, "K 12 ");
        name->insert("Süd");
        QTest::keyClick(name, Qt::Key_Return);
    });
    click(&picker, "ButtonNeuerOrdner");
    EXPECT_TRUE(!ordner->isVisible() && QFileInfo(settings.StandardDataDir + "/K 12 Süd").isDir());
    EXPECT_TRUE(picker.treeFolder() == settings.StandardDataDir && arrow());

    // A refused name: OK goes back to the name, Cancel leaves.
    ordner->show();
    name->setText("K12/Nord");
    prompt.answers = {PromptAnswer::Ok, PromptAnswer::Cancel};
    ordner->okClicked();
    EXPECT_TRUE(ordner->isVisible() && name->selectedText() == "K12/Nord");
    ordner->okClicked();
    EXPECT_FALSE(ordner->isVisible());
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::OkCancel);
    EXPECT_FALSE(QFileInfo::exists(settings.StandardDataDir + "/K12"));

    // A folder that cannot be created is told, and the dialog closes.
    ASSERT_TRUE(writeBytes(settings.StandardDataDir + "/Datei", "im Weg"));
    ordner->show();
    name->setText("Datei");
    ordner->okClicked();
    EXPECT_FALSE(ordner->isVisible());
    ASSERT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(std::pair(prompt.asked[2].caption, prompt.asked[2].buttons),
              std::pair(settings.StandardDataDir + "/Datei", PromptButtons::Ok));
}
