// The shared helpers: number input check, path helpers, function keys.

#include "base/dialogplacement.h"
#include "base/inputchecks.h"
#include "base/windowgeometry.h"
#include "base/utilities.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "tempdir.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CheckNumberInput, TakesDecimalDigitsWithinTheRangeAndSaysWhyElse)
{
    const struct {
        const char *text;
        int value;
        const char *message;
    } cases[] = {
        {"007", 7, ""}, {"99", 99, ""}, {"1", 1, ""},
        {"", -1, "Eingabe fehlt."}, {"1a", -1, "Eingabe muß 1 bis 99 sein"}, {"0", -1, "Eingabe muß 1 bis 99 sein"},
        {"100", -1, "Eingabe muß 1 bis 99 sein"}, {"-5", -1, "Eingabe muß 1 bis 99 sein"},
        {" 7", -1, "Eingabe muß 1 bis 99 sein"}, {"99999999999999999999", -1, "Eingabe muß 1 bis 99 sein"},
    };
    for (const auto &c : cases) {
        ScriptedPrompt prompt;
        EXPECT_EQ(CheckNumberInput(prompt, c.text, 1, 99), c.value) << c.text;
        EXPECT_EQ(prompt.texts().join(""), c.message) << c.text;
        for (const auto &asked : prompt.asked)
            EXPECT_EQ(asked.caption, *c.text ? "Üngültiger Wert" : "Fehler") << c.text;
    }
}

TEST(Paths, InstallationNameAndShortenedPath)
{
    EXPECT_EQ(InstallationNameOf("/daten/" + QString(29, 'n')), QString(29, 'n'));
    EXPECT_EQ(InstallationNameOf("/daten/" + QString(30, 'n')), "");

    // One pixel per character makes the thresholds easy to see.
    const auto width = [](const QString &t) { return int(t.size()); };
    EXPECT_EQ(ShortenPath(QString(269, 'x'), width), QString(269, 'x'));
    EXPECT_EQ(ShortenPath("/media/" + QString(300, 'm') + "/Anlage", width), "/media/... /Anlage");
    EXPECT_EQ(ShortenPath("/media/a/" + QString(400, 'z'), width), "/media/... /" + QString(253, 'z') + "...");
    // One folder below the root: only cut, no doubled separator.
    EXPECT_EQ(ShortenPath("/" + QString(400, 'e'), width), "/" + QString(264, 'e') + "...");
}

TEST(FunctionKeys, F1HelpF12MainWindowF10Consumed)
{
    using A = FunctionKeyAction;
    EXPECT_EQ((std::vector{HandleFunctionKeys(Qt::Key_F1), HandleFunctionKeys(Qt::Key_F12), HandleFunctionKeys(Qt::Key_F10),
                           HandleFunctionKeys(Qt::Key_F2)}),
              (std::vector{A::OpenHelp, A::RaiseMainWindow, A::Consume, A::PassOn}));
}

// A 700 × 300 main window in each corner of a 1280 × 800 screen: the report-sized
// dialog stays whole on the screen; with room it is centred over the window.
TEST(DialogPlacement, CentredOverItsWindowAndWholeOnTheScreen)
{
    const QRect screen(0, 0, 1280, 800);
    const QSize dialog(520, 420);
    const QMargins frame(4, 28, 4, 4);
    for (const QPoint corner : {QPoint(0, 0), QPoint(580, 0), QPoint(0, 500), QPoint(580, 500)}) {
        const QRect placed(PlacedOver(QRect(corner, QSize(700, 300)), dialog, frame, screen), dialog.grownBy(frame));
        EXPECT_TRUE(screen.contains(placed)) << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(PlacedOver(QRect(300, 200, 700, 400), QSize(200, 100), frame, screen), QPoint(545, 333));
    EXPECT_EQ(PlacedOver(QRect(0, 0, 100, 100), QSize(2000, 2000), frame, screen), QPoint(0, 0));
}

// The three places of the help document, each present or absent: the first present wins.
TEST(HelpFile, SiteCopyThenInstalledThenBuildTreeManual)
{
    for (int present = 0; present < 8; ++present) {
        QTemporaryDir tmp;
        const QString programDir = tmp.filePath("usr/bin");
        const QStringList places{tmp.filePath("start/Ovex210.pdf"), tmp.filePath("usr/share/signovat/Signovat-Handbuch.pdf"),
                                 tmp.filePath("docs/handbuch/Signovat-Handbuch.pdf")};
        ASSERT_EQ(helpFileCandidates(tmp.filePath("start"), programDir), places);
        QString expected;
        for (int i = 2; i >= 0; --i) {
            if (present & (1 << i)) {
                QDir().mkpath(QFileInfo(places[i]).path());
                ASSERT_TRUE(writeBytes(places[i], "%PDF"));
                expected = places[i];
            }
        }
        EXPECT_EQ(findHelpFile(tmp.filePath("start"), programDir), expected) << present;
    }
    // Without a program folder the start directory is the only place.
    EXPECT_EQ(helpFileCandidates("/start", "").size(), 1);
}

// A remembered window place: read back as written, refused when garbled, and brought back onto a smaller screen.
TEST(WindowGeometry, ReadBackAndClampedToTheScreen)
{
    const WindowGeometry maximised{QRect(-20, 40, 1600, 900), true};
    const std::optional<WindowGeometry> read = WindowGeometryFromText(WindowGeometryText(maximised));
    ASSERT_TRUE(read);
    EXPECT_EQ(std::pair(read->normal, read->maximised), std::pair(maximised.normal, true));
    for (const char *garbled : {"", "1,2,3", "1,2,3,4,min", "a,2,3,4", "1,2,0,4"})
        EXPECT_FALSE(WindowGeometryFromText(QString::fromLatin1(garbled))) << garbled;

    const QRect screen(0, 0, 1280, 800);
    const QMargins frame(4, 28, 4, 4);
    const QSize minimum(792, 503);
    EXPECT_EQ(ClampedToScreen(QRect(100, 100, 900, 600), frame, minimum, screen), QRect(100, 100, 900, 600));
    EXPECT_EQ(ClampedToScreen(QRect(1800, -50, 900, 600), frame, minimum, screen), QRect(376, 28, 900, 600));
    EXPECT_EQ(ClampedToScreen(QRect(0, 0, 1920, 1040), frame, minimum, screen), QRect(4, 28, 1272, 768));
}

// The received-data window beside the preview, else below, else over its
// chart: never over the preview's buttons, always on the screen.
TEST(DialogPlacement, ACompanionWindowKeepsClearOfTheButtons)
{
    const QSize outer(592, 181);  // the received-data window with its frame
    const QMargins frame(4, 28, 4, 4);
    for (const QRect screen : {QRect(0, 0, 1280, 800), QRect(0, 0, 1920, 1080)}) {
        const QRect centred(screen.center() - QPoint(400, 268), QSize(792, 503).grownBy(frame));
        const QRect shifted = centred.translated(-centred.left(), 0);
        for (const QRect &preview : {centred, shifted, screen}) {  // normal, at the edge, maximised
            const QRect buttons(preview.left() + 4, preview.bottom() - 70, preview.width() - 8, 66);
            const QRect placed(PlacedBeside(preview, outer, buttons, screen), outer);
            EXPECT_TRUE(screen.contains(placed) && !placed.intersects(buttons))
                << screen.width() << ": " << preview.x() << "," << preview.y() << " " << preview.width();
        }
    }
    const QRect preview(100, 100, 800, 500);
    EXPECT_EQ(PlacedBeside(preview, outer, QRect(), QRect(0, 0, 1920, 1080)), QPoint(900, 100));  // right of it
    EXPECT_EQ(PlacedBeside(preview, outer, QRect(), QRect(0, 0, 1280, 800)), QPoint(100, 600));   // below it
}
