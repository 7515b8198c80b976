// The shared helpers: number input check, path helpers, function keys.

#include "base/inputchecks.h"
#include "base/utilities.h"
#include "scriptedprompt.h"

#include <gtest/gtest.h>

namespace {

TEST(CheckNumberInput, EmptyTextSaysMissingWithoutRangeMessage)
{
    ScriptedPrompt prompt;
    EXPECT_EQ(CheckNumberInput(prompt, "", 1, 99), -1);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Eingabe fehlt.");
    EXPECT_EQ(prompt.asked[0].caption, "Fehler");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::None);
}

TEST(CheckNumberInput, NonDigitsAndOutOfRangeGiveTheRangeMessage)
{
    for (const char *text : {"1a", "0", "100", "-5", " 7", "99999999999999999999"}) {
        ScriptedPrompt prompt;
        EXPECT_EQ(CheckNumberInput(prompt, text, 1, 99), -1) << text;
        ASSERT_EQ(prompt.asked.size(), 1u) << text;
        EXPECT_EQ(prompt.asked[0].text, "Eingabe muß 1 bis 99 sein");
        EXPECT_EQ(prompt.asked[0].caption, "Üngültiger Wert");
    }
}

TEST(CheckNumberInput, LeadingZerosAreAccepted)
{
    ScriptedPrompt prompt;
    EXPECT_EQ(CheckNumberInput(prompt, "007", 1, 99), 7);
    EXPECT_EQ(CheckNumberInput(prompt, "9", 1, 9), 9);
    EXPECT_TRUE(prompt.asked.empty());
}

TEST(Paths, InstallationName)
{
    EXPECT_EQ(InstallationNameOf("/daten/" + QString(29, 'n')), QString(29, 'n'));
    EXPECT_EQ(InstallationNameOf("/daten/" + QString(30, 'n')), "");
}

TEST(Paths, ShortenPathKeepsVolumeAndLastFolder)
{
    // One pixel per character makes the thresholds easy to see.
    const auto width = [](const QString &t) { return int(t.size()); };
    const QString narrow(269, 'x');
    EXPECT_EQ(ShortenPath(narrow, width), narrow);

    const QString deep = "/media/" + QString(300, 'm') + "/Anlage";
    EXPECT_EQ(ShortenPath(deep, width), "/media/... /Anlage");

    const QString wideLast = "/media/a/" + QString(400, 'z');
    const QString cut = ShortenPath(wideLast, width);
    EXPECT_TRUE(cut.startsWith("/media/... /zzz"));
    EXPECT_TRUE(cut.endsWith("..."));
    EXPECT_EQ(cut.size(), 265 + 3);

    // One folder below the root: only cut, no doubled separator.
    EXPECT_EQ(ShortenPath("/" + QString(400, 'e'), width), "/" + QString(264, 'e') + "...");
}

TEST(FunctionKeys, F1HelpF12MainWindowF10Consumed)
{
    EXPECT_EQ(HandleFunctionKeys(Qt::Key_F1), FunctionKeyAction::OpenHelp);
    EXPECT_EQ(HandleFunctionKeys(Qt::Key_F12), FunctionKeyAction::RaiseMainWindow);
    EXPECT_EQ(HandleFunctionKeys(Qt::Key_F10), FunctionKeyAction::Consume);
    EXPECT_EQ(HandleFunctionKeys(Qt::Key_F2), FunctionKeyAction::PassOn);
}

TEST(DeleteQuestion, AsksYesNoAndReturnsTheAnswer)
{
    ScriptedPrompt prompt;
    prompt.answers = {PromptAnswer::No};
    EXPECT_EQ(ConfirmDeleteData(prompt), PromptAnswer::No);
    EXPECT_EQ(prompt.asked[0].text, "Daten löschen ?");
    EXPECT_EQ(prompt.asked[0].caption, "Bitte bestätigen");
    EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::YesNo);
}

}  // namespace
