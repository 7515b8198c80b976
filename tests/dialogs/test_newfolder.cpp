// "Neuer Ordner": which names are refused, what the user is told, and where
// the folder is created.

#include "asnobody.h"
#include "dialogs/newfolder.h"
#include "qtprinters.h"
#include "scriptedprompt.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString refusedText(const QString &name)
{
    return QStringLiteral("Der Name '") + name
           + QStringLiteral("' ist kein zulässiger\nOrdnername, weil er nicht verwendbare Zeichen enthält.\n"
                            "Bitte überprüfen Sie die Eingabe und verwenden Sie nicht\n"
                            "die folgenden Zeichen: <>|*?/\\");
}

TEST(NewFolder, EveryUnusableCharacterIsRefusedAndNothingIsCreated)
{
    QTemporaryDir tmp;
    for (const QString &name : {QString("a<b"), QString("a>b"), QString("a|b"), QString("a*b"), QString("a?b"),
                                QString("a\\b"), QString("a/b"), QString("/")}) {
        ScriptedPrompt prompt;
        prompt.answers = {PromptAnswer::Ok};
        const NewFolderResult r = createNewFolder(prompt, tmp.path(), name);
        EXPECT_EQ(r.action, NewFolderResult::EditName) << name.toStdString();
        ASSERT_EQ(prompt.asked.size(), 1u);
        EXPECT_EQ(prompt.asked[0].text, refusedText(name));
        EXPECT_EQ(prompt.asked[0].caption, "Eingabefehler");
        EXPECT_EQ(prompt.asked[0].buttons, PromptButtons::OkCancel);
    }
    EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());

    ScriptedPrompt prompt;
    prompt.answers = {PromptAnswer::Cancel};
    EXPECT_EQ(createNewFolder(prompt, tmp.path(), "x*").action, NewFolderResult::Close);

    EXPECT_TRUE(isAcceptableFolderName("Kreuzung Süd: 2. Bauabschnitt"));
    EXPECT_TRUE(isAcceptableFolderName(""));
}

TEST(NewFolder, CreatesWithMissingParentsAndListsWhatExists)
{
    QTemporaryDir tmp;
    ScriptedPrompt prompt;
    const QString gone = tmp.filePath("fehlt/auch");
    NewFolderResult r = createNewFolder(prompt, gone, "Neuer Ordner");
    EXPECT_EQ(r.action, NewFolderResult::ShowNew);
    EXPECT_EQ(r.path, gone + "/Neuer Ordner");
    EXPECT_TRUE(QFileInfo(r.path).isDir());

    // One that exists already, and the empty name (the folder itself), only
    // make the tree list the folder again.
    r = createNewFolder(prompt, gone, "Neuer Ordner");
    EXPECT_EQ(r.action, NewFolderResult::ShowNew);
    r = createNewFolder(prompt, tmp.path() + "/", "");
    EXPECT_EQ(r.action, NewFolderResult::ShowNew);
    EXPECT_EQ(r.path, tmp.path() + "/");
    EXPECT_TRUE(prompt.asked.empty());

    EXPECT_EQ(newFolderPath("/daten", "K1"), "/daten/K1");
    EXPECT_EQ(newFolderPath("/", "K1"), "/K1");
}

TEST(NewFolder, AFolderThatCannotBeCreatedIsReportedWithItsPath)
{
    QTemporaryDir tmp;
    const auto readAndEnter = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
                              | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;
    const QString locked = tmp.filePath("gesperrt");
    ASSERT_TRUE(QDir().mkdir(locked));
    QFile::setPermissions(tmp.path(), readAndEnter | QFileDevice::WriteOwner);
    QFile::setPermissions(locked, readAndEnter);

    ScriptedPrompt prompt;
    NewFolderResult r;
    {
        FileAccessAsNobody nobody;
        r = createNewFolder(prompt, locked, "Neu");
    }
    EXPECT_EQ(r.action, NewFolderResult::Close);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Fehler:\nVerzeichnis konnte nicht angelegt werden !");
    EXPECT_EQ(prompt.asked[0].caption, locked + "/Neu");
    EXPECT_EQ(prompt.asked[0].icon, PromptIcon::Error);
    EXPECT_FALSE(QFileInfo::exists(locked + "/Neu"));

    // A file of that name is in the way.
    QFile file(tmp.filePath("datei"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    r = createNewFolder(prompt, tmp.path(), "datei");
    EXPECT_EQ(r.action, NewFolderResult::Close);
    EXPECT_EQ(prompt.asked.back().caption, tmp.filePath("datei"));
    QFile::setPermissions(locked, readAndEnter | QFileDevice::WriteOwner);
}

}  // namespace
