// The printout's lines: cutting the stream, header recognition and columns, data lines.

#include "actual/linereceiver.h"
#include "actual/streamparser.h"
#include "data/textfield.h"
#include "qtprinters.h"
#include "streamlines.h"

#include <gtest/gtest.h>

namespace {

template <std::size_t N> QString text(const std::array<char, N> &field) { return QString::fromLatin1(field.data(), qsizetype(N)); }

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
    // A line in pieces, its text ended by a NUL in one and followed by more bytes.
    r.append(QByteArray("ee\0tail", 7));
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

// What the transcripts do not hold: longer text cut to the field, a line that ends early.
TEST(StreamParser, HeaderFieldsComeFromTheirColumns)
{
    Parser p;
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        I       Torvemark GmbH", 64, "Version  6.30-rest")));
    EXPECT_TRUE(p.parser.HeaderSeen() && text(p.run.BannerText) == "Version  6.30");
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt(placeAt("        Typ    KVX 900 abc", 64, "14.03.24 09:15 x"), 16, "KVX 40/10 ")));
    EXPECT_EQ(QStringList({text(p.run.ControllerTypeText), text(p.run.PrintDateText)}),
              QStringList({"KVX 40/10 ", "14.03.24 09:15"}));
    EXPECT_TRUE(p.parser.ParseHeaderLine("    Sim  Programm Simulation"));
    EXPECT_EQ(text(p.run.PrintDateText), "              ");
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("                      :", 25, QByteArray(40, 'M'))));
    EXPECT_EQ(fieldText(p.run.HeaderRecord.LocationLine2), QString(32, QLatin1Char('M')));
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Programmname  :", 25, "SCHULW01XYZ")));
    EXPECT_EQ(text(p.run.ProgramName), "SCHULW01");
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
    EXPECT_TRUE(p.parser.OpensPrintout() && p.run.HeaderRecord.FixedTimeMode == 0);
    // The legend and table lines are ignored even when they contain a controller name.
    for (const QByteArray &ignored : {QByteArray("        Sync.     KVX 900"), QByteArray("        Zwangs    KVX 900"),
                                      QByteArray("        alle      KVX 900"), QByteArray(" B.o.An    x  QSW 2"),
                                      QByteArray(" W.Sig.    x  QSW 2"), QByteArray(" Gruppe     KVX 900")}) {
        EXPECT_FALSE(p.parser.ParseHeaderLine(ignored)) << ignored.constData();
    }
    // The banner wins over the controller name in the same line.
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("    KVX I       Torvemark GmbH", 64, "Banner-Text13")));
    EXPECT_EQ(QStringList({text(p.run.BannerText), text(p.run.ControllerTypeText)}),
              QStringList({"Banner-Text13", "          "}));
    // "    KVX" anywhere in a line makes it the controller line, before the location tests.
    const QByteArray standortKvx = "        Standort      :    KVX 900";
    EXPECT_TRUE(p.parser.ParseHeaderLine(standortKvx));
    EXPECT_EQ(text(p.run.ControllerTypeText), standortKvx.mid(15, 10));
    EXPECT_EQ(p.run.HeaderRecord.LocationLine1, TextField32{});  // untouched
    // Nothing known: not a header line.
    EXPECT_FALSE(p.parser.ParseHeaderLine("        Sonstiges  : 17"));
    // A separator opens a printout only when no banner came since the last one.
    const QByteArray separator = "        ------------";
    for (const bool opens : {false, true}) {
        EXPECT_FALSE(p.parser.ParseHeaderLine(separator));
        EXPECT_EQ(p.parser.OpensPrintout(), opens);
    }
    EXPECT_FALSE(p.parser.HeaderSeen());
}

// The rules of the number and flag columns (the bundled run shows which label fills which field).
TEST(StreamParser, ParametersAndGroupFlagsFillTheProgramRecord)
{
    Parser p;
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Anf.  Verz. 2", 25, "1019 s")));
    EXPECT_EQ(p.run.ProgramRecord.DemandDelay2, 101u);  // three columns only
    // A field without a number leaves the value; the line is still a header line.
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Anf.  Verz. 2", 25, "7O ")));
    EXPECT_EQ(p.run.ProgramRecord.DemandDelay2, 101u);
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Gruppenzahl   :", 25, "x1")));
    EXPECT_EQ(p.run.ShownGroups, 0);
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt("        Gruppenzahl   :", 25, "99")));
    EXPECT_EQ(p.run.ShownGroups, 24);  // never more rows than groups

    p.parser.ParseHeaderLine(placeAt("        Gruppenzahl   :", 25, " 4"));
    p.run.ProgramRecord.Extend.fill(7);
    // x under groups 1 and 3, and under group 5, which the header does not have.
    EXPECT_TRUE(p.parser.ParseHeaderLine(placeAt(placeAt(placeAt(" Verl. ", 9, "x"), 15, "x"), 21, "x")));
    const PerGroup<uint8_t> &flags = p.run.ProgramRecord.Extend;
    EXPECT_EQ(QList<int>({flags[0], flags[1], flags[2], flags[4], flags[23]}), QList<int>({1, 0, 1, 0, 0}));
}

// The banner sets the header mode byte; the legend with its exact spacing clears it wherever it stands.
TEST(StreamParser, HeaderModeByteFollowsTheBannerAndTheLegend)
{
    Parser p;
    const std::pair<const char *, int> lines[] = {{"        I       Torvemark GmbH", 1},
                                                  {"        Benutzte Abk.: - Dunkel  R Rot", 1},
                                                  {"        Benutzte Abk.: - Dunkel   R Rot   Gr Gruen", 0},
                                                  {"        I       Torvemark GmbH", 1},
                                                  {"        Programmname  : P1      - Dunkel           R Rot", 0}};
    for (const auto &[line, mode] : lines) {
        p.parser.ParseHeaderLine(line);
        EXPECT_EQ(p.run.HeaderRecord.FixedTimeMode, mode) << line;
    }
}

TEST(StreamParser, SimulationTakesTheProgramNameFromTheFilePath)
{
    Parser p;
    p.parser.setSimulation(true);
    // A backslash among the first two characters does not count.
    const std::pair<const char *, const char *> names[] = {
        {"C:\\VELKINOR\\DATEN\\KREUZUNG.SIM", "KREUZUNG"}, {"C:\\P2.SIM", "P2.SIM  "},
        {"KEINPFAD", "        "}, {"\\ABC", "        "}};
    for (const auto &[path, name] : names) {
        p.parser.ParseHeaderLine(QByteArray("        Programmname  : ") + path);
        EXPECT_EQ(text(p.run.ProgramName), name) << path;
    }
}

TEST(StreamParser, DataLinesCarryProgramStatesAndDetectors)
{
    Parser p;
    EXPECT_FALSE(p.parser.ParseDataLine("P1 000 R ") || p.parser.ParseDataLine("  P1 000"));

    const QByteArray line = dataLine('2', {"*Gr", " Rg", " R ", " RG", " Ge", " B ", " RD", " RB", " GD", " GB", " gr", "*  "});
    ASSERT_TRUE(p.parser.ParseDataLine(line));
    const ChartRow row = p.parser.CurrentRow();
    EXPECT_EQ(QList<int>({p.parser.StreamGroupCount(), p.run.ShownGroups, p.run.StartProgram, row.ProgramNumber}),
              QList<int>({12, 12, 2, 2}));
    EXPECT_EQ(QList<int>(row.State.begin(), row.State.begin() + 12), QList<int>({2, 0, 1, 3, 4, 5, 6, 7, 8, 9, 0, 0}));
    EXPECT_EQ(QList<int>(row.DetectorActive.begin(), row.DetectorActive.begin() + 12),
              QList<int>({1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));

    // The last group ends at the line end; a partial group is not counted.
    EXPECT_TRUE(p.parser.ParseDataLine(line + "*G"));
    EXPECT_EQ(p.parser.StreamGroupCount(), 12);
    // The first data line of the run gave the start program; a non-digit keeps the program.
    EXPECT_TRUE(p.parser.ParseDataLine(dataLine('x', {" Gr"})));
    EXPECT_EQ(p.parser.CurrentProgram(), 2);
    EXPECT_TRUE(p.parser.ParseDataLine(dataLine('5', {" Gr"})));
    // Groups the line does not carry are dark.
    EXPECT_EQ(QList<int>({p.run.StartProgram, p.parser.CurrentRow().State[1]}), QList<int>({2, 0}));

    // 7 and 8 characters: a data line without groups; shorter ones too.
    for (const char *groupless : {" P3 000", " P3 0001", " P"}) {
        EXPECT_TRUE(p.parser.ParseDataLine(groupless));
        EXPECT_EQ(p.parser.StreamGroupCount(), 0) << groupless;
    }
    EXPECT_EQ(p.parser.CurrentProgram(), 3);

    // More than 24 groups: the first 24.
    QList<QByteArray> many(30, " Ge");
    many[23] = "*B ";
    EXPECT_TRUE(p.parser.ParseDataLine(dataLine('1', many)));
    const ChartRow last = p.parser.CurrentRow();
    EXPECT_EQ(QList<int>({p.parser.StreamGroupCount(), last.State[23], last.DetectorActive[23]}), QList<int>({24, 5, 1}));
}

}  // namespace
