// The group names editor: which field shows which group, what "Ok",
// "Abbruch", "Löschen" and "Daten Laden" do to the names, and names outside
// ASCII kept byte for byte.

#include "context/appcontext.h"
#include "data/groupnameseditor.h"
#include "data/textfield.h"
#include "modaldialogs.h"
#include "scriptedprompt.h"
#include "tempdir.h"
#include "widgettexts.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct EditorTest : ::testing::Test {
    QTemporaryDir tmp;
    AppContext ctx;
    ScriptedPrompt prompt;
    std::unique_ptr<TFormGrpBez> editor;

    void SetUp() override
    {
        ctx.settings.StandardDataDir = tmp.path();
        for (int g = 0; g < kGroupCount; ++g)
            TextToField10(QString("K%1").arg(g + 1), ctx.data.GroupNames[g]);
        editor = std::make_unique<TFormGrpBez>(ctx.data, ctx.settings, prompt);
    }
    void showFor(uint32_t type, uint32_t groupCount = 24)
    {
        ctx.data.Konf.InstallationType = type;
        ctx.data.Header.GroupCount = groupCount;
        editor->show();
    }
    void click(const char *button) { QTest::mouseClick(editor->findChild<QPushButton *>(button), Qt::LeftButton); }
    int visibleFields() const
    {
        int n = 0;
        for (int r = 0; r < TFormGrpBez::kRows; ++r)
            for (int c = 0; c < TFormGrpBez::kColumns; ++c)
                n += editor->field(r, c)->isVisibleTo(editor.get()) ? 1 : 0;
        return n;
    }
};

TEST_F(EditorTest, EachRowHoldsTwoConsecutiveGroupsOddLeftEvenRight)
{
    showFor(TypeKvx);
    EXPECT_EQ(editor->windowTitle(), "Gruppenbezeichnung");
    QStringList expected{"Gruppe Nr.                         Gruppe Nr.", "Daten Laden", "Löschen", "Abbruch", "Ok"};
    for (int r = 0; r < TFormGrpBez::kRows; ++r) {
        for (int c = 0; c < 2; ++c) {
            expected << QString::number(2 * r + c + 1);
            EXPECT_EQ(editor->numberLabel(r, c)->text(), expected.last());
            EXPECT_EQ(editor->field(r, c)->text(), "K" + expected.last());
        }
        EXPECT_LT(editor->field(r, 0)->x(), editor->field(r, 1)->x());
    }
    QStringList shown = widgetTexts(editor.get());
    shown.sort();
    expected.sort();
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(visibleFields(), 24);

    // Field 1 has the focus, Tab goes along the rows: 1, 2, 3, … and every
    // name is selected, so typing replaces it.
    editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
    for (QLineEdit *next : {editor->field(0, 0), editor->field(0, 1), editor->field(1, 0)}) {
        EXPECT_EQ(QApplication::focusWidget(), next);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(editor->field(7, 1)->selectedText(), "K16");
}

TEST_F(EditorTest, ShowsTheNamesTheTypeOffersAndFitsItsHeight)
{
    showFor(TypeKvx);
    const int height24 = editor->height();
    editor->hide();
    showFor(TypeQswRadio);
    EXPECT_EQ(visibleFields(), 4);
    EXPECT_EQ(height24 - editor->height(), 486 - 166);
    EXPECT_TRUE(editor->field(1, 1)->isVisibleTo(editor.get()) && !editor->field(2, 0)->isVisibleTo(editor.get()));
    EXPECT_FALSE(editor->numberLabel(2, 0)->isVisibleTo(editor.get()));
    editor->hide();
    // An odd count leaves the right field of its last row empty.
    showFor(TypeKvx40, 7);
    EXPECT_EQ(visibleFields(), 7);
    EXPECT_TRUE(editor->field(3, 0)->isVisibleTo(editor.get()) && !editor->field(3, 1)->isVisibleTo(editor.get()));
    EXPECT_EQ(height24 - editor->height(), 32 * (12 - 4));
}

TEST_F(EditorTest, OkStoresEveryFieldAndHiddenFieldsKeepTheirNames)
{
    showFor(TypeQswRadio);
    editor->field(0, 0)->setText("A");
    editor->field(1, 1)->setText("Linksabbg.");
    click("ButtonOk");
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(QByteArray(ctx.data.GroupNames[0].data(), 10), QByteArray("A         "));
    EXPECT_EQ(QByteArray(ctx.data.GroupNames[3].data(), 10), QByteArray("Linksabbg."));
    EXPECT_EQ(GroupNameText(ctx.data, 1), "K2");
    for (int g = 4; g < kGroupCount; ++g)
        EXPECT_EQ(GroupNameText(ctx.data, g), QString("K%1").arg(g + 1));
    EXPECT_EQ(editor->field(0, 0)->maxLength(), 10);
}

TEST_F(EditorTest, ClearEmptiesTheFieldsButOnlyOkChangesTheNames)
{
    showFor(TypeKvx);
    prompt.answers = {PromptAnswer::No};
    click("ButtonClear");
    EXPECT_EQ(editor->field(5, 1)->text(), "K12");
    click("ButtonClear");
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_EQ(prompt.asked[1].text, "Daten löschen ?");
    EXPECT_EQ(prompt.asked[1].caption, "Bitte bestätigen");
    EXPECT_EQ(prompt.asked[1].buttons, PromptButtons::YesNo);
    for (int r = 0; r < TFormGrpBez::kRows; ++r)
        EXPECT_EQ(editor->field(r, 0)->text() + editor->field(r, 1)->text(), "");
    click("ButtonAbbruch");
    EXPECT_FALSE(editor->isVisible());
    for (int g = 0; g < kGroupCount; ++g)
        EXPECT_EQ(GroupNameText(ctx.data, g), QString("K%1").arg(g + 1));

    // Shown again, the fields come from the names.
    showFor(TypeKvx);
    EXPECT_EQ(editor->field(11, 1)->text(), "K24");
}

TEST_F(EditorTest, DatenLadenReadsAFileAtOnceAndKeepsWindows1252ByteForByte)
{
    // A file of the wrong size blanks every name; Abbruch does not bring them back.
    const QString wrongSize = tmp.filePath("KURZ.DAT");
    writeBytes(wrongSize, QByteArray(239, 'x'));
    showFor(TypeKvx);
    QString openedIn;
    chooseInFileDialog(wrongSize, &openedIn);
    click("ButtonOpen");
    EXPECT_EQ(openedIn, tmp.path());
    EXPECT_EQ(editor->field(11, 1)->text(), "");
    click("ButtonAbbruch");
    for (int g = 0; g < kGroupCount; ++g)
        EXPECT_EQ(GroupNameText(ctx.data, g), "");
    EXPECT_TRUE(prompt.asked.empty());

    QByteArray bytes(240, ' ');
    bytes.replace(0, 10, QByteArray("\xc4rger \xdf\x80\x84\x9f", 10));  // Ärger ß€„Ÿ
    bytes.replace(10, 10, QByteArray("Stra\xdf" "e    ", 10));
    bytes.replace(230, 10, QByteArray("\xe4\xf6\xfc\xc4\xd6\xdc\x96\x93\x81\x9d", 10));
    const QString source = tmp.filePath("NAMEN.DAT");
    writeBytes(source, bytes);
    showFor(TypeKvx);
    chooseInFileDialog(source);
    click("ButtonOpen");
    EXPECT_EQ(editor->field(0, 0)->text(), QString::fromUtf8("Ärger ß€„Ÿ"));
    EXPECT_EQ(editor->field(0, 1)->text(), QString::fromUtf8("Straße"));
    editor->field(1, 0)->setText(QString::fromUtf8("Süd €"));
    click("ButtonOk");
    QByteArray expected = bytes;
    expected.replace(20, 10, QByteArray("S\xfc" "d \x80     ", 10));
    QByteArray names;
    for (const GroupName &name : ctx.data.GroupNames)
        names.append(name.data(), kGroupNameLength);
    EXPECT_EQ(names, expected);
}

}  // namespace
