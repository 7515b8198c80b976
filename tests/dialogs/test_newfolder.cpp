// "Neuer Ordner": which names are refused and why, where the folder is
// created, and what the user is told when it cannot be.

#include "asnobody.h"
#include "dialogs/newfolder.h"
#include "qtprinters.h"

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

TEST(NewFolder, EveryUnusableCharacterIsRefused)
{
    for (const QString &name : {QString("a<b"), QString("a>b"), QString("a|b"), QString("a*b"), QString("a?b"),
                                QString("a\\b"), QString("a/b"), QString("/")}) {
        const std::optional<Message> refusal = folderNameRefusal(name);
        ASSERT_TRUE(refusal) << name.toStdString();
        EXPECT_EQ(refusal->text, refusedText(name));
        EXPECT_EQ(refusal->caption, "Eingabefehler");
        EXPECT_EQ(refusal->icon, PromptIcon::Warning);
    }
    EXPECT_FALSE(folderNameRefusal("Kreuzung Süd: 2. Bauabschnitt"));
    EXPECT_FALSE(folderNameRefusal(""));
}

TEST(NewFolder, CreatesWithMissingParentsAndListsWhatExists)
{
    QTemporaryDir tmp;
    const QString gone = tmp.filePath("fehlt/auch");
    NewFolderResult r = createNewFolder(gone, "Neuer Ordner");
    EXPECT_FALSE(r.failure);
    EXPECT_EQ(r.path, gone + "/Neuer Ordner");
    EXPECT_TRUE(QFileInfo(r.path).isDir());

    // One that exists already, and the empty name (the folder itself), only
    // make the tree list the folder again.
    r = createNewFolder(gone, "Neuer Ordner");
    EXPECT_FALSE(r.failure);
    r = createNewFolder(tmp.path() + "/", "");
    EXPECT_FALSE(r.failure);
    EXPECT_EQ(r.path, tmp.path() + "/");

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

    NewFolderResult r;
    {
        FileAccessAsNobody nobody;
        r = createNewFolder(locked, "Neu");
    }
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(r.failure->text, "Fehler:\nVerzeichnis konnte nicht angelegt werden !");
    EXPECT_EQ(r.failure->caption, locked + "/Neu");
    EXPECT_EQ(r.failure->icon, PromptIcon::Error);
    EXPECT_FALSE(QFileInfo::exists(locked + "/Neu"));

    // A file of that name is in the way.
    QFile file(tmp.filePath("datei"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    r = createNewFolder(tmp.path(), "datei");
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(r.failure->caption, tmp.filePath("datei"));
    QFile::setPermissions(locked, readAndEnter | QFileDevice::WriteOwner);
}

}  // namespace
