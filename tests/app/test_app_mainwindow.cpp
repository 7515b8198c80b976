// The main window as a user sees it: menus, toolbar hints, size, status bar
// and the keys the interface controls swallow.

#include "mainwindowrig.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

QStringList captions(const QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("---") : a->text());
    return out;
}

struct MainWindowTest : ::testing::Test, MainWindowRig {

    void SetUp() override { ASSERT_TRUE(startWindow()); }

    QMenu *menu(const QString &name) const { return w->findChild<QMenu *>(name); }
};

TEST_F(MainWindowTest, MenusHaveTheirCaptionsInOrder)
{
    QStringList top;
    for (QAction *a : w->menuBar()->actions())
        top << a->text();
    EXPECT_EQ(top, (QStringList{"Datei", "Drucken", "Programmeinstellungen", " ?"}));
    EXPECT_EQ(captions(menu("MDatei")),
              (QStringList{"Gruppenbezeichnung", "---", "Gruppenbezeichnung laden",
                           "Gruppenbezeichnung speichern", "---", "Neues Programm", "---", "Beenden"}));
    EXPECT_EQ(captions(menu("MDrucken")),
              (QStringList{"Soll", "Einschaltprogramme", "Ausschaltprogramme", "Ist"}));
    EXPECT_EQ(captions(menu("MDAus")), (QStringList{"Gezielte", "Störung"}));
    EXPECT_EQ(captions(menu("MDIst")),
              (QStringList{"Aus Datei laden", "KVX", "KVX 40 / 10, 1200 Baud", "KVX 40 / 10, 9600 Baud",
                           "KVX 40 / 10, 19200 Baud", "QSW 2000 / 2200", "Simulationsprogramm"}));
    EXPECT_EQ(captions(menu("InfoMenu")), (QStringList{"Onlinehilfe", "Info"}));
    const QStringList programs{"Programm 1", "Programm 2", "Programm 3", "Programm 4", "Programm 5", "Programm 6"};
    for (const char *m : {"MDSoll", "MDEin", "MDAusG", "MDAusS"})
        EXPECT_EQ(captions(menu(m)), programs) << m;
}

TEST_F(MainWindowTest, OnlyReleasedProgramsAreOfferedAndHelpOnlyWithItsFile)
{
    // Defaults: program 1 released only; there is no help document.
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(w->action(QString("MDSoll%1").arg(n))->isVisible(), n == 1);
        EXPECT_EQ(w->action(QString("MDAusS%1").arg(n))->isVisible(), n == 1);
    }
    EXPECT_FALSE(w->action("MHilfe")->isVisible());
    EXPECT_TRUE(w->label("PFrei1")->isEnabled());
    EXPECT_FALSE(w->label("PFrei2")->isEnabled());
}

TEST_F(MainWindowTest, ToolbarHintsSizeAndStatusPanels)
{
    QStringList hints;
    for (QAction *a : w->findChild<QToolBar *>()->actions())
        if (!a->toolTip().isEmpty() && !a->objectName().isEmpty())
            hints << a->objectName() + "=" + a->toolTip();
    EXPECT_EQ(hints, (QStringList{"Neu=Neues Programm", "EditGrpBez=Gruppenbezeichnung",
                                  "Save=Gruppenbezeichnung speichern", "Open=Daten laden",
                                  "SProgEinstell=Programmeinstellungen"}));
    EXPECT_EQ(w->width(), 692);
    EXPECT_EQ(w->height() - w->menuBar()->height(), 252);

    const int widths[5] = {65, 54, 110, 110, 110};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(w->findChild<QLabel *>(QString("StatusPanel%1").arg(i))->width(), widths[i]);
    EXPECT_EQ(w->findChild<QLabel *>("StatusPanel2")->text(), "Drucker: COM 1");
    EXPECT_EQ(w->findChild<QLabel *>("StatusPanel3")->text(), "Steuerung: -----------");
    EXPECT_EQ(w->windowTitle(), "Signovat - Neu");
    EXPECT_EQ(w->label("LabelAnlage")->text(), "KVX ...");
}

TEST_F(MainWindowTest, InterfaceControlsIgnoreKeys)
{
    auto *kvx40 = w->findChild<QRadioButton *>("RadioButtonKVX40");
    auto *kvx = w->findChild<QRadioButton *>("RadioButtonKVX");
    auto *version = w->findChild<QComboBox *>("ComboBoxVersion");
    // Without a controller port the panel is greyed; enable it to show the keys are eaten anyway.
    w->findChild<QWidget *>("BevelTyp")->setEnabled(true);
    ASSERT_TRUE(kvx40->isChecked());
    for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Space, Qt::Key_Right}) {
        QTest::keyClick(kvx40, Qt::Key(key));
        QTest::keyClick(kvx, Qt::Key(key));
        QTest::keyClick(version, Qt::Key(key));
    }
    EXPECT_TRUE(kvx40->isChecked());
    EXPECT_FALSE(kvx->isChecked());
    EXPECT_EQ(version->currentIndex(), 3);
    EXPECT_EQ(ctx.settings.ProtocolVariant, ProtocolVariant::Kvx40);
}

TEST_F(MainWindowTest, RadioButtonsSwitchTheInterfaceAndItsCommands)
{
    w->findChild<QWidget *>("BevelTyp")->setEnabled(true);
    auto *kvx = w->findChild<QRadioButton *>("RadioButtonKVX");
    QTest::mouseClick(kvx, Qt::LeftButton);
    EXPECT_EQ(ctx.settings.ProtocolVariant, ProtocolVariant::Plain);
    EXPECT_FALSE(w->findChild<QComboBox *>("ComboBoxVersion")->isVisible());
    EXPECT_TRUE(w->action("MDIstKVX")->isEnabled());
    EXPECT_FALSE(w->action("MDIstKVX40_9600")->isEnabled());
}

TEST_F(MainWindowTest, OnlyClosingTheWindowSavesTheInterfaceSelection)
{
    auto storedVariant = [this] {
        return QSettings(tmp.filePath("store.ini"), QSettings::IniFormat).value("SecInt/ANLAGENTYP");
    };
    w->findChild<QWidget *>("BevelTyp")->setEnabled(true);
    QTest::mouseClick(w->findChild<QRadioButton *>("RadioButtonKVX"), Qt::LeftButton);

    // "Beenden" quits the running program without the close handler's save.
    QTimer::singleShot(0, w.get(), [this] { w->action("Beenden")->trigger(); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(storedVariant().isValid());

    w->show();
    w->close();
    EXPECT_EQ(storedVariant().toString(), "0");
}

TEST(MainWindowStart, APortMessageAtStartUpCoversTheFilledInWindow)
{
    MainWindowRig rig;
    rig.printerPort.failOpen = true;
    QString title, type;
    rig.prompt.onAsk = [&] {
        title = rig.w->windowTitle();
        type = rig.w->label("LabelAnlage")->text();
    };
    ASSERT_TRUE(rig.startWindow());
    ASSERT_EQ(rig.prompt.asked.size(), 1u);
    EXPECT_EQ(rig.prompt.asked[0].caption, "Zugriffsfehler");
    EXPECT_EQ(title, "Signovat - Neu");
    EXPECT_EQ(type, "KVX ...");
}

TEST_F(MainWindowTest, NewProgramAsksFirst)
{
    prompt.answers = {PromptAnswer::Cancel};
    w->action("NeuesProgramm")->trigger();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Alle Daten werden auf\nStandardwerte gesetzt.");
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
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_TRUE(sentWhileOpen);
}

}  // namespace
