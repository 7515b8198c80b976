// The main window's commands that open the group names editor, the names
// file dialogs and "Programmeinstellungen", and what those windows do to the
// main window while they are shown and when they close.

#include "mainwindowrig.h"
#include "app/settingsdialog.h"
#include "data/groupnameseditor.h"
#include "data/textfield.h"
#include "dialogs/standardfolderpicker.h"
#include "modaldialogs.h"
#include "tempdir.h"
#include "widgettexts.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct DialogCommandsTest : ::testing::Test, MainWindowRig {
    QString savedWorkDir = QDir::currentPath();

    void SetUp() override
    {
        w = std::make_unique<TFormSteuer>(ctx, *registry, prompt, controllerPort, printerPort, link);
        w->controller().initTick(QDateTime::currentDateTime());
        w->applyView();
        w->show();
    }
    void TearDown() override { QDir::setCurrent(savedWorkDir); }

    bool commandsEnabled() const
    {
        return w->findChild<QMenu *>("MDatei")->menuAction()->isEnabled() && w->action("MProgEinstell")->isEnabled()
               && w->action("EditGrpBez")->isEnabled() && w->action("Save")->isEnabled();
    }
    bool commandsDisabled() const
    {
        return !w->findChild<QMenu *>("MDatei")->menuAction()->isEnabled()
               && !w->action("MProgEinstell")->isEnabled() && !w->action("EditGrpBez")->isEnabled()
               && !w->action("Open")->isEnabled();
    }
    template <typename T> T *in(QWidget *parent, const char *name) { return parent->findChild<T *>(name); }
};

TEST_F(DialogCommandsTest, TheGroupNamesEditorHoldsTheCommandsWhileItIsShown)
{
    TextToField10("Fußgänger", ctx.data.GroupNames[2]);
    EXPECT_TRUE(commandsEnabled());
    w->action("MGruppenbezeichnung")->trigger();
    TFormGrpBez *editor = w->groupNamesEditor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->field(1, 0)->text(), "Fußgänger");
    EXPECT_TRUE(commandsDisabled());
    editor->field(1, 0)->setText("Rad");
    QTest::mouseClick(in<QPushButton>(editor, "ButtonOk"), Qt::LeftButton);
    EXPECT_EQ(GroupNameText(ctx.data, 2), "Rad");
    EXPECT_TRUE(commandsEnabled());

    w->action("EditGrpBez")->trigger();
    EXPECT_TRUE(editor->isVisible());
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_TRUE(commandsEnabled());
}

TEST_F(DialogCommandsTest, NamesAreSavedToAndLoadedFromAnyNamesFile)
{
    ctx.settings.GroupNamesDir = QDir(tmp.path()).filePath("GrpBez");
    QDir().mkpath(ctx.settings.GroupNamesDir);
    TextToField10("Ä", ctx.data.GroupNames[0]);
    const QString saved = ctx.settings.GroupNamesDir + "/NAMEN.DAT";
    QDir::setCurrent(tmp.path());

    // The save dialog offers NAMEN.DAT in the group names folder.
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->directory().absolutePath(), ctx.settings.GroupNamesDir);
        EXPECT_EQ(dialog->nameFilters(), QStringList{"Gruppenbezeichnung (NAMEN.DAT)"});
        EXPECT_EQ(dialog->selectedFiles().value(0), saved);
        EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
        static_cast<QDialog *>(dialog)->accept();
    });
    w->action("Save")->trigger();
    const QByteArray bytes = readBytes(saved);
    ASSERT_EQ(bytes.size(), 240);
    EXPECT_EQ(bytes.left(10), QByteArray("\xc4         "));
    // This dialog leaves the working folder where the file went.
    EXPECT_EQ(QDir::currentPath(), ctx.settings.GroupNamesDir);

    const QString shortFile = tmp.filePath("KURZ.DAT");
    writeBytes(shortFile, QByteArray(239, 'x'));
    QString openedIn;
    chooseInFileDialog(shortFile, &openedIn);
    w->action("MGrpBezLaden")->trigger();
    EXPECT_EQ(openedIn, ctx.settings.StandardDataDir);
    EXPECT_EQ(GroupNameText(ctx.data, 0), "");
    EXPECT_EQ(QDir::currentPath(), ctx.settings.GroupNamesDir);

    chooseInFileDialog(saved);
    w->action("MGrpBezLaden")->trigger();
    EXPECT_EQ(GroupNameText(ctx.data, 0), "Ä");

    // Cancelling changes nothing.
    chooseInFileDialog(QString());
    w->action("MGrpBezLaden")->trigger();
    EXPECT_EQ(GroupNameText(ctx.data, 0), "Ä");
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(DialogCommandsTest, AFailedNamesSaveIsReportedAndKeepsTheOldFile)
{
    ctx.settings.GroupNamesDir = tmp.filePath("GrpBez");
    QDir().mkpath(ctx.settings.GroupNamesDir);
    const QString chosen = ctx.settings.GroupNamesDir + "/NAMEN.DAT";
    whenModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        ASSERT_TRUE(dialog);
        // While the dialog is open, a folder takes the file's place. (The
        // dialog's own accept would open that folder.)
        QDir().mkpath(chosen);
        static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
    });
    w->action("Save")->trigger();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Die Datei NAMEN.DAT kann nicht angelegt werden:\nUnter diesem Namen ist ein Ordner vorhanden.");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_TRUE(QFileInfo(chosen).isDir());
}

TEST_F(DialogCommandsTest, TheSettingsShowTheTextsOfTheirForm)
{
    w->action("MProgEinstell")->trigger();
    TFormStand *stand = w->settingsDialog();
    EXPECT_EQ(stand->windowTitle(), "Programmeinstellungen");
    EXPECT_EQ(stand->size(), QSize(632, 330));
    QStringList shown = widgetTexts(stand);
    shown.sort();
    QStringList expected{"Standarddatenpfad", "Ändern", "Druck Ist Einstellungen", "Schreibverzeichnis:",
                         "Ändern", "Druck Ist aus KVX Steuerung automatisch Beenden", "nach", "Minute(n)",
                         "Automatische Abfrage Druck Ist Speichern", "Arbeitsverzeichnis Velkinor", "Ändern",
                         "Steuerschnittstelle", "Steuer - Schnittstelle aktiv ", "Schnittstellen tauschen",
                         "Druckerausgabe", "Ausdruck in Farbe", "Ausdruck in S/W",
                         "Drucker - Schnittstelle wählen", "Steuer - Schnittstelle wählen",
                         "Schnittstellen zuordnen ...", "Abbruch", "Ok"};
    expected.sort();
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(in<QRadioButton>(stand, "RadioButtonFarbe")->isChecked());
    EXPECT_EQ(in<QComboBox>(stand, "ComboBoxCOMSteu")->currentText(), "Keine");
    EXPECT_FALSE(in<QComboBox>(stand, "ComboBoxCOMSteu")->isEnabled());
    EXPECT_FALSE(in<QPushButton>(stand, "ButtonTauschen")->isVisibleTo(stand));
    EXPECT_EQ(in<QLineEdit>(stand, "MemoIstDauer")->text(), "20");
}

TEST_F(DialogCommandsTest, ClosingTheSettingsReopensThePortsThroughTheMainWindow)
{
    ASSERT_EQ(printerPort.comNumber(), 1);
    w->action("MProgEinstell")->trigger();
    TFormStand *stand = w->settingsDialog();
    ASSERT_TRUE(stand->isVisible());
    EXPECT_TRUE(commandsDisabled());

    auto *printerList = in<QComboBox>(stand, "ComboBoxCOMPrint");
    EXPECT_EQ(printerList->currentText(), "COM 1");
    QTest::keyClick(printerList, Qt::Key_Down);
    EXPECT_EQ(printerList->currentText(), "COM 2");
    QTest::mouseClick(in<QCheckBox>(stand, "CheckBoxVorhanden"), Qt::LeftButton);
    EXPECT_EQ(in<QComboBox>(stand, "ComboBoxCOMSteu")->currentText(), "COM 1");
    QTest::mouseClick(in<QPushButton>(stand, "ButtonTauschen"), Qt::LeftButton);

    QTest::mouseClick(in<QPushButton>(stand, "ButtonOk"), Qt::LeftButton);
    EXPECT_FALSE(stand->isVisible());
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(printerPort.comNumber(), 1);
    EXPECT_EQ(controllerPort.comNumber(), 2);
    EXPECT_TRUE(printerPort.isOpen() && controllerPort.isOpen());
    EXPECT_EQ(w->findChild<QLabel *>("StatusPanel3")->text(), "Steuerung: COM 2");
    EXPECT_TRUE(commandsEnabled());
    EXPECT_EQ(QSettings(tmp.filePath("store.ini"), QSettings::IniFormat).value("SecInt/COM_NR").toString(), "1");
}

TEST_F(DialogCommandsTest, TheSettingsStayOpenWithoutAPrintingPortUntilAbbruch)
{
    w->action("SProgEinstell")->trigger();
    TFormStand *stand = w->settingsDialog();
    QTest::keyClick(in<QComboBox>(stand, "ComboBoxCOMPrint"), Qt::Key_End);
    QTest::mouseClick(in<QPushButton>(stand, "ButtonOk"), Qt::LeftButton);
    EXPECT_TRUE(stand->isVisible());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Es muß mindestens eine Schnittstelle\nzum Drucken eingestellt werden !\nBitte eine Schnittstelle auswählen !");
    EXPECT_EQ(w->findChild<QLabel *>("StatusPanel2")->text(), "Drucker: -----------");
    EXPECT_TRUE(commandsDisabled());

    // Esc is "Abbruch"; the stored "Keine" stays until changed.
    QTest::keyClick(stand, Qt::Key_Escape);
    EXPECT_FALSE(stand->isVisible());
    EXPECT_EQ(ctx.settings.PrinterPortIndex, -1);
    EXPECT_FALSE(w->action("MDIstKVX")->isEnabled());
}

TEST_F(DialogCommandsTest, TheDurationIsCheckedWhenTheFieldIsLeft)
{
    w->action("MProgEinstell")->trigger();
    TFormStand *stand = w->settingsDialog();
    stand->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(stand));
    QTest::mouseClick(in<QCheckBox>(stand, "CheckBoxVorhanden"), Qt::LeftButton);
    QTest::mouseClick(in<QCheckBox>(stand, "CheckBoxDIEnde"), Qt::LeftButton);
    auto *memo = in<QLineEdit>(stand, "MemoIstDauer");
    ASSERT_TRUE(memo->isVisible());
    memo->setFocus();
    memo->setText("21");
    QTest::keyClick(memo, Qt::Key_Tab);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompt.asked.empty(); }));
    EXPECT_EQ(prompt.asked[0].text, "Eingabe muß 1 bis 20 sein");
    EXPECT_EQ(prompt.asked[0].caption, "Üngültiger Wert");
    EXPECT_TRUE(memo->hasFocus());

    // The up-down control takes no focus: using it is no leaving.
    QTest::mouseClick(in<QWidget>(stand, "UpDownDown"), Qt::LeftButton);
    EXPECT_EQ(memo->text(), "19");
    memo->setText("");
    QTest::mouseClick(in<QPushButton>(stand, "ButtonOk"), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(stand->isVisible());
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[1].text, "Eingabe fehlt.");
    EXPECT_EQ(ctx.settings.CaptureMinutes, 20);
}

TEST_F(DialogCommandsTest, AFolderChosenInItsPickerIsShownStoredAndNeedsARestart)
{
    const QString other = tmp.filePath("Anlagen");
    QDir().mkpath(other);
    w->action("MProgEinstell")->trigger();
    TFormStand *stand = w->settingsDialog();
    whenModal([&](QWidget *modal) {
        auto *picker = qobject_cast<TFormGetStandDir *>(modal);
        ASSERT_TRUE(picker);
        picker->setTreeFolder(other);
        QTest::mouseClick(in<QPushButton>(picker, "ButtonOk"), Qt::LeftButton);
    });
    QTest::mouseClick(in<QPushButton>(stand, "ButtonChangeStandard"), Qt::LeftButton);
    EXPECT_EQ(in<QLineEdit>(stand, "EditStandard")->text(), other);
    EXPECT_EQ(ctx.settings.StandardDataDir, other);
    // Written at once by the main window's refresh.
    EXPECT_EQ(QSettings(tmp.filePath("store.ini"), QSettings::IniFormat).value("SecStrings/ST_VERZ").toString(),
              other);

    QTest::mouseClick(in<QPushButton>(stand, "ButtonOk"), Qt::LeftButton);
    EXPECT_FALSE(stand->isVisible());
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Die Programmeinstellungen werden\nbeim nächsten Start übernommen !");
    EXPECT_EQ(prompt.asked[0].caption, "Info");
}

}  // namespace
