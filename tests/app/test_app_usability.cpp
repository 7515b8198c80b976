// The main window for a new user: a mnemonic of its own for every menu entry,
// Alt and the mnemonics reach a command, the standard shortcuts, F10; the
// "Info" headline readable.

#include "app/aboutbox.h"
#include "mainwindowrig.h"
#include "preview/previewwindow.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <gtest/gtest.h>

TEST(MainWindowKeys, EveryMenuEntryHasAMnemonicOfItsOwnAndCommandsAreReachedByKeys)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.startWindow());
    QMenuBar *bar = rig.w->menuBar();
    int entries = 0;
    const std::function<void(const QList<QAction *> &)> walk = [&](const QList<QAction *> &actions) {
        QList<QKeySequence> used;
        for (QAction *a : actions) {
            if (a->isSeparator())
                continue;
            const QKeySequence key = QKeySequence::mnemonic(a->text());
            EXPECT_FALSE(key.isEmpty() || used.contains(key)) << a->text().toStdString();
            used << key;
            ++entries;
            if (a->menu())
                walk(a->menu()->actions());
        }
    };
    walk(bar->actions());
    EXPECT_EQ(entries, 4 + 6 + 4 + 2 * 6 + 2 + 2 * 6 + 7 + 2);  // bar, Datei, Drucken, Soll/Ein, Aus, its two, Ist, ?

    // Alt+D, N and Ctrl+N both ask before a new program.
    rig.prompt.answers = {PromptAnswer::Cancel, PromptAnswer::Cancel};
    QTest::keyClick(rig.w.get(), Qt::Key_D, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_N);
    QTest::keyClick(rig.w.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(rig.prompt.asked.size(), 2u);
    QTest::keyClick(rig.w.get(), Qt::Key_F10);
    EXPECT_EQ(bar->activeAction(), bar->actions().first());
    EXPECT_EQ(QList<QKeySequence>({rig.w->action("Open")->shortcut(), rig.w->action("MGrpBezSpeichern")->shortcut(),
                                   rig.w->action("Beenden")->shortcut()}),
              QList<QKeySequence>({QKeySequence::Open, QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_Q)}));
}

// "Zuletzt verwendet": the folders, then the run files; a missing one greyed;
// a run file chosen opens its run.
TEST(MainWindowRecent, FoldersThenRunFilesAndAChosenRunIsShown)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.startWindow());
    const QString example = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/Hauptstrasse-Schulweg");
    const QString run = QStringLiteral(SIGNOVAT_SOURCE_DIR "/examples/transcripts/Hauptstrasse-Schulweg-KVX900.DRI");
    rig.w->controller().recentRuns().add(run);
    rig.w->controller().recentFolders().add(QStringLiteral("/gibt/es/nicht"));
    rig.w->controller().recentFolders().add(example);
    auto *recent = rig.w->findChild<QMenu *>(QStringLiteral("MZuletzt"));
    emit recent->aboutToShow();
    QStringList shown;
    for (QAction *a : recent->actions())
        shown << (a->isSeparator() ? QStringLiteral("-") : a->text() + (a->isEnabled() ? "" : " (grau)"));
    EXPECT_EQ(shown, QStringList({"&1  " + example, "&2  /gibt/es/nicht (grau)", "-", "&3  " + run}));
    recent->actions().last()->trigger();
    ASSERT_TRUE(rig.w->previewWindow() && rig.w->previewWindow()->isVisible());
    EXPECT_EQ(rig.w->previewWindow()->chart().Rows.size(), 250u);
    rig.w->previewWindow()->close();
}

TEST(MainWindowLabels, ALongValueIsCutWithAnEllipsisAndShownWholeInTheTooltip)
{
    MainWindowRig rig;
    ASSERT_TRUE(rig.startWindow());
    const QString folder = QStringLiteral("/daten/") + QString(80, QLatin1Char('x')) + QStringLiteral("/Kreuzung");
    rig.ctx.CurrentDataDir = folder;
    rig.w->controller().RefreshDisplay();
    rig.w->applyView();
    const QLabel *shown = rig.w->findChild<QLabel *>(QStringLiteral("AktDatei"));
    EXPECT_TRUE(shown->text().endsWith(QStringLiteral("Kreuzung")) && shown->text().size() < folder.size());
    EXPECT_EQ(shown->toolTip(), folder);
}

// The program's font is set in pixels, as the application does.
TEST(AboutBox, TheHeadlineIsLargerThanTheLinesBelowIt)
{
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
    TAboutBox box;
    const QList<QLabel *> labels = box.findChildren<QLabel *>();
    ASSERT_EQ(labels.first()->text(), QStringLiteral("Grafisches Druckprogramm"));
    EXPECT_GT(QFontInfo(labels.first()->font()).pixelSize(), QFontInfo(labels.last()->font()).pixelSize());
}
