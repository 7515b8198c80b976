// TFGrafik showing actual runs: a controller's printout fed through an
// in-memory port and the window's own capture tick, the chart growing and
// turning pages, the lamp and the received-data window, the capture's
// messages, leaving with the names question and the save dialog, a run from
// the simulation program's files, and a saved run shown and printed.

#include "actual/actualrunfile.h"
#include "context/appcontext.h"
#include "asnobody.h"
#include "data/groupnameseditor.h"
#include "data/textfield.h"
#include "link/controllerlink.h"
#include "link/steppedanswertimer.h"
#include "modaldialogs.h"
#include "pdffileprinter.h"
#include "pdfpages.h"
#include "preview/previewwindow.h"
#include "preview/receiveddatawindow.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "serial/fakeserialport.h"
#include "tempdir.h"
#include "../actual/streamlines.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
const QString kWaiting = QStringLiteral("Drucker Vorschau grafisch Ist-Druck Steuerung - Erwarte Daten");
const QString kReceiving = QStringLiteral("Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Daten - SCHULW01");
const QString kExampleRun = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI");

// Chooses the paths in the file dialogs that come one after the other; an
// empty path cancels a dialog.
void chooseFiles(QStringList paths)
{
    if (paths.isEmpty())
        return;
    const QString path = paths.takeFirst();
    whenModal([path, paths](QWidget *w) {
        auto *dialog = qobject_cast<QFileDialog *>(w);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), "Druck Ist Daten speichern");
        chooseFiles(paths);
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    });
}

struct ActualRunWindowTest : ::testing::Test {
    QTemporaryDir tmp;
    AppContext ctx;
    ScriptedPrompt prompt;
    FakeSerialPort printer, controller;
    SteppedAnswerTimer answerTimer;
    ControllerLink link{controller, answerTimer};
    PdfFilePrinter *pdf = nullptr;
    std::unique_ptr<TFGrafik> w;
    QList<QByteArray> transcript = transcriptLines(kKvxTranscript);
    int fed = 0;  // transcript lines sent so far
    bool closed = false;
    size_t toldWhenClosed = 0;  // messages shown before the window closed

    void SetUp() override
    {
        ctx.ControllerFamily = ControllerFamily::Kvx;
        ctx.settings.ControllerPortIndex = 1;
        ctx.settings.ActualRunDir = tmp.path();
        ctx.settings.SimulatorWorkDir = tmp.path();
        for (GroupName &name : ctx.data.GroupNames)
            name.fill(' ');
        controller.open();
    }
    void open(DisplayMode mode, const QString &file = QString())
    {
        printer.open();  // the printer-stream port the main window opens
        closed = false;
        auto p = std::make_unique<PdfFilePrinter>(tmp.path());
        pdf = p.get();
        w = std::make_unique<TFGrafik>(ctx, prompt, std::move(p), CapturePorts{&printer, &controller, &link});
        watchClosing();
        w->show();
        ASSERT_TRUE(w->ShowActualRun(mode, file));
    }
    void watchClosing()
    {
        QObject::connect(w.get(), &TFGrafik::closed, [this] {
            closed = true;
            toldWhenClosed = prompt.asked.size();
        });
    }
    // The capture's messages are shown once its tick is over.
    bool told(size_t count)
    {
        return QTest::qWaitFor([&] { return prompt.asked.size() >= count; });
    }
    template <class T = QPushButton> T *get(const char *name) const
    {
        T *widget = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    QString text(const char *label) const { return get<QLabel>(label)->text(); }
    void click(const char *button) { QTest::mouseClick(get<QAbstractButton>(button), Qt::LeftButton); }
    void line(const QByteArray &text)
    {
        printer.inject(text + "\r\n");
        w->ScanDataTimer();
    }
    // Feeds the transcript until the run has `seconds` rows.
    void receive(int seconds)
    {
        while (w->capture().RowCount() < seconds && fed < transcript.size())
            line(transcript[fed++]);
        ASSERT_EQ(w->capture().RowCount(), seconds);
    }
    bool printButtonsEnabled() const
    {
        return get("DruckAlles")->isEnabled() && get("DruckAuswahl")->isEnabled() && get("DruckAktuell")->isEnabled();
    }
    // Whether the image shows `colour` anywhere in the column of a second of the shown page.
    bool columnShows(int offset, const QColor &colour) const
    {
        const int x = w->metrics().SecondX(offset) + 2;
        for (int y = 0; y < w->image().height(); ++y)
            if (w->image().pixelColor(x, y) == colour)
                return true;
        return false;
    }
    // The print command the link sends next (2 start, 3 stop), answered by
    // the controller; -1 when none goes out.
    int printCommandSent()
    {
        link.SendStep();
        const QByteArray sent = controller.takeWritten();
        int code = -1;
        for (uint8_t c : {uint8_t(2), uint8_t(3)})
            if (!sent.isEmpty()
                && sent == StuffFrame(BuildPrintCommandFrame({c, 0, 0}, link.protocolVariant(), link.checksumSeed())))
                code = c;
        controller.inject(StuffFrame(
            BuildFrame(2, kPrintCommandClassKvx40, 101, {}, link.protocolVariant(), link.checksumSeed())));
        link.SendStep();
        controller.takeWritten();
        return code;
    }
};

TEST_F(ActualRunWindowTest, AKvxRunGrowsSecondBySecondAndTurnsPages)
{
    open(DisplayMode::RunKvx);
    EXPECT_EQ(w->windowTitle(), kWaiting);
    EXPECT_TRUE(get<QLabel>("ShapeEmpfang")->isVisible());
    EXPECT_TRUE(get("ButtonDrFenster")->isVisible());
    EXPECT_EQ(get("ButtonDrFenster")->text(), "Ausblenden");
    EXPECT_EQ(get("ButtonDrFenster")->toolTip(), "Anzeige empfangene Daten");
    EXPECT_TRUE(w->receivedDataWindow()->isVisible());
    EXPECT_EQ(w->receivedDataWindow()->windowTitle(), "Empfangene Druckerdaten");
    EXPECT_EQ(w->captureTimer()->interval(), 100);
    EXPECT_TRUE(w->captureTimer()->isActive());
    EXPECT_EQ(printer.baudRate, 1200);
    EXPECT_EQ(printer.stopBits, 2);
    EXPECT_FALSE(printButtonsEnabled() || get("ButtonSeiteVor")->isEnabled());

    // The lamp is green while characters wait at the port.
    printer.inject(transcript[0] + "\r\n" + transcript[1] + "\r\n");
    w->ScanDataTimer();
    const auto lamp = [&] { return get<QLabel>("ShapeEmpfang")->pixmap().toImage().pixelColor(8, 8); };
    EXPECT_EQ(lamp(), QColor(Qt::green));
    w->ScanDataTimer();
    w->ScanDataTimer();
    EXPECT_EQ(lamp(), QColor(Qt::white));
    fed = 2;

    // The header: the received-data window holds the last ten lines.
    while (!w->capture().dataPhase())
        line(transcript[fed++]);
    EXPECT_EQ(w->windowTitle(), "Drucker Vorschau grafisch Ist Druck Steuerung - Empfange Kopf-Daten");
    const QStringList shown = w->receivedDataWindow()->text().split('\n');
    ASSERT_EQ(shown.size(), 10);
    EXPECT_EQ(shown.last(), QString::fromLatin1(transcript[fed - 1]));
    EXPECT_FALSE(printButtonsEnabled());

    receive(1);
    EXPECT_EQ(w->windowTitle(), kReceiving);
    EXPECT_TRUE(printButtonsEnabled());
    EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelPos"), text("LabelProg")}),
              QStringList({"2 von 2", "0 s", "1"}));
    EXPECT_TRUE(get<QWidget>("PanelPos")->isVisible());
    EXPECT_FALSE(columnShows(5, PlanColour::Green));
    receive(6);  // group 1 turns green at second 5
    EXPECT_TRUE(columnShows(5, PlanColour::Green));
    EXPECT_FALSE(columnShows(50, PlanColour::Green));

    receive(100);
    EXPECT_EQ(text("LabelSeite"), "2 von 2");
    receive(101);  // page 2 is full: the view follows
    EXPECT_EQ(text("LabelSeite"), "3 von 3");
    EXPECT_EQ(w->paging().PageStartSecond(), 100);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(ActualRunWindowTest, PagedElsewhereTheViewStaysAndProgShowsTheCursorsProgram)
{
    open(DisplayMode::RunKvx);
    receive(150);
    click("ButtonSeiteZurueck");  // page 2 while page 3 fills
    receive(201);
    EXPECT_EQ(w->paging().PageStartSecond(), 0);
    EXPECT_EQ(text("LabelSeite"), "2 von 4");
    click("ButtonSeiteZurueck");  // the overview page: the last second's program
    EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelProg")}), QStringList({"1 von 4", "2"}));
    click("ButtonSeiteVor");
    click("ButtonSeiteVor");
    EXPECT_EQ(w->paging().PageStartSecond(), 100);
    QTest::mouseClick(get<QLabel>("Image"), Qt::LeftButton, {}, QPoint(w->metrics().SecondX(30), 300));
    EXPECT_EQ(QStringList({text("LabelPos"), text("LabelProg")}), QStringList({"130 s", "1"}));
    QTest::mouseClick(get<QLabel>("Image"), Qt::LeftButton, {}, QPoint(w->metrics().SecondX(45), 300));
    EXPECT_EQ(QStringList({text("LabelPos"), text("LabelProg")}), QStringList({"145 s", "2"}));
    QTest::mouseClick(get<QLabel>("Image"), Qt::LeftButton, {}, QPoint(w->metrics().SecondX(90), 300));
    EXPECT_EQ(text("LabelProg"), "2");  // beyond the run: its last second
}

TEST_F(ActualRunWindowTest, ANewPrintoutClearsTheRun)
{
    open(DisplayMode::RunKvx);
    receive(20);
    QTest::mouseClick(get<QCheckBox>("CheckPrint"), Qt::LeftButton);
    line("          ");  // the blank lines that end a printout
    EXPECT_EQ(w->capture().RowCount(), 20);
    line("Neuer Druck:");
    EXPECT_EQ(w->capture().RowCount(), 0);
    EXPECT_EQ(w->windowTitle(), "Drucker Vorschau grafisch Ist Druck Steuerung - Erwarte Daten");
    EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelPos"), text("LabelProg"), text("LabelMesspunkt"),
                           text("LabelAbstand")}),
              QStringList({"", "", "", "0 s", "----"}));
    EXPECT_FALSE(get<QWidget>("PanelPos")->isVisible() || get<QCheckBox>("CheckPrint")->isChecked());
    EXPECT_FALSE(printButtonsEnabled());
    EXPECT_EQ(w->paging().PageSelected(), PageFlags{});
    EXPECT_FALSE(columnShows(5, PlanColour::Green) || columnShows(5, PlanColour::Red));
}

TEST_F(ActualRunWindowTest, ASilentKvxControllerIsAskedToPrintThenGivenUp)
{
    open(DisplayMode::RunKvx);
    for (int tick = 1; tick <= 15; ++tick)
        w->ScanDataTimer();
    EXPECT_EQ(printCommandSent(), -1);
    w->ScanDataTimer();  // the 16th
    EXPECT_TRUE(ctx.StartRequest.startRequestPending());
    EXPECT_EQ(printCommandSent(), 2);
    for (int tick = 17; tick <= 50; ++tick)
        w->ScanDataTimer();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(closed);
    w->ScanDataTimer();  // the 51st
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Es werden keine Daten zum Drucken empfangen !\nBitte Verbindung und Baudrateneinstellung prüfen !");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_EQ(toldWhenClosed, 1u);  // the message first, then the window closes
    EXPECT_FALSE(printer.isOpen() || w->receivedDataWindow()->isVisible());
    EXPECT_EQ(printCommandSent(), 3);  // closing asks the controller to stop
}

TEST_F(ActualRunWindowTest, ClosingDuringThePrinterDialogWaitsUntilItIsGone)
{
    struct TickingPrinter : PdfFilePrinter {
        using PdfFilePrinter::PdfFilePrinter;
        std::function<void()> whileOpen;
        bool setUp(QWidget *parent, const QString &name) override
        {
            whileOpen();  // the capture timer goes on while the dialog is open
            return PdfFilePrinter::setUp(parent, name);
        }
    };
    printer.open();
    auto p = std::make_unique<TickingPrinter>(tmp.path());
    TickingPrinter *ticking = p.get();
    w = std::make_unique<TFGrafik>(ctx, prompt, std::move(p), CapturePorts{&printer, &controller, &link});
    watchClosing();
    w->show();
    ASSERT_TRUE(w->ShowActualRun(DisplayMode::RunKvx));
    receive(5);
    bool closedWhileOpen = true;
    ticking->whileOpen = [&] {
        // A new printout whose header was missed; the dialog runs the event
        // loop, which shows the message.
        line("Neuer Druck:");
        line(dataLine('1', {" R ", " Gr"}));
        EXPECT_TRUE(told(1));
        closedWhileOpen = closed;
    };
    click("DruckAlles");
    EXPECT_EQ(prompt.texts(), QStringList({"Es ist noch ein Druckvorgang aktiv!\nDieser muss zuerst beendet werden.\n"}));
    EXPECT_FALSE(closedWhileOpen);
    EXPECT_TRUE(closed);
    EXPECT_TRUE(ticking->jobs.isEmpty());
}

TEST_F(ActualRunWindowTest, AQswControllerIsAwaitedWithoutLimit)
{
    open(DisplayMode::RunKvx);  // left while still waiting for the KVX controller
    w->ScanDataTimer();
    click("DruckNicht");
    EXPECT_EQ(printCommandSent(), 3);
    open(DisplayMode::RunQsw);
    EXPECT_EQ(printer.stopBits, 1);
    for (int tick = 0; tick < 100; ++tick)
        w->ScanDataTimer();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_FALSE(closed);
    EXPECT_EQ(printCommandSent(), -1);
}

TEST_F(ActualRunWindowTest, ADataLineBeforeTheHeaderClosesTheWindow)
{
    open(DisplayMode::RunKvx40At9600);
    EXPECT_EQ(printer.baudRate, 9600);
    EXPECT_EQ(controller.baudRate, 57600);
    line(dataLine('1', {" R ", " Gr"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Es ist noch ein Druckvorgang aktiv!\nDieser muss zuerst beendet werden.\n");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(toldWhenClosed, 1u);
}

TEST_F(ActualRunWindowTest, ReceivedDataWindowIsShownAndHiddenByItsButton)
{
    open(DisplayMode::RunKvx);
    click("ButtonDrFenster");
    EXPECT_FALSE(w->receivedDataWindow()->isVisible());
    EXPECT_EQ(get("ButtonDrFenster")->text(), "Einblenden");
    click("ButtonDrFenster");
    EXPECT_TRUE(w->receivedDataWindow()->isVisible());
    EXPECT_EQ(get("ButtonDrFenster")->text(), "Ausblenden");
    w->receivedDataWindow()->close();  // its own close box
    EXPECT_EQ(get("ButtonDrFenster")->text(), "Einblenden");
}

TEST_F(ActualRunWindowTest, LeavingAsksForTheNamesAndSavesTheRun)
{
    open(DisplayMode::RunKvx);
    receive(30);
    prompt.answers = {PromptAnswer::Yes};  // edit the names; then create the file
    const QString path = tmp.filePath("DrIst1.DRI");
    QString openedIn;
    whenModal([&](QWidget *editor) {
        auto *names = qobject_cast<TFormGrpBez *>(editor);
        ASSERT_TRUE(names);
        names->field(0, 0)->setText("K1 West");
        chooseInFileDialog(path, &openedIn);
        names->ButtonOkClick();
    });
    click("DruckNicht");
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, "Gruppenbezeichnungen editieren ?");
    EXPECT_EQ(prompt.asked[0].caption, "Bitte angeben");
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(prompt.asked[1].text, path + "\nDiese Datei ist nicht vorhanden.\nMöchten Sie sie erstellen?");
    EXPECT_EQ(prompt.asked[1].caption, "Druck Ist Daten speichern");
    EXPECT_EQ(openedIn, tmp.path());
    const QByteArray file = readBytes(path);
    EXPECT_EQ(file.size(), 3341 + 124 * 30);
    EXPECT_EQ(file.mid(124, 10), "K1 West   ");
    EXPECT_TRUE(closed);
    EXPECT_FALSE(printer.isOpen());
    EXPECT_EQ(printCommandSent(), 3);
}

TEST_F(ActualRunWindowTest, ACancelledSaveWritesNothingAndAFailedOneIsOfferedAgain)
{
    open(DisplayMode::RunKvx);
    receive(10);
    prompt.answers = {PromptAnswer::No, PromptAnswer::No};  // no names; do not replace
    const QString taken = tmp.filePath("DrIst1.DRI");
    ASSERT_TRUE(writeBytes(taken, "alt"));
    chooseFiles({taken, ""});
    click("DruckNicht");
    EXPECT_EQ(prompt.texts(), QStringList({"Gruppenbezeichnungen editieren ?",
                                           "DrIst1.DRI ist bereits vorhanden.\nMöchten Sie sie ersetzen?"}));
    EXPECT_EQ(readBytes(taken), "alt");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList({"DrIst1.DRI"}));
    EXPECT_TRUE(closed);

    // A file that cannot be written: the reason, and the dialog again.
    prompt.asked.clear();
    open(DisplayMode::RunKvx);
    fed = 0;
    receive(10);
    prompt.answers = {PromptAnswer::No};
    const QString locked = tmp.filePath("gesperrt");
    ASSERT_TRUE(QDir(tmp.path()).mkdir("gesperrt"));
    const auto readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(locked, readOnly));
    ASSERT_TRUE(QFile::setPermissions(tmp.path(), readOnly | QFile::WriteOwner | QFile::WriteOther));
    const QString good = tmp.filePath("Lauf.DRI");
    chooseFiles({locked + "/DrIst1.DRI", good});
    {
        const FileAccessAsNobody nobody;
        click("DruckNicht");
    }
    ASSERT_EQ(prompt.asked.size(), 4u);
    EXPECT_TRUE(prompt.asked[2].text.startsWith("Die Datei DrIst1.DRI kann nicht angelegt werden"));
    EXPECT_TRUE(prompt.asked[2].text.endsWith("\nBitte eine andere Datei wählen !"));
    EXPECT_EQ(prompt.asked[2].caption, "Fehler");
    EXPECT_EQ(readBytes(good).size(), 3341 + 124 * 10);
    EXPECT_TRUE(closed);
}

TEST_F(ActualRunWindowTest, ALostPortKeepsTheRunForSaving)
{
    ctx.settings.AskSaveCapture = 1;
    open(DisplayMode::RunQsw);
    receive(20);
    printer.vanished = true;
    w->ScanDataTimer();
    w->ScanDataTimer();
    ASSERT_TRUE(told(1));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Die Verbindung zur Druckerschnittstelle ist unterbrochen !\n"
                                    "Der Empfang ist beendet, die bisher empfangenen Daten bleiben erhalten.");
    EXPECT_EQ(prompt.asked[0].caption, "Zugriffsfehler");
    EXPECT_EQ(w->chart().Rows.size(), 20u);
    // Every row received before the adapter went is saved.
    const QString path = tmp.filePath("Abbruch.DRI");
    prompt.answers = {PromptAnswer::No, PromptAnswer::Yes};  // names as they are; create the file
    chooseFiles({path});
    click("DruckNicht");
    EXPECT_EQ(prompt.texts().value(1), "Gruppenbezeichnungen editieren ?");
    EXPECT_EQ(readBytes(path).size(), 3341 + 124 * 20);
    EXPECT_TRUE(closed);
}

TEST_F(ActualRunWindowTest, WithoutTheSaveSettingLeavingClosesAtOnce)
{
    ctx.settings.AskSaveCapture = 0;
    open(DisplayMode::RunKvx);
    receive(5);
    click("DruckNicht");
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(closed);
}

TEST_F(ActualRunWindowTest, ARunFromTheSimulationProgramsFiles)
{
    open(DisplayMode::RunSimulation);
    EXPECT_EQ(w->windowTitle(), "Drucker Vorschau grafisch Ist-Druck Simulation - Erwarte Daten");
    EXPECT_FALSE(get<QLabel>("ShapeEmpfang")->isVisible() || get("ButtonDrFenster")->isVisible()
                 || w->receivedDataWindow()->isVisible());
    const auto write = [&](int number, const QByteArray &text, int secondsAhead) {
        QFile f(QDir(tmp.path()).filePath(QStringLiteral("D%1.ist").arg(number)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        f.flush();
        ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(secondsAhead),
                                  QFileDevice::FileModificationTime));
    };
    // The simulation program names its program file with the file's path.
    QByteArray header;
    for (const QByteArray &l : transcript.mid(0, transcript.indexOf(" Gruppe  1  2  3  4  5  6  7  8") + 1))
        header += (l.startsWith("        Programmname") ? placeAt(l, 25, "C:\\SIM\\SCHULW01.PRG") : l) + "\n";
    write(0, header, 4);
    w->ScanDataTimer();
    EXPECT_EQ(w->windowTitle(), "Drucker Vorschau Ist-Druck Simulation - SCHULW01");
    EXPECT_TRUE(printButtonsEnabled());
    write(1, dataLine('3', {" Gr", " R "}) + "\n", 6);
    w->ScanDataTimer();
    EXPECT_EQ(w->chart().Rows.size(), 1u);
    EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelProg")}), QStringList({"2 von 2", "3"}));
    EXPECT_FALSE(QFile::exists(tmp.filePath("D1.ist")));
}

TEST_F(ActualRunWindowTest, ASimulationAlreadyRunningIsToldAndTheCaptureWaitsForIt)
{
    open(DisplayMode::RunSimulation);
    QFile data(QDir(tmp.path()).filePath("D1.ist"));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.write(dataLine('1', {" Gr"}) + "\n");
    data.flush();
    ASSERT_TRUE(data.setFileTime(QDateTime::currentDateTime().addSecs(4), QFileDevice::FileModificationTime));
    data.close();
    bool tickingWhileOpen = true;
    prompt.onAsk = [&] { tickingWhileOpen = w->captureTimer()->isActive(); };
    w->ScanDataTimer();
    ASSERT_TRUE(told(1));
    EXPECT_EQ(prompt.texts(), QStringList({"Es ist noch ein Druckvorgang aktiv!\nDieser muss zuerst beendet werden.\n"}));
    EXPECT_FALSE(tickingWhileOpen);  // so the message is shown once
    EXPECT_TRUE(w->captureTimer()->isActive());
    EXPECT_FALSE(closed);
}

TEST_F(ActualRunWindowTest, AReceivedRunPrintsWithItsProgramChanges)
{
    open(DisplayMode::RunKvx);
    receive(150);
    click("DruckAlles");
    ASSERT_EQ(pdf->jobs.size(), 1);
    EXPECT_EQ(pdfPageCount(pdf->jobs[0]), 3);
    EXPECT_EQ(pdfFooter(pdf->jobs[0], 1), "Seite 1 von 3 Seiten (Ist-Druck, KVX), SCHULW01");
    EXPECT_FALSE(pdfText(pdf->jobs[0], 2).contains("->P"));
    EXPECT_TRUE(pdfText(pdf->jobs[0], 3).contains("->P2"));  // program 2 from second 140
}

TEST_F(ActualRunWindowTest, ASavedRunShowsItsPagesAndPrints)
{
    open(DisplayMode::RunFromFile, kExampleRun);
    EXPECT_EQ(w->windowTitle(), "Drucker Vorschau Ist-Druck aus Datei Hauptstrasse-Schulweg-KVX900.DRI - SCHULW01");
    EXPECT_EQ(text("LabelSeite"), "1 von 4");
    EXPECT_FALSE(get<QLabel>("ShapeEmpfang")->isVisible() || get("ButtonDrFenster")->isVisible());
    EXPECT_FALSE(w->captureTimer()->isActive());
    EXPECT_TRUE(printButtonsEnabled());
    EXPECT_NE(fieldText(ctx.data.GroupNames[0]), "");  // the file's names
    click("ButtonLetzteSeite");
    EXPECT_EQ(text("LabelSeite"), "4 von 4");

    click("DruckAlles");
    ASSERT_EQ(pdf->jobs.size(), 1);
    EXPECT_EQ(pdfPageCount(pdf->jobs[0]), 4);
    EXPECT_EQ(pdfFooter(pdf->jobs[0], 4),
              "Seite 4 von 4 Seiten (Ist-Druck, Datei Hauptstrasse-Schulweg-KVX900.DRI), SCHULW01");
    click("DruckNicht");
    EXPECT_TRUE(prompt.asked.empty());  // a saved run is not offered for saving

    // A file of an impossible size is refused with its reason.
    const QString broken = tmp.filePath("kaputt.DRI");
    ASSERT_TRUE(writeBytes(broken, QByteArray(3340, '\0')));
    w = std::make_unique<TFGrafik>(ctx, prompt, std::make_unique<PdfFilePrinter>(tmp.path()));
    EXPECT_FALSE(w->ShowActualRun(DisplayMode::RunFromFile, broken));
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Die Datei kaputt.DRI ist keine Ist-Druck-Datei !\nEine Ist-Druck-Datei kann nicht 3340 Bytes groß sein.");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
}

}  // namespace
