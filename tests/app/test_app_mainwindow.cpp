// What the main window adds to its controller: menus, labels, keys, closing, messages, names files, other windows.

#include "mainwindowrig.h"
#include "app/settingsdialog.h"
#include "data/groupnameseditor.h"
#include "data/textfield.h"
#include "dialogs/standardfolderpicker.h"
#include "modaldialogs.h"
#include "qtprinters.h"
#include "tempdir.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

struct MainWindowTest : ::testing::Test, MainWindowRig {
    QString savedWorkDir = QDir::currentPath();
    TFormStand *stand = nullptr;

    void SetUp() override
    {
        w = std::make_unique<TFormSteuer>(ctx, *registry, prompt, controllerPort, printerPort, link);
        w->controller().initTick(QDateTime::currentDateTime());
        w->applyView();
        w->show();
        stand = w->settingsDialog();
    }
    void TearDown() override { QDir::setCurrent(savedWorkDir); }

    template <typename T> T *in(QWidget *parent, const char *name) const { return parent->findChild<T *>(name); }
    // Whether the commands that open another window are offered (all alike).
    bool commandsEnabled() const
    {
        const QList<bool> all{in<QMenu>(w.get(), "MDatei")->menuAction()->isEnabled(), w->action("MProgEinstell")->isEnabled(),
                              w->action("EditGrpBez")->isEnabled(), w->action("Open")->isEnabled()};
        EXPECT_EQ(all.count(all[0]), all.size());
        return all[0];
    }
    void click(QWidget *parent, const char *button) { QTest::mouseClick(in<QPushButton>(parent, button), Qt::LeftButton); }
    QString panel(int i) const { return in<QLabel>(w.get(), qPrintable(QString("StatusPanel%1").arg(i)))->text(); }
    QString stored(const QString &key) const { return registry->ReadString(key.section('/', 0, 0), key.section('/', 1), {}); }
};

TEST_F(MainWindowTest, OnlyReleasedProgramsAreOfferedAndHelpOnlyWithItsFile)
{
    // Defaults: program 1 released only; there is no help document.
    for (int n = 1; n <= 6; ++n)
        for (const char *menu : {"MDSoll", "MDEin", "MDAusG", "MDAusS"})
            EXPECT_EQ(w->action(QString("%1%2").arg(menu).arg(n))->isVisible(), n == 1) << menu << n;
    EXPECT_FALSE(w->action("MHilfe")->isVisible());
    EXPECT_TRUE(w->label("PFrei1")->isEnabled() && !w->label("PFrei2")->isEnabled());

    // A manual that turns up (here the build tree's) shows the item at the next refresh.
    ctx.ProgramDir = tmp.filePath("build/src/app");
    QDir().mkpath(tmp.filePath("build/docs/handbuch"));
    ASSERT_TRUE(writeBytes(tmp.filePath("build/docs/handbuch/Signovat-Handbuch.pdf"), "%PDF"));
    w->controller().RefreshDisplay();
    w->applyView();
    EXPECT_TRUE(w->action("MHilfe")->isVisible());
}

TEST_F(MainWindowTest, InterfaceControlsIgnoreKeysTheRadioButtonsSwitchAndOnlyClosingSaves)
{
    // Without a controller port the panel is greyed; enabled, it shows what the controls do.
    in<QWidget>(w.get(), "BevelTyp")->setEnabled(true);
    auto *version = in<QComboBox>(w.get(), "ComboBoxVersion");
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Space, Qt::Key_Right})
        for (const char *control : {"RadioButtonKVX40", "RadioButtonKVX", "ComboBoxVersion"})
            QTest::keyClick(in<QWidget>(w.get(), control), Qt::Key(key));
    EXPECT_EQ(std::pair(version->currentIndex(), ctx.settings.ProtocolVariant), std::pair(3, ProtocolVariant::Kvx40));

    QTest::mouseClick(in<QRadioButton>(w.get(), "RadioButtonKVX"), Qt::LeftButton);
    EXPECT_EQ(ctx.settings.ProtocolVariant, ProtocolVariant::Plain);
    EXPECT_EQ((QList<bool>{version->isVisible(), w->action("MDIstKVX")->isEnabled(), w->action("MDIstKVX40_9600")->isEnabled()}),
              (QList<bool>{false, true, false}));

    // "Beenden" quits the running program without the close handler's save.
    QTimer::singleShot(0, w.get(), [this] { w->action("Beenden")->trigger(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_EQ(stored("SecInt/ANLAGENTYP"), "");
    w->show();
    w->close();
    EXPECT_EQ(stored("SecInt/ANLAGENTYP"), "0");
}

TEST(MainWindowStart, APortMessageAtStartUpCoversTheFilledInWindow)
{
    MainWindowRig rig;
    rig.printerPort.failOpen = true;
    QStringList shown;
    rig.prompt.onAsk = [&] {
        const auto panel = [&](int i) { return rig.w->findChild<QLabel *>(QString("StatusPanel%1").arg(i))->text(); };
        shown = {rig.w->windowTitle(), rig.w->label("LabelAnlage")->text(), panel(0).isEmpty() ? "" : "Datum", panel(2)};
    };
    ASSERT_TRUE(rig.startWindow());
    EXPECT_EQ(shown, (QStringList{"Signovat - Neu", "KVX ...", "Datum", "Drucker: COM 1"}));
}

TEST_F(MainWindowTest, AnUnansweredStartRequestIsToldWhileTheLinkGoesOn)
{
    FakeSerialPort &port = ctx.ports.ControllerPortFailed ? printerPort : controllerPort;
    bool sentWhileOpen = false;
    prompt.onAsk = [&] {
        // The box is open: the IO timer still drives the link.
        port.takeWritten();
        link.RequestPrint(3, 0, 0);
        sentWhileOpen = QTest::qWaitFor([&] { return !port.written.isEmpty(); });
    };
    ctx.StartRequest.startRequested();
    link.RequestPrint(2, 0, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        answerTimer.advance(100);
        return !prompt.asked.empty();
    }));
    EXPECT_EQ(prompt.texts(), QStringList{kNoControllerConnection});
    EXPECT_TRUE(sentWhileOpen);
}

TEST_F(MainWindowTest, TheIOTimerRunsOnlyWhileTheLinkHasWork)
{
    // After a failed command it is off too; the test above asks again then.
    FakeSerialPort &port = ctx.ports.ControllerPortFailed ? printerPort : controllerPort;
    auto *io = w->findChild<QTimer *>("IOTimer");
    EXPECT_FALSE(io->isActive());
    link.RequestPrint(2, 0, 0);
    EXPECT_TRUE(io->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.written.isEmpty(); }));
    port.inject(StuffFrame(BuildFrame(uint8_t(link.controllerFamily()), 14, 101, {}, link.protocolVariant(), link.checksumSeed())));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !io->isActive(); }));
}

TEST_F(MainWindowTest, NewProgramAndTheGroupNamesEditorAreReachedFromTheMenuAndToolbar)
{
    prompt.answers = {PromptAnswer::Cancel};
    w->action("NeuesProgramm")->trigger();
    EXPECT_EQ(prompt.asked.size(), 1u);

    w->action("MGruppenbezeichnung")->trigger();
    TFormGrpBez *editor = w->groupNamesEditor();
    EXPECT_TRUE(editor->isVisible() && !commandsEnabled());
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(commandsEnabled());
    w->action("EditGrpBez")->trigger();
    EXPECT_TRUE(editor->isVisible());
}

TEST_F(MainWindowTest, NamesFilesAreSavedInTheNamesFolderLoadedFromTheDataFolderAndAFailedSaveIsTold)
{
    ctx.settings.GroupNamesDir = tmp.filePath("GrpBez");
    QDir().mkpath(ctx.settings.GroupNamesDir);
    TextToField10("Ä", ctx.data.GroupNames[0]);
    const QString saved = ctx.settings.GroupNamesDir + "/NAMEN.DAT";
    auto saveAs = [&](bool folderInTheWay) {
        whenModal([&, folderInTheWay](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            ASSERT_TRUE(dialog);
            EXPECT_EQ(dialog->selectedFiles().value(0), saved);  // NAMEN.DAT offered in the group names folder
            if (folderInTheWay && QFile::remove(saved))  // a folder takes the file's place while the dialog is open
                QDir().mkpath(saved);
            static_cast<QDialog *>(dialog)->done(QDialog::Accepted);  // its own accept would open that folder
        });
        w->action("Save")->trigger();
    };
    QDir::setCurrent(tmp.path());
    saveAs(false);
    ASSERT_EQ(readBytes(saved).left(10), QByteArray("\xc4         "));  // else loading it below would wait forever
    EXPECT_EQ(QDir::currentPath(), ctx.settings.GroupNamesDir);  // left where the file went; opening one does not

    QString openedIn;
    TextToField10("B", ctx.data.GroupNames[0]);
    chooseInFileDialog(saved, &openedIn);
    w->action("MGrpBezLaden")->trigger();
    EXPECT_EQ((QStringList{openedIn, GroupNameText(ctx.data, 0), QDir::currentPath()}),
              (QStringList{ctx.settings.StandardDataDir, "Ä", ctx.settings.GroupNamesDir}));
    chooseInFileDialog(QString());  // cancelled: nothing changes
    w->action("MGrpBezLaden")->trigger();
    EXPECT_TRUE(GroupNameText(ctx.data, 0) == "Ä" && prompt.asked.empty());

    saveAs(true);
    ASSERT_EQ(prompt.texts(), QStringList{"Die Datei NAMEN.DAT kann nicht angelegt werden:\n"
                                          "Unter diesem Namen ist ein Ordner vorhanden."});
    EXPECT_EQ(std::pair(prompt.asked[0].caption, prompt.asked[0].icon), std::pair(QString("Fehler"), PromptIcon::Error));
}

TEST_F(MainWindowTest, ClosingTheSettingsReopensThePortsThroughTheMainWindow)
{
    w->action("MProgEinstell")->trigger();
    ASSERT_TRUE(stand->isVisible());
    EXPECT_FALSE(commandsEnabled());
    auto *controllerList = in<QComboBox>(stand, "ComboBoxCOMSteu");
    EXPECT_TRUE(in<QRadioButton>(stand, "RadioButtonFarbe")->isChecked());
    EXPECT_EQ(in<QLineEdit>(stand, "MemoIstDauer")->text(), "20");
    EXPECT_FALSE(controllerList->isEnabled() || in<QPushButton>(stand, "ButtonTauschen")->isVisibleTo(stand));

    QTest::keyClick(in<QComboBox>(stand, "ComboBoxCOMPrint"), Qt::Key_Down);
    QTest::mouseClick(in<QCheckBox>(stand, "CheckBoxVorhanden"), Qt::LeftButton);
    EXPECT_EQ(controllerList->currentText(), "COM 1");
    click(stand, "ButtonTauschen");
    click(stand, "ButtonOk");
    EXPECT_TRUE(!stand->isVisible() && prompt.asked.empty() && commandsEnabled());
    EXPECT_EQ(panel(3), "Steuerung: COM 2");
}

TEST_F(MainWindowTest, TheSettingsStayOpenWithoutAPrintingPortUntilAbbruch)
{
    w->action("SProgEinstell")->trigger();
    QTest::keyClick(in<QComboBox>(stand, "ComboBoxCOMPrint"), Qt::Key_End);
    click(stand, "ButtonOk");
    EXPECT_TRUE(stand->isVisible() && prompt.asked.size() == 1);
    EXPECT_EQ(panel(2), "Drucker: -----------");

    // Esc is "Abbruch": nothing more is told; the stored "Keine" stays until changed.
    QTest::keyClick(stand, Qt::Key_Escape);
    EXPECT_TRUE(!stand->isVisible() && ctx.settings.PrinterPortIndex == -1 && prompt.asked.size() == 1);
    // Every capture command is off and says why.
    for (const char *name : {"MDIstKVX", "MDIstKVX40_1200", "MDIstKVX40_19200", "MDIstQSW"}) {
        EXPECT_FALSE(w->action(name)->isEnabled()) << name;
        EXPECT_EQ(w->action(name)->toolTip(), "Keine nutzbare Schnittstelle zum Drucken.\nKeine Schnittstelle "
                                              "eingestellt.\nÄndern: Programmeinstellungen") << name;
    }
}

TEST_F(MainWindowTest, TheDurationIsCheckedWhenTheFieldIsLeft)
{
    w->action("MProgEinstell")->trigger();
    stand->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(stand));
    QTest::mouseClick(in<QCheckBox>(stand, "CheckBoxVorhanden"), Qt::LeftButton);
    QTest::mouseClick(in<QCheckBox>(stand, "CheckBoxDIEnde"), Qt::LeftButton);
    auto *memo = in<QLineEdit>(stand, "MemoIstDauer");
    ASSERT_TRUE(memo->isVisible());
    memo->setFocus();
    memo->setText("21");
    QTest::keyClick(memo, Qt::Key_Tab);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !prompt.asked.empty(); }));
    EXPECT_TRUE(memo->hasFocus());

    // The up-down control takes no focus: using it is no leaving.
    QTest::mouseClick(in<QWidget>(stand, "UpDownDown"), Qt::LeftButton);
    EXPECT_EQ(memo->text(), "19");
    memo->setText("");
    click(stand, "ButtonOk");
    QCoreApplication::processEvents();
    EXPECT_TRUE(stand->isVisible() && prompt.asked.size() == 2);
}

TEST_F(MainWindowTest, AFolderChosenInItsPickerIsShownStoredAndNeedsARestart)
{
    const QString other = tmp.filePath("Anlagen");
    QDir().mkpath(other);
    w->action("MProgEinstell")->trigger();
    whenModal([&](QWidget *modal) {
        auto *picker = qobject_cast<TFormGetStandDir *>(modal);
        ASSERT_TRUE(picker);
        picker->setTreeFolder(other);
        click(picker, "ButtonOk");
    });
    click(stand, "ButtonChangeStandard");
    EXPECT_EQ(in<QLineEdit>(stand, "EditStandard")->text(), other);
    EXPECT_EQ(stored("SecStrings/ST_VERZ"), other);  // written at once by the main window's refresh
    click(stand, "ButtonOk");
    EXPECT_TRUE(!stand->isVisible() && prompt.asked.size() == 1);
}
