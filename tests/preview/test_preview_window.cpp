// TFGrafik as a user sees it: its controls, captions and hints, the labels
// and the cursor line while paging, the measuring point, the copies field
// and the three print buttons printing through a PDF-file printer.

#include "context/appcontext.h"
#include "pdffileprinter.h"
#include "pdfpages.h"
#include "preview/previewwindow.h"
#include "previewcharts.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "widgettexts.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
struct PreviewWindowTest : ::testing::Test {
    QTemporaryDir tmp;
    AppContext ctx;
    ScriptedPrompt prompt;
    PdfFilePrinter *printer = nullptr;
    std::unique_ptr<TFGrafik> w;

    void create(int cycle)
    {
        ctx.data = previewInstallation(cycle);
        ctx.InstallationName = QStringLiteral("Beispiel");
        auto p = std::make_unique<PdfFilePrinter>(tmp.path());
        printer = p.get();
        w = std::make_unique<TFGrafik>(ctx, prompt, std::move(p));
    }
    void open(int cycle)
    {
        create(cycle);
        ASSERT_TRUE(w->OpenTargetChart(1, DisplayMode::TargetPlan));
        w->show();
        QApplication::setActiveWindow(w.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    template <class T = QPushButton>
    T *get(const char *name) const
    {
        T *widget = w->findChild<T *>(QString::fromLatin1(name));
        EXPECT_TRUE(widget) << name;
        return widget;
    }
    QString text(const char *label) const { return get<QLabel>(label)->text(); }
    void click(const char *button) { QTest::mouseClick(get<QAbstractButton>(button), Qt::LeftButton); }
    void clickImage(int offset)
    {
        QTest::mouseClick(get<QLabel>("Image"), Qt::LeftButton, {}, QPoint(w->metrics().SecondX(offset), 300));
    }
    // Types into the copies field and leaves it with Tab.
    void enterCopies(const QString &copies)
    {
        get<QLineEdit>("MemoKopie")->setFocus();
        get<QLineEdit>("MemoKopie")->setText(copies);
        QTest::keyClick(get<QLineEdit>("MemoKopie"), Qt::Key_Tab);
    }
    // Colour in the upper half of the first bar (a red bar has a black middle line).
    QColor barColour(int offset) const
    {
        const PlanMetrics &m = w->metrics();
        return w->image().pixelColor(m.SecondX(offset) + 2,
                                     m.LeftMargin + m.LineStep() + 2 * m.BarHeight + m.BarHeight / 4);
    }
};

TEST_F(PreviewWindowTest, ControlsCaptionsHintsAndTheFirstState)
{
    open(250);
    EXPECT_EQ(w->size(), QSize(792, 503));
    const QStringList texts = widgetTexts(w.get());
    for (const char *t : {"Messpunkt:", "Abstand Messpunkt:", "Seite:", "Position:", "Prog:", "Kopien:",
                          "Messpunkt setzen", "|<<", "<<", "1/2", "<", "Dr.", ">", ">>", ">>|", "Alle",
                          "Auswahl", "Aktuelle", "Beenden"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    const std::pair<const char *, const char *> hints[] = {
        {"ButtonSeite1", "Zur ersten Seite"}, {"ButtonSeiteZurueck", "Eine Seite zurück"},
        {"ButtonHSeiteZurueck", "Eine halbe Seite zurück"}, {"ButtonSZurueck", "1 Sekunde zurück"},
        {"ButtonSVor", "Eine Sekunde vor"}, {"ButtonHSeiteVor", "Eine halbe Seite vor"},
        {"ButtonSeiteVor", "Eine Seite vor"}, {"ButtonLetzteSeite", "Zur letzten Seite"},
        {"CheckPrint", "Seite zum Drucken auswählen"},
        {"ButtonMesspunkt", "Referenzpunkt für Zeitmessung setzen"},
        {"BitBtnMessEin", "Messpunkt einblenden"}, {"BitBtnMessAus", "Messpunkt ausblenden"},
        {"MemoKopie", "Anzahl Ausdrucke"}, {"DruckAlles", "Alle Seiten drucken"},
        {"DruckAuswahl", "Ausgewählte Seiten drucken"}, {"DruckAktuell", "Angezeigte Seite drucken"},
        {"DruckNicht", "Drucken verlassen"}};
    for (const auto &[name, hint] : hints)
        EXPECT_EQ(get<QWidget>(name)->toolTip(), QString::fromUtf8(hint)) << name;

    EXPECT_EQ(QStringList({text("LabelMesspunkt"), text("LabelAbstand"), text("LabelSeite"), text("LabelPos"),
                           text("LabelProg"), get<QLineEdit>("MemoKopie")->text()}),
              QStringList({"0 s", "----", "1 von 4", "----", "1", "1"}));
    EXPECT_FALSE(get("ButtonMesspunkt")->isVisible() || get("BitBtnMessAus")->isVisible());
    EXPECT_TRUE(get("BitBtnMessEin")->isVisible());
    EXPECT_FALSE(get<QWidget>("PanelPos")->isVisible());
    EXPECT_TRUE(get("DruckNicht")->hasFocus());
    EXPECT_FALSE(get("ButtonSeiteZurueck")->isEnabled() || get("ButtonSVor")->isEnabled()
                 || get("BitBtnMessEin")->isEnabled());
    EXPECT_TRUE(get("ButtonLetzteSeite")->isEnabled() && get("DruckAktuell")->isEnabled());
    // "<" and ">" repeat while held: after 500 ms, then every 40 ms.
    EXPECT_TRUE(get("ButtonSVor")->autoRepeat() && get("ButtonSZurueck")->autoRepeat());
    EXPECT_EQ(get("ButtonSVor")->autoRepeatDelay(), 500);
    EXPECT_EQ(get("ButtonSVor")->autoRepeatInterval(), 40);
}

TEST_F(PreviewWindowTest, CaptionNamesTheChartKindAndTheDataSet)
{
    const std::tuple<DisplayMode, const char *, const char *> captions[] = {
        {DisplayMode::TargetPlan, "Drucker Vorschau Programm - Beispiel", "Drucker Vorschau Sollplan"},
        {DisplayMode::SwitchOn, "Drucker Vorschau Einschaltprogramm - Beispiel", "Drucker Vorschau Einschaltprogramm"},
        {DisplayMode::SwitchOffTargeted, "Drucker Vorschau Ausschaltprogramm / Gezielt - Beispiel",
         "Drucker Vorschau Ausschaltprogramm / Gezielt"},
        {DisplayMode::SwitchOffFault, "Drucker Vorschau Ausschaltprogramm / Störung - Beispiel",
         "Drucker Vorschau Ausschaltprogramm / Störung"}};
    for (const auto &[kind, named, unnamed] : captions) {
        create(90);
        ASSERT_TRUE(w->OpenTargetChart(1, kind));
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(named));
        ctx.InstallationName.clear();
        ASSERT_TRUE(w->OpenTargetChart(1, kind));
        EXPECT_EQ(w->windowTitle(), QString::fromUtf8(unnamed));
    }
}

TEST_F(PreviewWindowTest, PagingRedrawsAndMovesTheCursorLine)
{
    open(250);
    auto *panelPos = get<QWidget>("PanelPos");
    click("ButtonSeiteVor");
    EXPECT_EQ(text("LabelSeite"), "2 von 4");
    EXPECT_TRUE(panelPos->isVisible());
    EXPECT_EQ(panelPos->x(), w->metrics().ChartLeft());
    EXPECT_EQ(barColour(20), QColor(0, 255, 0));  // green 10 to 40

    clickImage(60);
    EXPECT_EQ(text("LabelPos"), "60 s");
    EXPECT_EQ(panelPos->x(), w->metrics().SecondX(60));
    click("ButtonHSeiteVor");
    EXPECT_EQ(text("LabelPos"), "60 s");
    EXPECT_EQ(panelPos->x(), w->metrics().SecondX(10));
    EXPECT_EQ(barColour(20), QColor(255, 0, 0));  // second 70

    clickImage(60);
    EXPECT_EQ(text("LabelSeite"), "3 von 4");
    click("CheckPrint");
    EXPECT_EQ(w->paging().PageSelected()[2], 1);
    click("ButtonSVor");
    EXPECT_EQ(text("LabelPos"), "111 s");

    click("ButtonSeite1");
    EXPECT_EQ(text("LabelSeite"), "1 von 4");
    EXPECT_FALSE(panelPos->isVisible());
}

TEST_F(PreviewWindowTest, MeasuringPointIsShownSetAndHidden)
{
    open(90);
    const PlanMetrics &m = w->metrics();
    // Just above the second bar, where only the measuring line is red.
    const QPoint onLine(m.SecondX(80), m.LeftMargin + m.LineStep() + 2 * m.BarHeight + m.RowPitch() - 3);
    click("ButtonSeiteVor");
    click("BitBtnMessEin");
    EXPECT_TRUE(get("ButtonMesspunkt")->isVisible() && get<QLabel>("LabelAbstand")->isVisible());
    EXPECT_FALSE(get("BitBtnMessEin")->isVisible());
    clickImage(80);
    click("ButtonMesspunkt");
    EXPECT_EQ(text("LabelMesspunkt"), "80 s");
    EXPECT_EQ(w->image().pixelColor(onLine), QColor(255, 0, 0));
    clickImage(10);
    EXPECT_EQ(text("LabelAbstand"), "20 s");

    click("BitBtnMessAus");
    EXPECT_FALSE(get("ButtonMesspunkt")->isVisible());
    EXPECT_TRUE(get("BitBtnMessEin")->isVisible());
    EXPECT_NE(w->image().pixelColor(onLine), QColor(255, 0, 0));
}

TEST_F(PreviewWindowTest, CopiesAreCheckedWhenTheFieldIsLeft)
{
    open(250);
    auto *memo = get<QLineEdit>("MemoKopie");
    enterCopies(QStringLiteral("0"));
    enterCopies(QString());
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[0].text, "Eingabe muß 1 bis 9 sein");
    EXPECT_EQ(prompt.asked[0].caption, "Üngültiger Wert");
    EXPECT_EQ(prompt.asked[1].text, "Eingabe fehlt.");
    EXPECT_EQ(prompt.asked[1].caption, "Fehler");
    EXPECT_TRUE(QTest::qWaitFor([&] { return memo->hasFocus(); }));
    EXPECT_EQ(w->copies(), 1);

    enterCopies(QStringLiteral("9"));
    EXPECT_EQ(w->copies(), 9);
    // The arrows wrap from 9 to 1 and back, and take no focus, so no check.
    click("UpDownKopieUp");
    EXPECT_EQ(memo->text(), "1");
    click("UpDownKopieDown");
    click("UpDownKopieDown");
    EXPECT_EQ(w->copies(), 8);
    EXPECT_EQ(prompt.asked.size(), 2u);

    // A number typed but not yet checked is where the arrows start; one that
    // is no count leaves them at the last count.
    memo->setText(QStringLiteral("5"));
    click("UpDownKopieUp");
    EXPECT_EQ(w->copies(), 6);
    memo->setText(QStringLiteral("x"));
    click("UpDownKopieUp");
    EXPECT_EQ(w->copies(), 7);
}

TEST_F(PreviewWindowTest, PrintButtonsPrintTheirPagesOnceEachCopy)
{
    open(250);
    click("DruckAlles");
    EXPECT_EQ(printer->documentName, "Beispiel - Sollplan - Programm 1");
    ASSERT_EQ(printer->jobs.size(), 1);
    EXPECT_EQ(pdfPageCount(printer->jobs[0]), 4);

    click("DruckAuswahl");  // nothing ticked: no job
    EXPECT_EQ(printer->setUps, 2);
    EXPECT_EQ(printer->jobs.size(), 1);

    click("ButtonSeiteVor");
    click("ButtonSeiteVor");
    click("CheckPrint");
    enterCopies(QStringLiteral("3"));
    click("DruckAuswahl");
    ASSERT_EQ(printer->jobs.size(), 4);
    for (const QString &job : printer->jobs.mid(1))
        EXPECT_TRUE(pdfFooter(job, 1).startsWith(QStringLiteral("Seite 3 von 4 Seiten"))) << qPrintable(job);
    EXPECT_EQ(get<QLineEdit>("MemoKopie")->text(), "1");

    enterCopies(QStringLiteral("2"));
    printer->accept = false;
    click("DruckAktuell");
    EXPECT_EQ(printer->jobs.size(), 4);
    EXPECT_EQ(w->copies(), 2);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST_F(PreviewWindowTest, PrinterFailuresAndRefusedChartsAreReported)
{
    open(250);
    enterCopies(QStringLiteral("2"));
    printer->refuse = true;
    click("DruckAlles");
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text,
              "Der Drucker kann zur Zeit keine\nweiteren Druckaufträge annehmen !\nBitte wiederholen !");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_EQ(w->copies(), 2);
    EXPECT_EQ(w->paging().PagePrintFlags(), (PageFlags{1, 1, 1, 1}));

    printer->file = QStringLiteral("/kein/ordner/plan.pdf");  // printing into a file
    click("DruckAktuell");
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[1].text, "Die Datei /kein/ordner/plan.pdf\nkann nicht geschrieben werden !");

    create(1300);  // longer than the thirteen pages
    EXPECT_FALSE(w->OpenTargetChart(1, DisplayMode::TargetPlan));
    ASSERT_EQ(prompt.asked.size(), 3u);
    EXPECT_EQ(prompt.asked[2].text, "Das Programm ist länger als 1200 Sekunden\nund kann nicht dargestellt werden !");
}

}  // namespace
