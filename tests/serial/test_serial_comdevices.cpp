// "Schnittstellen zuordnen": each COM number's device with its state, and
// the map stored for the next start.

#include "ptypair.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "serial/comdevicesdialog.h"
#include "serial/comportmap.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ComDevicesDialog, ShowsEachDevicesStateAndStoresChanges)
{
    QTemporaryDir tmp;
    const QString file = tmp.filePath("signovat.ini");
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    QSettings(file, QSettings::IniFormat).setValue("Ports/COM1", tmp.filePath("ttyS0"));
    QSettings(file, QSettings::IniFormat).setValue("Ports/COM2", pty.first());

    ScriptedPrompt prompt;
    ComDevicesDialog dialog(prompt, file, {2});
    EXPECT_EQ(dialog.windowTitle(), "Schnittstellen zuordnen");
    EXPECT_EQ(dialog.deviceField(1)->currentText(), tmp.filePath("ttyS0"));
    EXPECT_EQ(dialog.stateText(1), "nicht vorhanden");
    EXPECT_EQ(dialog.stateText(2), "von diesem Programm geöffnet");

    // A device typed in is probed once the typing is done.
    QLineEdit *typed = dialog.deviceField(6)->lineEdit();
    typed->setText(pty.second());
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_EQ(dialog.stateText(6), "bereit");

    dialog.okClicked();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Die Zuordnung der Schnittstellen wird beim\nSchließen der Programmeinstellungen übernommen !");
    EXPECT_EQ(prompt.asked[0].caption, "Info");
    const ComPortMap stored = ComPortMap::fromSettings(file);
    EXPECT_EQ(stored.devicePath(6), pty.second());
    EXPECT_EQ(stored.devicePath(2), pty.first());

    // Unchanged, nothing to tell.
    ComDevicesDialog again(prompt, file, {});
    EXPECT_EQ(again.stateText(2), "bereit");
    again.okClicked();
    EXPECT_EQ(prompt.asked.size(), 1u);
}

}  // namespace
