// The options of the headless commands: the forms each command accepts and
// every refusal, without starting the binary.

#include "app/commandoptions.h"

#include <gtest/gtest.h>

namespace {

QStringList words(const char *text)
{
    return QString::fromUtf8(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// The refusal of one command's parser, empty when it accepts.
QString refusal(const char *command, const char *args)
{
    const QStringList a = words(args);
    const QString c = QString::fromLatin1(command);
    QString error;
    InfoOptions info;
    ChartOptions chart;
    RenderOptions render;
    SendPrintOptions sendPrint;
    CaptureOptions capture;
    const bool ok = c == QLatin1String("info")     ? parseInfoOptions(a, info, &error)
                    : c == QLatin1String("states") ? parseStatesOptions(a, chart, &error)
                    : c == QLatin1String("render") ? parseRenderOptions(a, render, &error)
                    : c == QLatin1String("send-print") ? parseSendPrintOptions(a, sendPrint, &error)
                                                       : parseCaptureOptions(a, capture, &error);
    return ok ? QString() : error;
}

}  // namespace

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
        {"render", "--data d --program 1 --out x.svg", "--out FILE.pdf oder FILE.png fehlt"},
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

TEST(CommandOptions, ChartOptionsOfStatesAndRender)
{
    ChartOptions chart;
    QString error;
    ASSERT_TRUE(parseStatesOptions(words("--data /a/./b/ --program 2 --chart aus-stoerung"), chart, &error));
    EXPECT_FALSE(chart.fromRun);
    EXPECT_EQ(chart.dataDir, QStringLiteral("/a/b"));
    EXPECT_EQ(chart.program, 2);
    EXPECT_EQ(chart.kind, DisplayMode::SwitchOffFault);
    ASSERT_TRUE(parseStatesOptions(words("--run r.DRI"), chart, &error));
    EXPECT_TRUE(chart.fromRun);
    EXPECT_EQ(chart.runFile, QStringLiteral("r.DRI"));

    RenderOptions render;
    ASSERT_TRUE(parseRenderOptions(words("--data d --program 1 --out p.PDF"), render, &error));
    EXPECT_EQ(render.chart.kind, DisplayMode::TargetPlan);
    EXPECT_TRUE(render.pdf);
    EXPECT_FALSE(render.colour.has_value());
    EXPECT_EQ(render.width, 771);
    EXPECT_FALSE(render.pages.has_value());
    ASSERT_TRUE(parseRenderOptions(words("--run r --out p.png --bw --width 8000 --pages 2"), render, &error));
    EXPECT_FALSE(render.pdf);
    EXPECT_EQ(render.colour, false);
    EXPECT_EQ(render.width, 8000);
    EXPECT_EQ(render.pages, QStringLiteral("2"));
    ASSERT_TRUE(parseRenderOptions(words("--run r --out p.png --colour --width 60"), render, &error));
    EXPECT_EQ(render.colour, true);
}

TEST(CommandOptions, PortAndLinkOptionsOfSendPrintAndCapture)
{
    SendPrintOptions print;
    QString error;
    ASSERT_TRUE(parseSendPrintOptions(words("start --port /dev/ttyUSB0"), print, &error));
    EXPECT_EQ(print.printCode, 2);
    EXPECT_EQ(print.port.devicePath, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(print.port.comNumber, -1);
    EXPECT_EQ(print.variant, ProtocolVariant::Kvx40);
    EXPECT_FALSE(print.link.checksumSeed || print.link.family);
    ASSERT_TRUE(parseSendPrintOptions(words("stop --port com3 --kvx --family 1"), print, &error));
    EXPECT_EQ(print.printCode, 3);
    EXPECT_EQ(print.port.comNumber, 3);
    EXPECT_EQ(print.variant, ProtocolVariant::Plain);
    EXPECT_EQ(print.link.family, ControllerFamily::Other);

    CaptureOptions capture;
    ASSERT_TRUE(parseCaptureOptions(words("--mode kvx40-19200 --out r.DRI --port COM2 --controller-port /dev/c "
                                          "--minutes 20 --version 6.10 --family 2 --names N.DAT"),
                                    capture, &error));
    EXPECT_EQ(capture.mode, DisplayMode::RunKvx40At19200);
    EXPECT_EQ(capture.printerPort->comNumber, 2);
    EXPECT_EQ(capture.controllerPort->devicePath, QStringLiteral("/dev/c"));
    EXPECT_EQ(capture.minutes, 20);
    EXPECT_EQ(capture.link.checksumSeed, 1);
    EXPECT_EQ(capture.link.family, ControllerFamily::Kvx);
    EXPECT_EQ(capture.namesFile, QStringLiteral("N.DAT"));
    ASSERT_TRUE(parseCaptureOptions(words("--sim --sim-dir s --out r.DRI --minutes 1"), capture, &error));
    EXPECT_EQ(capture.mode, DisplayMode::RunSimulation);
    EXPECT_EQ(capture.simDir, QStringLiteral("s"));
    EXPECT_FALSE(capture.printerPort || capture.controllerPort);
}

TEST(CommandOptions, PageLists)
{
    const struct {
        const char *list;
        int pageCount;
        QList<int> pages;
        const char *error;
    } cases[] = {
        {"2, 1-2,1", 3, {1, 2}, ""},
        {"3-3", 3, {3}, ""},
        {"4", 3, {}, "Seite 4 gibt es nicht (das Diagramm hat 3 Seiten)"},
        {"0-1", 3, {}, "Seite 0 gibt es nicht (das Diagramm hat 3 Seiten)"},
        {"2-x", 3, {}, "ungültige Seitenangabe \"2-x\""},
        {"2-1", 3, {}, "ungültige Seitenangabe \"2-1\""},
        {"1-2-3", 3, {}, "ungültige Seitenangabe \"1-2-3\""},
        {"", 3, {}, "ungültige Seitenangabe \"\""},
    };
    for (const auto &c : cases) {
        QList<int> pages;
        QString error;
        const bool ok = parsePageList(QString::fromLatin1(c.list), c.pageCount, pages, &error);
        EXPECT_EQ(ok, *c.error == '\0') << c.list;
        EXPECT_EQ(error, QString::fromUtf8(c.error)) << c.list;
        if (ok) {
            EXPECT_EQ(pages, c.pages) << c.list;
        }
    }
}
