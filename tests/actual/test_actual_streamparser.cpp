// The printout's lines: how the stream is cut into lines, header recognition
// and its columns, the header mode byte and both header ends, the data lines.

#include "actual/linereceiver.h"
#include "actual/streamparser.h"
#include "data/textfield.h"
#include "qtprinters.h"
#include "streamlines.h"

#include <gtest/gtest.h>

namespace {

template <std::size_t N> QString text(const std::array<char, N> &field)
{
    return QString::fromLatin1(field.data(), qsizetype(N));
}

// Every line the receiver completes, one per call, until it holds none.
QList<QByteArray> linesOf(LineReceiver &receiver)
{
    QList<QByteArray> lines;
    while (const std::optional<QByteArray> line = receiver.takeLine())
        lines << *line;
    return lines;
}

TEST(LineReceiver, CutsLinesAtTheLineFeedAndTheirTextAtCrOrNul)
{
    LineReceiver r;
    r.append("one\r\ntwo\n\nthr");
    EXPECT_EQ(r.takeLine(), QByteArray("one"));  // one line per call
    EXPECT_EQ(linesOf(r), (QList<QByteArray>{"two", ""}));
    // A line arriving in pieces, its text ended by a NUL in one piece and
    // followed by more bytes in the next.
    r.append(QByteArray("ee\0tail", 7));
    EXPECT_EQ(r.takeLine(), std::nullopt);
    r.append("more\rx\nfour\n");
    EXPECT_EQ(linesOf(r), (QList<QByteArray>{"three", "four"}));
    EXPECT_EQ(r.bufferedBytes(), 0);

    r.append("partial");
    r.clear();
    r.append("next\n");
    EXPECT_EQ(linesOf(r), QList<QByteArray>{"next"});
}

TEST(LineReceiver, LineOfMoreThan256BytesIsDroppedWhole)
{
    const QByteArray longest(LineReceiver::kLineCapacity, 'a');
    LineReceiver r;
    r.append(longest + "\r\n");
    r.append(longest + "b\n");  // 256 characters of text
    r.append(QByteArray(200, 'c') + '\r' + QByteArray(55, 'x') + '\n');  // 256 bytes in all
    r.append(QByteArray(200, 'd') + '\r' + QByteArray(56, 'x') + '\n');  // 257
    r.append("after\n");
    EXPECT_EQ(linesOf(r), (QList<QByteArray>{longest, QByteArray(200, 'c'), "after"}));

    // The same bytes a few at a time.
    QByteArray stream = longest + "b\n" + QByteArray(200, 'd') + '\r' + QByteArray(56, 'x') + "\nlast\n";
    QList<QByteArray> lines;
    for (qsizetype at = 0; at < stream.size(); at += 7) {
        r.append(stream.mid(at, 7));
        lines << linesOf(r);
        EXPECT_LE(r.bufferedBytes(), 7 + LineReceiver::kLineCapacity);
    }
    EXPECT_EQ(lines, QList<QByteArray>{"last"});
}

struct Parser {
    ActualRun run;
    StreamParser parser{run};
};

TEST(StreamParser, HeaderFieldsComeFromTheirColumns)
{
    Parser p;
    const QByteArray banner = placeAt("        I       Torvemark GmbH", 64, "Version  6.30-rest");
    EXPECT_TRUE(p.parser.ParseHeaderLine(banner));
    EXPECT_EQ(text(p.run.BannerText), "Version  6.30");
    EXPECT_TRUE(p.parser.HeaderSeen());

    const QByteArray controller = placeAt(placeAt("        Typ    KVX 900 abc", 64, "14.03.24 09:15 x"), 16, "KVX 40/10 ");
    EXPECT_TRUE(p.parser.ParseHeaderLine(controller));
    EXPECT_EQ(text(p.run.ControllerTypeText), "KVX 40/10 ");
    EXPECT_EQ(text(p.run.PrintDateText), "14.03.24 09:15");

    // The simulation line puts its type one column further right.
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("    Sim  Programm ", 17, "Simulation")));
    EXPECT_EQ(text(p.run.ControllerTypeText), "Simulation");
    EXPECT_EQ(text(p.run.PrintDateText), "              ");  // the line ends before column 64

    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Standort      :", 25, "Hauptstrasse / Schulweg")));
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("                      :", 25, QByteArray(40, 'M'))));
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Auftraggeber  :", 25, "Stadt")));
    EXPECT_EQ(fieldText(p.run.HeaderRecord.LocationLine1), "Hauptstrasse / Schulweg");
    EXPECT_EQ(fieldText(p.run.HeaderRecord.LocationLine2), QString(32, QLatin1Char('M')));
    EXPECT_EQ(fieldText(p.run.HeaderRecord.Customer), "Stadt");

    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Programmname  :", 25, "SCHULW01XYZ")));
    EXPECT_EQ(text(p.run.ProgramName), "SCHULW01");

    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Gruppenzahl   :", 25, "12")));
    EXPECT_EQ(p.run.ShownGroups, 12);
    EXPECT_EQ(p.run.HeaderGroupCount, 12);
}

TEST(StreamParser, RecognitionFollowsTheOrderOfTheTests)
{
    Parser p;
    // Shorter than 12 characters: never a header line, whatever it begins with.
    EXPECT_FALSE(p.parser.ParseHeaderLine("        Stan"));
    EXPECT_FALSE(p.parser.ParseHeaderLine("  KVX  QSW "));
    EXPECT_EQ(text(p.run.ControllerTypeText), "          ");

    // The separator comes before everything; a banner after it in the same line does nothing.
    EXPECT_FALSE(p.parser.ParseHeaderLine("        ------I       Torvemark GmbH"));
    EXPECT_EQ(p.run.HeaderRecord.FixedTimeMode, 0);
    EXPECT_TRUE(p.parser.OpensPrintout());
    // The legend and table lines are ignored even when they contain a controller name.
    for (const QByteArray &ignored : {QByteArray("        Sync.     KVX 900"), QByteArray("        Zwangs    KVX 900"),
                                      QByteArray("        alle      KVX 900"), QByteArray(" B.o.An    x  QSW 2"),
                                      QByteArray(" W.Sig.    x  QSW 2"), QByteArray(" Gruppe     KVX 900")}) {
        EXPECT_FALSE(p.parser.ParseHeaderLine(ignored)) << ignored.constData();
    }
    EXPECT_EQ(text(p.run.ControllerTypeText), "          ");
    // The banner wins over the controller name in the same line.
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("    KVX I       Torvemark GmbH", 64, "Banner-Text13")));
    EXPECT_EQ(text(p.run.BannerText), "Banner-Text13");
    EXPECT_EQ(text(p.run.ControllerTypeText), "          ");
    // "    KVX" anywhere in a line makes it the controller line, before the location tests.
    const QByteArray standortKvx = "        Standort      :    KVX 900";
    EXPECT_TRUE(p.parser.ParseHeaderLine(standortKvx));
    EXPECT_EQ(text(p.run.ControllerTypeText), standortKvx.mid(15, 10));
    EXPECT_EQ(p.run.HeaderRecord.LocationLine1, TextField32{});  // untouched
    // Nothing known: not a header line.
    EXPECT_FALSE(p.parser.ParseHeaderLine("        Sonstiges  : 17"));
}

TEST(StreamParser, SeparatorOpensAPrintoutOnlyBeforeItsHeader)
{
    Parser p;
    const QByteArray separator = "        ------------";
    EXPECT_FALSE(p.parser.ParseHeaderLine(separator));
    EXPECT_TRUE(p.parser.OpensPrintout());
    p.parser.ParseHeaderLine("        I       Torvemark GmbH");
    EXPECT_FALSE(p.parser.OpensPrintout());
    p.parser.ParseHeaderLine(separator);
    EXPECT_FALSE(p.parser.OpensPrintout());  // the banner was seen since the last separator
    EXPECT_FALSE(p.parser.HeaderSeen());
    p.parser.ParseHeaderLine(separator);
    EXPECT_TRUE(p.parser.OpensPrintout());
}

TEST(StreamParser, ParametersAndGroupFlagsFillTheProgramRecord)
{
    Parser p;
    const struct {
        const char *label;
        uint32_t SignalProgram::*field;
    } parameters[] = {
        {"        Umlaufzeit", &SignalProgram::CycleTime},      {"        Anf. Zeit 1", &SignalProgram::DemandTime1},
        {"        Anf. Zeit 2", &SignalProgram::DemandTime2},   {"        Weiter Zeit 1", &SignalProgram::ContinueTime1},
        {"        Weiter Zeit 2", &SignalProgram::ContinueTime2}, {"        GSP", &SignalProgram::GroupStartPoint},
        {"        EZP", &SignalProgram::SwitchOnPoint},         {"        AZP", &SignalProgram::SwitchOffPoint},
        {"        Anf.  Verz. 1", &SignalProgram::DemandDelay1}, {"        Anf.  Verz. 2", &SignalProgram::DemandDelay2},
    };
    uint32_t value = 101;
    for (const auto &param : parameters) {
        EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt(param.label, 25, QByteArray::number(value) + "9 s")));
        EXPECT_EQ(p.run.ProgramRecord.*param.field, value) << param.label;  // three columns only
        ++value;
    }
    // A field without a number leaves the value; the line is still a header line.
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Umlaufzeit", 25, "7O ")));
    EXPECT_EQ(p.run.ProgramRecord.CycleTime, 101u);
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Gruppenzahl   :", 25, "x1")));
    EXPECT_EQ(p.run.ShownGroups, 0);
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Gruppenzahl   :", 25, "99")));
    EXPECT_EQ(p.run.ShownGroups, 24);  // never more rows than groups

    p.parser.ParseHeaderLine(placeAt("        Gruppenzahl   :", 25, " 4"));
    const struct {
        const char *label;
        PerGroup<uint8_t> SignalProgram::*flags;
    } flagRows[] = {{" St.Bli", &SignalProgram::FaultFlash}, {" Rotueb", &SignalProgram::RedMonitoring},
                    {" Dauer.", &SignalProgram::PermanentDemand}, {" Verl. ", &SignalProgram::Extend},
                    {" V.>Max", &SignalProgram::ExtendBeyondMax}};
    for (const auto &row : flagRows) {
        (p.run.ProgramRecord.*row.flags).fill(7);
        // x under groups 1 and 3, and under group 5, which the header does not have.
        QByteArray line = placeAt(placeAt(placeAt(row.label, 9, "x"), 15, "x"), 21, "x");
        EXPECT_TRUE(p.parser.ParseHeaderLine(line));
        const PerGroup<uint8_t> &flags = p.run.ProgramRecord.*row.flags;
        EXPECT_EQ(flags[0], 1) << row.label;
        EXPECT_EQ(flags[1], 0);
        EXPECT_EQ(flags[2], 1);
        EXPECT_EQ(flags[4], 0);
        EXPECT_EQ(flags[23], 0);
    }
}

TEST(StreamParser, HeaderModeByteDecidesWhichLineEndsTheHeader)
{
    Parser p;
    p.parser.ParseHeaderLine("        I       Torvemark GmbH");
    EXPECT_EQ(p.run.HeaderRecord.FixedTimeMode, 1);
    EXPECT_TRUE(p.parser.EndsHeader(" Gruppe  1  2  3"));
    EXPECT_FALSE(p.parser.EndsHeader(" V.>Max x        "));

    // A legend without the exact spacing changes nothing.
    p.parser.ParseHeaderLine("        Benutzte Abk.: - Dunkel  R Rot");
    EXPECT_EQ(p.run.HeaderRecord.FixedTimeMode, 1);
    p.parser.ParseHeaderLine("        Benutzte Abk.: - Dunkel   R Rot   Gr Gruen");
    EXPECT_EQ(p.run.HeaderRecord.FixedTimeMode, 0);
    EXPECT_FALSE(p.parser.EndsHeader(" Gruppe  1  2  3"));
    EXPECT_TRUE(p.parser.EndsHeader(" V.>Max x        "));

    p.parser.ParseHeaderLine("        I       Torvemark GmbH");
    EXPECT_EQ(p.run.HeaderRecord.FixedTimeMode, 1);
    p.parser.ParseHeaderLine("        Programmname  : P1      - Dunkel           R Rot");
    EXPECT_EQ(p.run.HeaderRecord.FixedTimeMode, 0);
}

TEST(StreamParser, SimulationTakesTheProgramNameFromTheFilePath)
{
    Parser p;
    p.parser.setSimulation(true);
    p.parser.ParseHeaderLine("        Programmname  : C:\\VELKINOR\\DATEN\\KREUZUNG.SIM");
    EXPECT_EQ(text(p.run.ProgramName), "KREUZUNG");
    p.parser.ParseHeaderLine("        Programmname  : C:\\P2.SIM");
    EXPECT_EQ(text(p.run.ProgramName), "P2.SIM  ");
    p.parser.ParseHeaderLine("        Programmname  : KEINPFAD");
    EXPECT_EQ(text(p.run.ProgramName), "        ");
    // A backslash among the first two characters does not count.
    p.parser.ParseHeaderLine("        Programmname  : \\ABC");
    EXPECT_EQ(text(p.run.ProgramName), "        ");
}

TEST(StreamParser, DataLinesCarryProgramStatesAndDetectors)
{
    Parser p;
    EXPECT_FALSE(p.parser.ParseDataLine("P1 000 R "));
    EXPECT_FALSE(p.parser.ParseDataLine("  P1 000"));

    QList<QByteArray> groups = {"*Gr", " Rg", " R ", " RG", " Ge", " B ", " RD", " RB", " GD", " GB", " gr", "*  "};
    const QByteArray line = dataLine('2', groups);
    ASSERT_EQ(line.size(), 43);
    ASSERT_TRUE(p.parser.ParseDataLine(line));
    EXPECT_EQ(p.parser.StreamGroupCount(), 12);
    EXPECT_EQ(p.run.ShownGroups, 12);
    EXPECT_EQ(p.parser.CurrentProgram(), 2);
    EXPECT_EQ(p.run.StartProgram, 2);
    const ChartRow row = p.parser.CurrentRow();
    const int32_t expected[] = {2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 0, 0};
    for (int g = 0; g < 12; ++g)
        EXPECT_EQ(row.State[g], expected[g]) << "group " << g + 1;
    EXPECT_EQ(row.DetectorActive[0], 1);
    EXPECT_EQ(row.DetectorActive[1], 0);
    EXPECT_EQ(row.DetectorActive[11], 1);
    EXPECT_EQ(row.ProgramNumber, 2);

    // The last group ends at the line end; a partial group is not counted.
    EXPECT_TRUE(p.parser.ParseDataLine(line + "*G"));
    EXPECT_EQ(p.parser.StreamGroupCount(), 12);
    // The first data line of the run gave the start program; a non-digit keeps the program.
    EXPECT_TRUE(p.parser.ParseDataLine(dataLine('x', {" Gr"})));
    EXPECT_EQ(p.parser.CurrentProgram(), 2);
    EXPECT_TRUE(p.parser.ParseDataLine(dataLine('5', {" Gr"})));
    EXPECT_EQ(p.run.StartProgram, 2);
    EXPECT_EQ(p.parser.CurrentRow().State[1], 0);  // groups the line does not carry are dark

    // 7 and 8 characters: a data line without groups; shorter ones too.
    EXPECT_TRUE(p.parser.ParseDataLine(" P3 000"));
    EXPECT_EQ(p.parser.StreamGroupCount(), 0);
    EXPECT_TRUE(p.parser.ParseDataLine(" P3 0001"));
    EXPECT_EQ(p.parser.StreamGroupCount(), 0);
    EXPECT_TRUE(p.parser.ParseDataLine(" P"));
    EXPECT_EQ(p.parser.StreamGroupCount(), 0);
    EXPECT_EQ(p.parser.CurrentProgram(), 3);

    // More than 24 groups: the first 24.
    QList<QByteArray> many(30, " Ge");
    many[23] = "*B ";
    EXPECT_TRUE(p.parser.ParseDataLine(dataLine('1', many)));
    EXPECT_EQ(p.parser.StreamGroupCount(), 24);
    EXPECT_EQ(p.parser.CurrentRow().State[23], 5);
    EXPECT_EQ(p.parser.CurrentRow().DetectorActive[23], 1);

    p.parser.Restart();
    EXPECT_EQ(p.run.StartProgram, 0);
    EXPECT_TRUE(p.parser.ParseDataLine(dataLine('4', {" R "})));
    EXPECT_EQ(p.run.StartProgram, 4);
}

}  // namespace
