// The headless commands' options, accepted forms and every refusal, without the binary; and what info prints.

#include "app/commandoptions.h"
#include "app/commands.h"
#include "qtprinters.h"

#include <gtest/gtest.h>

static QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts); }

// The refusal of one command's parser, empty when it accepts.
static QString refusal(const char *command, const char *args)
{
    const QStringList a = words(args);
    const QString c = QString::fromLatin1(command);
    QString error;
    InfoOptions info; ChartOptions chart; RenderOptions render; SendPrintOptions sendPrint; CaptureOptions capture;
    PrintOptions print;
    const bool ok = c == QLatin1String("info")     ? parseInfoOptions(a, info, &error)
                    : c == QLatin1String("states") ? parseStatesOptions(a, chart, &error)
                    : c == QLatin1String("render") ? parseRenderOptions(a, render, &error)
                    : c == QLatin1String("print") ? parsePrintOptions(a, print, &error)
                    : c == QLatin1String("send-print") ? parseSendPrintOptions(a, sendPrint, &error)
                                                       : parseCaptureOptions(a, capture, &error);
    return ok ? QString() : error;
}

TEST(CommandOptions, Refusals)
{
    const struct {
        const char *command, *args, *error;
    } cases[] = {
        {"info", "", "--data DIR fehlt"},
        {"info", "--data", "Missing value after '--data'."},
        {"states", "--data d --program 1 x", "unerwartetes Argument \"x\""},
        {"states", "--run r --chart soll", "--run schließt --data, --program und --chart aus"},
        {"states", "--program 1", "--data DIR oder --run FILE.DRI fehlt"},
        {"states", "--data d --program eins", "--program N fehlt oder ist keine Zahl"},
        {"states", "--data d --program 1 --chart ist", "unbekannte Art \"ist\" (soll, ein, aus-gezielt, aus-stoerung)"},
        {"render", "--data d --program 1 --out x.jpg", "--out FILE.pdf, FILE.png oder FILE.svg fehlt"},
        {"print", "--run r --copies 10", "--copies muss zwischen 1 und 9 liegen"},
        {"render", "--run r --out x.pdf --bw --colour", "--bw und --colour schließen sich aus"},
        {"render", "--run r --out x.png --width 59", "--width muss zwischen 60 und 8000 liegen"},
        {"render", "--run r --out x.png --width 8001", "--width muss zwischen 60 und 8000 liegen"},
        {"render", "--run r --out x.png --program 1", "--run schließt --data, --program und --chart aus"},
        {"send-print", "pause --port COM1", "start oder stop angeben"},
        {"send-print", "start stop --port COM1", "start oder stop angeben"},
        {"send-print", "start --port COM1 --kvx --kvx40", "--kvx und --kvx40 schließen sich aus"},
        {"send-print", "start --port COM1 --kvx --version 6.00", "--version gilt nur für --kvx40"},
        {"send-print", "start --port COM1 --version 7.00", "--version muss 6.00, 6.10, 6.20 oder 6.30 sein"},
        {"send-print", "start --port COM1 --family 3", "--family muss 1 oder 2 sein"},
        {"send-print", "start", "--port COMn oder --port GERÄT fehlt"},
        {"capture", "--out f", "entweder --mode MODE oder --sim angeben"},
        {"capture", "--sim --mode qsw --out f", "entweder --mode MODE oder --sim angeben"},
        {"capture", "--mode kvx99 --out f",
         "unbekannter Modus \"kvx99\" (kvx, kvx40-1200, kvx40-9600, kvx40-19200, qsw)"},
        {"capture", "--sim --controller-port COM1 --out f", "--port und --controller-port gelten nicht für --sim"},
        {"capture", "--mode qsw --sim-dir d --out f", "--sim-dir gilt nur für --sim"},
        {"capture", "--mode qsw", "--out FILE.DRI fehlt"},
        {"capture", "--mode qsw --out f x", "unerwartetes Argument \"x\""},
        {"capture", "--mode kvx --minutes 0 --out f", "--minutes muss zwischen 1 und 20 liegen"},
        {"capture", "--mode kvx --minutes 21 --out f", "--minutes muss zwischen 1 und 20 liegen"},
        {"capture", "--mode qsw --family 2 --out f", "--version und --family gelten nur für die KVX-Modi"},
        {"capture", "--sim --version 6.00 --out f", "--version und --family gelten nur für die KVX-Modi"},
        {"capture", "--mode kvx --version 6.00 --out f", "--version gilt nur für die KVX 40 / 10"},
        {"capture", "--mode kvx40-1200 --version 6.4 --out f", "--version muss 6.00, 6.10, 6.20 oder 6.30 sein"},
        {"capture", "--mode kvx --family 0 --out f", "--family muss 1 oder 2 sein"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(refusal(c.command, c.args), QString::fromUtf8(c.error)) << c.command << ' ' << c.args;
}

TEST(CommandOptions, ChartOptionsOfStatesRenderAndPrint)
{
    ChartOptions chart;
    QString error;
    ASSERT_TRUE(parseStatesOptions(words("--data /a/./b/ --program 2 --chart aus-stoerung"), chart, &error));
    EXPECT_EQ(std::tuple(chart.fromRun, chart.dataDir, chart.program, chart.kind),
              std::tuple(false, QString("/a/b"), 2, DisplayMode::SwitchOffFault));
    ASSERT_TRUE(parseStatesOptions(words("--run r.DRI"), chart, &error));
    EXPECT_EQ(std::tuple(chart.fromRun, chart.runFile), std::tuple(true, QString("r.DRI")));

    RenderOptions render;
    ASSERT_TRUE(parseRenderOptions(words("--data d --program 1 --out p.PDF"), render, &error));
    using Format = RenderOptions::Format;
    EXPECT_EQ(std::tuple(render.chart.kind, render.format, render.colour, render.width, render.pages),
              std::tuple(DisplayMode::TargetPlan, Format::Pdf, std::optional<bool>(), 771, std::optional<QString>()));
    ASSERT_TRUE(parseRenderOptions(words("--run r --out p.png --bw --width 8000 --pages 2"), render, &error));
    EXPECT_EQ(std::tuple(render.format, render.colour, render.width, render.pages),
              std::tuple(Format::Png, std::optional(false), 8000, std::optional(QString("2"))));
    ASSERT_TRUE(parseRenderOptions(words("--run r --out p.Svg"), render, &error));
    EXPECT_EQ(std::tuple(render.format, render.width), std::tuple(Format::Svg, 2000));
    ASSERT_TRUE(parseRenderOptions(words("--run r --out p.png --colour --width 60"), render, &error));
    EXPECT_EQ(render.colour, true);

    PrintOptions print;
    ASSERT_TRUE(parsePrintOptions(words("--data d --program 2 --copies 9 --pages 1,3 --bw --printer pdf"), print, &error));
    EXPECT_EQ(std::tuple(print.chart.program, print.copies, print.pages, print.colour, print.printer),
              std::tuple(2, 9, std::optional(QString("1,3")), std::optional(false), std::optional(QString("pdf"))));
    PrintOptions plain;
    ASSERT_TRUE(parsePrintOptions(words("--run r"), plain, &error));
    EXPECT_TRUE(plain.copies == 1 && !plain.printer && !plain.colour);
}

TEST(CommandOptions, PortAndLinkOptionsOfSendPrintAndCapture)
{
    SendPrintOptions print;
    QString error;
    ASSERT_TRUE(parseSendPrintOptions(words("start --port /dev/ttyUSB0"), print, &error));
    EXPECT_EQ(std::tuple(print.printCode, print.port.devicePath, print.port.comNumber, print.variant),
              std::tuple(2, QString("/dev/ttyUSB0"), -1, ProtocolVariant::Kvx40));
    EXPECT_FALSE(print.link.checksumSeed || print.link.family);
    ASSERT_TRUE(parseSendPrintOptions(words("stop --port com3 --kvx --family 1"), print, &error));
    EXPECT_EQ(std::tuple(print.printCode, print.port.comNumber, print.variant, print.link.family),
              std::tuple(3, 3, ProtocolVariant::Plain, std::optional(ControllerFamily::Other)));

    CaptureOptions capture;
    ASSERT_TRUE(parseCaptureOptions(words("--mode kvx40-19200 --out r.DRI --port COM2 --controller-port /dev/c "
                                          "--minutes 20 --version 6.10 --family 2 --names N.DAT"),
                                    capture, &error));
    EXPECT_EQ(std::tuple(capture.mode, capture.printerPort->comNumber, capture.controllerPort->devicePath, capture.minutes),
              std::tuple(DisplayMode::RunKvx40At19200, 2, QString("/dev/c"), 20));
    EXPECT_EQ(std::tuple(capture.link.checksumSeed, capture.link.family, capture.namesFile),
              std::tuple(std::optional<uint8_t>(1), std::optional(ControllerFamily::Kvx), QString("N.DAT")));
    ASSERT_TRUE(parseCaptureOptions(words("--sim --sim-dir s --out r.DRI --minutes 1"), capture, &error));
    EXPECT_EQ(std::tuple(capture.mode, capture.simDir), std::tuple(DisplayMode::RunSimulation, QString("s")));
    EXPECT_FALSE(capture.printerPort || capture.controllerPort);
}

// The main window's start: a run file as the only argument, --preview N of a data folder.
TEST(CommandOptions, RunFileAndPreviewOfTheMainWindow)
{
    EXPECT_EQ(QList<bool>({isRunFileArgument("/tmp/Lauf.DRI"), isRunFileArgument("lauf.dri"), isRunFileArgument("x.DAT"),
                           isRunFileArgument("info")}),
              QList<bool>({true, true, false, false}));
    const struct { const char *value; bool withData; int program; const char *error; } cases[] = {
        {"6", true, 6, ""},
        {"eins", true, 0, "--preview erwartet eine Programmnummer von 1 bis 6"},
        {"7", true, 0, "--preview erwartet eine Programmnummer von 1 bis 6"},
        {"2", false, 0, "--preview N braucht --data VERZ"}};
    for (const auto &c : cases) {
        int program = 0;
        QString error;
        const bool ok = parsePreviewProgram(QString::fromLatin1(c.value), c.withData, &program, &error);
        EXPECT_EQ(std::tuple(ok, ok ? program : 0, error), std::tuple(!*c.error, c.program, QString::fromUtf8(c.error)))
            << c.value;
    }
}

TEST(CommandOptions, PageListsOfAThreePageChart)
{
    const struct {
        const char *list;
        QList<int> pages;
        const char *error;
    } cases[] = {
        {"2, 1-2,1", {1, 2}, ""},
        {"3-3", {3}, ""},
        {"4", {}, "Seite 4 gibt es nicht (das Diagramm hat 3 Seiten)"},
        {"0-1", {}, "Seite 0 gibt es nicht (das Diagramm hat 3 Seiten)"},
        {"2-x", {}, "ungültige Seitenangabe \"2-x\""},
        {"2-1", {}, "ungültige Seitenangabe \"2-1\""},
        {"1-2-3", {}, "ungültige Seitenangabe \"1-2-3\""},
        {"", {}, "ungültige Seitenangabe \"\""},
    };
    for (const auto &c : cases) {
        QList<int> pages;
        QString error;
        EXPECT_EQ(parsePageList(QString::fromLatin1(c.list), 3, pages, &error), *c.error == '\0') << c.list;
        EXPECT_EQ(std::pair(pages, error), std::pair(c.pages, QString::fromUtf8(c.error))) << c.list;
    }
}

TEST(InfoCommand, PrintsTheReportAndWhatTheMainWindowShowsOrRefusesAMissingFolder)
{
    const QString example = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");
    testing::internal::CaptureStdout();
    EXPECT_EQ(runInfoCommand({"--data", example}, {}), 0);
    const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_TRUE(out.startsWith("Lese Daten aus: " + example + "\n")) << qPrintable(out);
    EXPECT_TRUE(out.endsWith("NAMEN.DAT gelesen\n\nAnlage: KVX ...\nBetriebsart: Festzeit mit VA\nGruppen: 8\n"
                             "Gruppenzeilen im Plan: 24\nStandort: Hauptstraße / Schulweg, Musterstadt, an der "
                             "Grundschule\nAuftraggeber: Stadt Musterstadt – Tiefbauamt\nProg. Freigabe: Programm 1, "
                             "Programm 2\nNotprogramm: Blinken\n")) << qPrintable(out);

    testing::internal::CaptureStderr();
    EXPECT_EQ(runInfoCommand({"--data", "/nicht/da"}, {}), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "signovat info: Verzeichnis \"/nicht/da\" nicht gefunden\n");
}
