// "Neuer Ordner": refused names and why, where the folder goes, what is told when it cannot be made.

#include "asnobody.h"
#include "dialogs/newfolder.h"
#include "qtprinters.h"
#include "tempdir.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(NewFolder, EveryUnusableCharacterIsRefused)
{
    for (const char *name : {"a<b", "a>b", "a|b", "a*b", "a?b", "a\\b", "a/b", "/"}) {
        const std::optional<Message> refusal = folderNameRefusal(name);
        ASSERT_TRUE(refusal) << name;
        EXPECT_EQ(refusal->text, QString("Der Name '%1' ist kein zulässiger\nOrdnername, weil er nicht verwendbare "
                                         "Zeichen enthält.\nBitte überprüfen Sie die Eingabe und verwenden Sie "
                                         "nicht\ndie folgenden Zeichen: <>|*?/\\").arg(name));
        EXPECT_EQ(std::pair(refusal->caption, refusal->icon), std::pair(QString("Eingabefehler"), PromptIcon::Warning));
    }
    EXPECT_FALSE(folderNameRefusal("Kreuzung Süd: 2. Bauabschnitt") || folderNameRefusal(""));
}

TEST(NewFolder, CreatesWithMissingParentsAndListsWhatExists)
{
    QTemporaryDir tmp;
    const QString gone = tmp.filePath("fehlt/auch");
    EXPECT_EQ(createNewFolder(gone, "Neuer Ordner").path, gone + "/Neuer Ordner");
    EXPECT_TRUE(QFileInfo(gone + "/Neuer Ordner").isDir());
    // An existing one and the empty name (the folder itself) only make the tree list the folder again.
    EXPECT_FALSE(createNewFolder(gone, "Neuer Ordner").failure);
    const NewFolderResult itself = createNewFolder(tmp.path() + "/", "");
    EXPECT_TRUE(!itself.failure && itself.path == tmp.path() + "/");
    EXPECT_EQ(newFolderPath("/daten", "K1") + " " + newFolderPath("/", "K1"), "/daten/K1 /K1");
}

TEST(NewFolder, AFolderThatCannotBeCreatedIsReportedWithItsPath)
{
    QTemporaryDir tmp;
    const QString locked = tmp.filePath("gesperrt");
    ASSERT_TRUE(QDir().mkdir(locked));
    const auto readAndEnter = QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile::setPermissions(tmp.path(), readAndEnter | QFileDevice::WriteOwner);
    QFile::setPermissions(locked, readAndEnter);
    NewFolderResult r;
    {
        FileAccessAsNobody nobody;
        r = createNewFolder(locked, "Neu");
    }
    QFile::setPermissions(locked, readAndEnter | QFileDevice::WriteOwner);
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(std::tuple(r.failure->text, r.failure->caption, r.failure->icon),
              std::tuple(QString("Fehler:\nVerzeichnis konnte nicht angelegt werden !"), locked + "/Neu", PromptIcon::Error));
    EXPECT_FALSE(QFileInfo::exists(locked + "/Neu"));

    // A file of that name is in the way.
    ASSERT_TRUE(writeBytes(tmp.filePath("datei"), ""));
    r = createNewFolder(tmp.path(), "datei");
    ASSERT_TRUE(r.failure);
    EXPECT_EQ(r.failure->caption, tmp.filePath("datei"));
}
