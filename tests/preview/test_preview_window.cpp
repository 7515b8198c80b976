// TFGrafik as a user sees it: what it adds to the paging rules, the capture and leaving.

#include "actual/capturerig.h"
#include "actual/streamlines.h"
#include "base/exceptionreport.h"
#include "data/groupnameseditor.h"
#include "data/textfield.h"
#include "modaldialogs.h"
#include "pdffileprinter.h"
#include "pdfpages.h"
#include "preview/previewwindow.h"
#include "preview/printrun.h"
#include "preview/receiveddatawindow.h"
#include "render/datasetchart.h"
#include "previewcharts.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "tempdir.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct PreviewWindowTest : ::testing::Test {
    QTemporaryDir tmp;
    CaptureRig rig;  // the program's state, and the ports and the link a run comes in on
    AppContext &ctx = rig.ctx;
    ScriptedPrompt prompt;
    PdfFilePrinter *printer = nullptr;
    std::unique_ptr<TFGrafik> w;
    QList<QByteArray> transcript = transcriptLines(kKvxTranscript);
    int fed = 0;  // transcript lines sent so far
    bool closed = false;
    size_t toldWhenClosed = 0;  // messages shown before the window closed

    void SetUp() override
    {
        ctx.ControllerFamily = ControllerFamily::Kvx;
        ctx.settings.ActualRunDir = ctx.settings.SimulatorWorkDir = tmp.path();
    }
    void create()
    {
        auto p = std::make_unique<PdfFilePrinter>(tmp.path());
        printer = p.get();
        w = std::make_unique<TFGrafik>(ctx, prompt, std::move(p), CapturePorts{&rig.printer, &rig.controller, &rig.link});
        QObject::connect(w.get(), &TFGrafik::closed, [this] {
            closed = true;
            toldWhenClosed = prompt.asked.size();
        });
    }
    // The target plan of a data set whose program 1 runs `cycle` seconds, in the active window.
    void openPlan(int cycle)
    {
        ctx.data = previewInstallation(cycle);
        ctx.InstallationName = QStringLiteral("Beispiel");
        create();
        ASSERT_TRUE(w->OpenTargetChart(1, DisplayMode::TargetPlan));
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void openRun(DisplayMode mode, const QString &file = QString())
    {
        rig.printer.open();  // the printer-stream port the main window opens
        create();
        w->show();
        ASSERT_TRUE(w->ShowActualRun(mode, file));
    }
    template <class T = QPushButton> T *get(const char *name) const
    {
        T *widget = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    QString text(const char *label) const { return get<QLabel>(label)->text(); }
    void click(const char *button) { QTest::mouseClick(get<QAbstractButton>(button), Qt::LeftButton); }
    void clickImage(int offset)
    {
        QTest::mouseClick(get<QWidget>("Image"), Qt::LeftButton, {}, QPoint(w->metrics().SecondX(offset), 300));
    }
    // Types into the copies field and leaves it with Tab.
    void enterCopies(const QString &copies)
    {
        get<QLineEdit>("MemoKopie")->setFocus();
        get<QLineEdit>("MemoKopie")->setText(copies);
        QTest::keyClick(get<QLineEdit>("MemoKopie"), Qt::Key_Tab);
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
    bool printButtonsEnabled() const
    {
        return get("DruckAlles")->isEnabled() && get("DruckAuswahl")->isEnabled() && get("DruckAktuell")->isEnabled();
    }
    void line(const QByteArray &text)
    {
        rig.printer.inject(text + "\r\n");
        w->ScanDataTimer();
    }
    // Feeds the transcript until the run has `seconds` rows.
    void receive(int seconds)
    {
        while (w->capture().RowCount() < seconds && fed < transcript.size())
            line(transcript[fed++]);
        ASSERT_EQ(w->capture().RowCount(), seconds);
    }
    bool told() { return QTest::qWaitFor([&] { return !prompt.asked.empty(); }); }
};

TEST_F(PreviewWindowTest, PagingMovesTheCursorLineAndRedraws)
{
    openPlan(250);
    EXPECT_EQ(w->windowTitle(), w->chart().WindowCaption);
    EXPECT_EQ(QStringList({text("LabelMesspunkt"), text("LabelAbstand"), text("LabelSeite"), text("LabelPos"),
                           text("LabelProg"), get<QLineEdit>("MemoKopie")->text()}),
              QStringList({"0 s", "----", "1 von 4", "----", "1", "1"}));
    EXPECT_FALSE(get("ButtonMesspunkt")->isVisible() || get("BitBtnMessAus")->isVisible()
                 || get<QWidget>("PanelPos")->isVisible() || get("ButtonSeiteZurueck")->isEnabled()
                 || get("BitBtnMessEin")->isEnabled());
    EXPECT_TRUE(get("BitBtnMessEin")->isVisible() && get("ButtonLetzteSeite")->isEnabled());
    EXPECT_TRUE(get("DruckNicht")->hasFocus());
    EXPECT_TRUE(get("ButtonSVor")->autoRepeat() && get("ButtonSZurueck")->autoRepeat());  // repeat while held

    // Each button moves the view; the cursor line stands at the cursor's second.
    const struct {
        const char *button;
        int clickAt;  // the second of the page clicked after it, or -1
        const char *page, *pos;
        int cursorOffset;
    } steps[] = {{"ButtonSeiteVor", -1, "2 von 4", "0 s", 0},      {nullptr, 60, "2 von 4", "60 s", 60},
                 {"ButtonHSeiteVor", -1, "2 von 4", "60 s", 10},  {"ButtonSVor", -1, "2 von 4", "61 s", 11},
                 {"ButtonSZurueck", -1, "2 von 4", "60 s", 10},   {"ButtonHSeiteZurueck", -1, "2 von 4", "60 s", 60},
                 {"ButtonSeiteVor", -1, "3 von 4", "100 s", 0},   {"ButtonSeiteZurueck", -1, "2 von 4", "0 s", 0},
                 {"ButtonLetzteSeite", -1, "4 von 4", "200 s", 0}};
    for (const auto &s : steps) {
        if (s.button)
            click(s.button);
        if (s.clickAt >= 0)
            clickImage(s.clickAt);
        EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelPos")}), QStringList({s.page, s.pos})) << s.pos;
        EXPECT_EQ(get<QWidget>("PanelPos")->x(), w->metrics().SecondX(s.cursorOffset)) << s.pos;
    }
    click("ButtonSeite1");
    EXPECT_FALSE(get<QWidget>("PanelPos")->isVisible());
    click("ButtonSeiteVor");
    EXPECT_TRUE(columnShows(20, PlanColour::Green) && !columnShows(20, PlanColour::Red));  // green 10 to 40
    click("ButtonHSeiteVor");
    EXPECT_TRUE(columnShows(20, PlanColour::Red) && !columnShows(20, PlanColour::Green));  // second 70
    click("CheckPrint");
    EXPECT_EQ(w->paging().PageSelected()[1], 1);

    // The measuring point: shown, set at the cursor, drawn, and hidden again.
    const PlanMetrics &m = w->metrics();
    const QPoint onLine(m.SecondX(30), m.LeftMargin + m.LineStep() + 2 * m.BarHeight + m.RowPitch() - 3);
    click("BitBtnMessEin");
    EXPECT_TRUE(get("ButtonMesspunkt")->isVisible() && get<QLabel>("LabelAbstand")->isVisible()
                && !get("BitBtnMessEin")->isVisible());
    clickImage(30);
    click("ButtonMesspunkt");
    EXPECT_EQ(text("LabelMesspunkt"), "80 s");
    EXPECT_EQ(w->image().pixelColor(onLine), QColor(255, 0, 0));  // just above a bar: only the line is red
    clickImage(10);
    EXPECT_EQ(text("LabelAbstand"), "230 s");
    click("BitBtnMessAus");
    EXPECT_TRUE(!get("ButtonMesspunkt")->isVisible() && get("BitBtnMessEin")->isVisible());
    EXPECT_NE(w->image().pixelColor(onLine), QColor(255, 0, 0));
}

// What the paging keys and buttons act on, and the print run of "Aktuelle".
auto pagingState(const TFGrafik &w)
{
    const PreviewPaging &p = w.paging();
    return std::tuple(p.CurrentPage(), p.PageStartSecond(), p.CursorOffset(), p.MeasuringPoint(), p.MeasuringShown(),
                      p.PageSelected(), p.PagePrintFlags());
}

TEST_F(PreviewWindowTest, EachKeyActsAsItsButton)
{
    openPlan(450);
    std::unique_ptr<TFGrafik> keysWindow = std::move(w);
    openPlan(450);  // the buttons' window
    std::swap(keysWindow, w);
    QApplication::setActiveWindow(keysWindow.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(keysWindow.get()));
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char *button;
    } steps[] = {{Qt::Key_PageDown, {}, "ButtonSeiteVor"},           {Qt::Key_Right, {}, "ButtonSVor"},
                 {Qt::Key_Right, {}, "ButtonSVor"},                  {Qt::Key_PageDown, Qt::ShiftModifier, "ButtonHSeiteVor"},
                 {Qt::Key_Left, {}, "ButtonSZurueck"},               {Qt::Key_M, {}, "ButtonMesspunkt"},
                 {Qt::Key_Space, {}, "CheckPrint"},                  {Qt::Key_P, Qt::ControlModifier, "DruckAktuell"},
                 {Qt::Key_End, {}, "ButtonLetzteSeite"},             {Qt::Key_PageUp, Qt::ShiftModifier, "ButtonHSeiteZurueck"},
                 {Qt::Key_PageUp, {}, "ButtonSeiteZurueck"},         {Qt::Key_Home, {}, "ButtonSeite1"}};
    for (const auto &step : steps) {
        if (step.key == Qt::Key_M)  // the button is shown first
            click("BitBtnMessEin");
        QTest::keyClick(keysWindow.get(), step.key, step.modifiers);
        click(step.button);
        EXPECT_EQ(pagingState(*keysWindow), pagingState(*w)) << step.button;
    }
    EXPECT_EQ(printer->jobs.size(), 1);
    keysWindow->findChild<QPushButton *>("ButtonSeiteVor")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);  // the focused button
    EXPECT_EQ(keysWindow->paging().CurrentPage(), 2);
    // Held, Right steps as a held ">" does: on after a pause, until released.
    QTest::keyPress(keysWindow.get(), Qt::Key_Right);
    EXPECT_TRUE(QTest::qWaitFor([&] { return keysWindow->paging().CursorOffset() >= 3; }));
    QTest::keyRelease(keysWindow.get(), Qt::Key_Right);
    const int released = keysWindow->paging().CursorOffset();
    QTest::qWait(100);
    EXPECT_EQ(keysWindow->paging().CursorOffset(), released);
    keysWindow->close();
}

// Resized or zoomed, the image follows and the view stays as it was.
TEST_F(PreviewWindowTest, TheImageFollowsTheWindowAndTheZoom)
{
    openPlan(250);
    click("ButtonSeiteVor");
    click("ButtonSeiteVor");
    clickImage(37);
    click("BitBtnMessEin");
    clickImage(43);
    click("CheckPrint");
    const auto before = pagingState(*w);
    auto *scroll = get<QScrollArea>("ScrollBox");
    w->resize(1600, 900);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->image().width() > 1500; }));
    const int fit = w->image().width();
    EXPECT_TRUE(fit <= scroll->viewport()->width() && fit > scroll->viewport()->width() - 24);
    EXPECT_EQ(w->metrics().Width, fit);
    EXPECT_EQ(pagingState(*w), before);
    EXPECT_EQ(text("LabelPos"), "143 s");
    // The cursor line where the new metric set puts its second, just above the first bar.
    const PlanMetrics &m = w->metrics();
    const QPoint onCursor(m.SecondX(43), m.LeftMargin + m.LineStep() + 2 * m.BarHeight + m.RowPitch() - 3);
    EXPECT_EQ(get<QWidget>("Image")->grab().toImage().pixelColor(onCursor), QColor(Qt::black));
    EXPECT_NE(w->image().pixelColor(onCursor), QColor(Qt::black));

    for (int step = 0; step < 3; ++step)
        QTest::keyClick(w.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(std::pair(w->zoom(), w->image().width()), std::pair(200, 2 * fit));
    EXPECT_TRUE(QTest::qWaitFor([&] { return scroll->horizontalScrollBar()->isVisible(); }));
    QWheelEvent wheel(QPointF(10, 10), QPointF(), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(scroll->viewport(), &wheel);
    EXPECT_EQ(w->zoom(), 150);
    QTest::keyClick(w.get(), Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(w->image().width(), fit);
    EXPECT_EQ(pagingState(*w), before);

    // The next preview opens where this one was.
    w->setGeometry(4, 40, 792, 520);  // within the offscreen screen of 800 x 600
    w->close();
    create();
    EXPECT_EQ(w->geometry(), QRect(4, 40, 792, 520));
}

// The wheel scrolls the page; where it cannot scroll on, it pages.
TEST_F(PreviewWindowTest, TheWheelPagesAtTheEndOfThePage)
{
    openPlan(250);
    auto *scroll = get<QScrollArea>("ScrollBox");
    QScrollBar *bar = scroll->verticalScrollBar();
    const auto turn = [&](int angle) {
        QWheelEvent wheel(QPointF(10, 10), QPointF(), QPoint(), QPoint(0, angle), Qt::NoButton, {}, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(scroll->viewport(), &wheel);
        return std::pair(w->paging().CurrentPage(), bar->value());
    };
    EXPECT_EQ(turn(-120).first, 1);  // scrolled
    EXPECT_GT(bar->value(), 0);
    bar->setValue(bar->maximum());
    EXPECT_EQ(turn(-120), std::pair(2, 0));  // the next page from its top
    EXPECT_EQ(turn(120), std::pair(1, bar->maximum()));
}

TEST_F(PreviewWindowTest, CopiesAreCheckedWhenTheFieldIsLeft)
{
    openPlan(250);
    auto *memo = get<QLineEdit>("MemoKopie");
    enterCopies(QStringLiteral("0"));
    enterCopies(QString());
    EXPECT_EQ(prompt.asked.size(), 2u);  // the number check's messages
    EXPECT_TRUE(QTest::qWaitFor([&] { return memo->hasFocus(); }));
    EXPECT_EQ(w->copies(), 1);
    enterCopies(QStringLiteral("9"));
    EXPECT_EQ(w->copies(), 9);
    // The arrows wrap from 9 to 1 and back, and take no focus, so no check.
    click("UpDownKopieUp");
    EXPECT_EQ(memo->text(), "1");
    click("UpDownKopieDown");
    click("UpDownKopieDown");
    EXPECT_EQ(QList<int>({w->copies(), int(prompt.asked.size())}), QList<int>({8, 2}));
    // The arrows start at a number typed but not yet checked, or at the last count.
    memo->setText(QStringLiteral("5"));
    click("UpDownKopieUp");
    EXPECT_EQ(w->copies(), 6);
    memo->setText(QStringLiteral("x"));
    click("UpDownKopieUp");
    EXPECT_EQ(w->copies(), 7);
}

TEST_F(PreviewWindowTest, PrintButtonsPrintTheirPagesOnceEachCopy)
{
    openPlan(250);
    click("DruckAlles");
    EXPECT_EQ(printer->documentName, PrintDocumentName(w->chart()));
    ASSERT_EQ(printer->jobs.size(), 1);
    EXPECT_EQ(pdfPageCount(printer->jobs[0]), 4);
    click("DruckAuswahl");  // nothing ticked: no job
    EXPECT_EQ(QList<int>({printer->setUps, int(printer->jobs.size())}), QList<int>({2, 1}));

    click("ButtonSeiteVor");
    click("ButtonSeiteVor");
    click("CheckPrint");
    enterCopies(QStringLiteral("3"));
    click("DruckAuswahl");
    ASSERT_EQ(printer->jobs.size(), 4);
    for (const QString &job : printer->jobs.mid(1))
        EXPECT_TRUE(pdfText(job, 1).contains(QStringLiteral("Seite 3 von 4 Seiten"))) << qPrintable(job);
    EXPECT_EQ(get<QLineEdit>("MemoKopie")->text(), "1");

    enterCopies(QStringLiteral("2"));
    printer->accept = false;
    click("DruckAktuell");
    EXPECT_EQ(QList<int>({int(printer->jobs.size()), w->copies(), int(prompt.asked.size())}), QList<int>({4, 2, 0}));
}

// A refused job keeps the copies and is reported as the printer's or the file's.
TEST_F(PreviewWindowTest, PrinterFailuresAreReported)
{
    openPlan(250);
    enterCopies(QStringLiteral("2"));
    printer->refuse = true;
    click("DruckAlles");
    const PrinterError busy;
    EXPECT_EQ(prompt.texts(), QStringList({exceptionMessage(&busy).text}));
    EXPECT_EQ(w->copies(), 2);
    EXPECT_EQ(w->paging().PagePrintFlags(), (PageFlags{1, 1, 1, 1}));
    printer->file = QStringLiteral("/kein/ordner/plan.pdf");
    click("DruckAktuell");
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(QStringList({prompt.asked[1].text, prompt.asked[1].caption}),
              QStringList({"Die Datei /kein/ordner/plan.pdf\nkann nicht geschrieben werden !", "Fehler"}));
}

TEST_F(PreviewWindowTest, AKvxRunGrowsSecondBySecondTurnsPagesAndIsClearedByTheNextPrintout)
{
    openRun(DisplayMode::RunKvx);
    EXPECT_TRUE(get<QLabel>("ShapeEmpfang")->isVisible() && w->captureTimer()->isActive());
    EXPECT_FALSE(printButtonsEnabled() || get("ButtonSeiteVor")->isEnabled());
    // The received-data window: shown and hidden by its button and by its own close box.
    const auto dataWindow = [&] {
        return get("ButtonDrFenster")->text() + (w->receivedDataWindow()->isVisible() ? ", shown" : "");
    };
    EXPECT_EQ(dataWindow(), "Ausblenden, shown");
    const QRect buttons(get<QWidget>("Panel")->mapToGlobal(QPoint()), get<QWidget>("Panel")->size());
    EXPECT_FALSE(w->receivedDataWindow()->frameGeometry().intersects(buttons));
    click("ButtonDrFenster");
    EXPECT_EQ(dataWindow(), "Einblenden");
    click("ButtonDrFenster");
    EXPECT_EQ(dataWindow(), "Ausblenden, shown");
    w->receivedDataWindow()->close();
    EXPECT_EQ(dataWindow(), "Einblenden");

    // The lamp is green while characters wait at the port.
    rig.printer.inject(transcript[0] + "\r\n" + transcript[1] + "\r\n");
    w->ScanDataTimer();
    const auto lamp = [&] { return get<QLabel>("ShapeEmpfang")->pixmap().toImage().pixelColor(8, 8); };
    EXPECT_EQ(lamp(), QColor(Qt::green));
    w->ScanDataTimer();
    w->ScanDataTimer();
    EXPECT_EQ(lamp(), QColor(Qt::white));
    fed = 2;
    // The header: the received-data window and the caption show the capture's.
    while (!w->capture().dataPhase())
        line(transcript[fed++]);
    EXPECT_EQ(w->receivedDataWindow()->text().split('\n'), w->capture().receivedLines());
    EXPECT_FALSE(printButtonsEnabled());

    receive(1);
    EXPECT_EQ(w->windowTitle(), w->capture().caption());
    EXPECT_TRUE(printButtonsEnabled() && get<QWidget>("PanelPos")->isVisible());
    EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelPos"), text("LabelProg")}),
              QStringList({"2 von 2", "0 s", "1"}));
    EXPECT_FALSE(columnShows(5, PlanColour::Green));
    receive(6);  // group 1 turns green at second 5
    EXPECT_TRUE(columnShows(5, PlanColour::Green) && !columnShows(50, PlanColour::Green));
    receive(100);
    EXPECT_EQ(text("LabelSeite"), "2 von 2");
    receive(101);  // page 2 is full: the view follows
    EXPECT_EQ(QStringList({text("LabelSeite"), QString::number(w->paging().PageStartSecond())}),
              QStringList({"3 von 3", "100"}));

    // Paged elsewhere, the view stays; "Prog:" shows the program at the cursor.
    receive(150);
    click("ButtonSeiteZurueck");
    receive(201);
    EXPECT_EQ(QStringList({text("LabelSeite"), QString::number(w->paging().PageStartSecond())}),
              QStringList({"2 von 4", "0"}));
    click("ButtonSeiteZurueck");  // the overview page: the last second's program
    EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelProg")}), QStringList({"1 von 4", "2"}));
    click("ButtonSeiteVor");
    clickImage(30);
    EXPECT_EQ(QStringList({text("LabelPos"), text("LabelProg")}), QStringList({"30 s", "1"}));
    click("ButtonLetzteSeite");
    clickImage(90);  // beyond the run: its last second
    EXPECT_EQ(QStringList({text("LabelPos"), text("LabelProg")}), QStringList({"290 s", "2"}));
    EXPECT_TRUE(prompt.asked.empty());

    // A new printout clears the view.
    click("CheckPrint");
    line("Neuer Druck:");
    ASSERT_EQ(w->capture().RowCount(), 0);
    EXPECT_EQ(QStringList({text("LabelSeite"), text("LabelPos"), text("LabelProg"), text("LabelMesspunkt"),
                           text("LabelAbstand")}),
              QStringList({"", "", "", "0 s", "----"}));
    EXPECT_FALSE(get<QWidget>("PanelPos")->isVisible() || get<QCheckBox>("CheckPrint")->isChecked()
                 || printButtonsEnabled());
    EXPECT_EQ(w->paging().PageSelected(), PageFlags{});
    EXPECT_FALSE(columnShows(5, PlanColour::Green) || columnShows(5, PlanColour::Red));
}

TEST_F(PreviewWindowTest, ACaptureThatGivesUpIsToldThenTheWindowClosesAndStopsTheController)
{
    openRun(DisplayMode::RunKvx);
    for (int tick = 0; tick < 100 && w->capture().running(); ++tick) {
        w->ScanDataTimer();
        rig.printCommandSent();  // the controller answers the start request, and prints nothing
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed; }));
    ASSERT_EQ(prompt.texts(), QStringList({kNoDataMessage}));
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_EQ(toldWhenClosed, 1u);  // the message first, then the window closes
    EXPECT_FALSE(rig.printer.isOpen() || w->receivedDataWindow()->isVisible());
    EXPECT_EQ(rig.printCommandSent(), 3);
}

TEST_F(PreviewWindowTest, ClosingDuringThePrinterDialogWaitsUntilItIsGone)
{
    openRun(DisplayMode::RunKvx);
    receive(5);
    bool closedWhileOpen = true;
    printer->whileOpen = [&] {
        // The timer goes on: a printout whose header was missed; the dialog shows the message.
        line("Neuer Druck:");
        line(dataLine('1', {" R ", " Gr"}));
        EXPECT_TRUE(told());
        closedWhileOpen = closed;
    };
    click("DruckAlles");
    EXPECT_EQ(prompt.texts(), QStringList({kPrintoutActiveMessage}));
    EXPECT_TRUE(!closedWhileOpen && closed && printer->jobs.isEmpty());
}

TEST_F(PreviewWindowTest, LeavingOpensTheNamesEditorAndTheSaveDialog)
{
    openRun(DisplayMode::RunKvx);
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
    EXPECT_EQ(prompt.asked[1].text, path + "\nDiese Datei ist nicht vorhanden.\nMöchten Sie sie erstellen?");
    EXPECT_EQ(prompt.asked[1].caption, "Druck Ist Daten speichern");
    EXPECT_EQ(openedIn, tmp.path());
    EXPECT_EQ(readBytes(path).mid(124, 10), "K1 West   ");
}

TEST_F(PreviewWindowTest, ARefusedReplaceGoesBackToTheDialog)
{
    openRun(DisplayMode::RunKvx);
    receive(10);
    prompt.answers = {PromptAnswer::No, PromptAnswer::No};  // no names; do not replace
    const QString taken = tmp.filePath("DrIst1.DRI");
    ASSERT_TRUE(writeBytes(taken, "alt"));
    chooseInFileDialog(taken);
    prompt.onAsk = [&] {  // after "do not replace" the dialog comes again: cancelled
        if (prompt.asked.size() == 2)
            chooseInFileDialog(QString());
    };
    QApplication::setActiveWindow(w.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_Escape);  // as "Beenden"
    EXPECT_EQ(prompt.texts().value(1), "DrIst1.DRI ist bereits vorhanden.\nMöchten Sie sie ersetzen?");
    EXPECT_EQ(readBytes(taken), "alt");
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList({"DrIst1.DRI"}));
    EXPECT_TRUE(closed);
}

TEST_F(PreviewWindowTest, ALostPortIsToldAndTheRunStays)
{
    openRun(DisplayMode::RunQsw);
    receive(20);
    rig.printer.vanished = true;
    w->ScanDataTimer();
    ASSERT_TRUE(told());
    EXPECT_EQ(QStringList({prompt.asked[0].text, prompt.asked[0].caption}),
              QStringList({kPortLostMessage, "Zugriffsfehler"}));
    EXPECT_TRUE(!w->captureTimer()->isActive() && !closed && printButtonsEnabled());
    EXPECT_EQ(w->chart().Rows.size(), 20u);
}

// No port to watch: no lamp, no received data; the message, while the timer waits, comes once.
TEST_F(PreviewWindowTest, ASimulationAlreadyRunningIsToldOnceAndTheCaptureWaitsForIt)
{
    openRun(DisplayMode::RunSimulation);
    EXPECT_FALSE(get<QLabel>("ShapeEmpfang")->isVisible() || get("ButtonDrFenster")->isVisible()
                 || w->receivedDataWindow()->isVisible());
    ASSERT_TRUE(writeSimFile(tmp.path(), 1, dataLine('1', {" Gr"}) + "\n", QDateTime::currentDateTime().addSecs(4)));
    bool tickingWhileOpen = true;
    prompt.onAsk = [&] { tickingWhileOpen = w->captureTimer()->isActive(); };
    w->ScanDataTimer();
    ASSERT_TRUE(told());
    EXPECT_EQ(prompt.texts(), QStringList({kPrintoutActiveMessage}));
    EXPECT_TRUE(!tickingWhileOpen && w->captureTimer()->isActive() && !closed);
}

TEST_F(PreviewWindowTest, ASavedRunShowsItsPagesWithoutCapturing)
{
    openRun(DisplayMode::RunFromFile, SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI");
    EXPECT_EQ(w->windowTitle(), w->chart().WindowCaption);
    EXPECT_EQ(text("LabelSeite"), "1 von 4");
    EXPECT_FALSE(get<QLabel>("ShapeEmpfang")->isVisible() || get("ButtonDrFenster")->isVisible()
                 || w->captureTimer()->isActive());
    EXPECT_NE(fieldText(ctx.data.GroupNames[0]), "");  // the file's names
}

}  // namespace

// With a plan at hand a run offers "Soll/Ist": ticked, the window draws the
// bands and names the cursor's share and cycle second, and follows a live run.
TEST_F(PreviewWindowTest, SollIstComparesTheRunWithThePlanAtHand)
{
    openRun(DisplayMode::RunKvx);
    EXPECT_FALSE(get<QWidget>("CheckSollIst")->isVisible());
    w->close();
    InstallationData plan;
    loadDataSetAsAtStartup(plan, QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg"));
    ctx.PlanToCompare = plan;
    openRun(DisplayMode::RunFromFile,
            QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900-Pfeil.DRI"));
    click("CheckSollIst");
    click("ButtonSeiteVor");
    click("ButtonSeiteVor");  // seconds 100-199: the arrow's 110-112 differ
    clickImage(5);
    EXPECT_EQ(text("LabelSollIst"), QStringLiteral("Soll/Ist 99,7 %, Tx 35"));
    EXPECT_TRUE(columnShows(11, PlanColour::Deviation) && !columnShows(14, PlanColour::Deviation));
    click("CheckSollIst");
    EXPECT_FALSE(w->chart().Comparison || columnShows(11, PlanColour::Deviation));
    w->close();

    openRun(DisplayMode::RunKvx);
    receive(30);
    click("CheckSollIst");
    receive(75);
    const StretchComparison &s = w->chart().Comparison->Stretches.at(0);
    EXPECT_EQ(std::tuple(s.LastSecond, s.EqualCells, s.CellsCompared), std::tuple(74, int64_t(600), int64_t(600)));
}
