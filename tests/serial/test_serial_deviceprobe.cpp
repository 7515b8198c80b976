// What the probe says about a device (ready, missing, in use, no permission
// with the device's group, no serial port), the devices it offers, and
// "Schnittstellen zuordnen": each COM number's device with its state, stored
// for the next start.

#include "asnobody.h"
#include "ptypair.h"
#include "qtprinters.h"
#include "scriptedprompt.h"
#include "serial/comdevicesdialog.h"
#include "serial/comportmap.h"
#include "serial/deviceprobe.h"
#include "serial/deviceserialport.h"
#include "tempdir.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

// What the probe says, marked when it finds the device usable.
static QString refusal(const QString &device)
{
    const DeviceProbe probe = probeDevice(device);
    return probe.usable ? "(usable) " + probe.text : probe.text;
}

// What a port finds opening the device, for the message that says what to do.
static PortFault faultOpening(const QString &device)
{
    DeviceSerialPort port;
    port.selectDevice(device);
    return port.open() ? PortFault::None : port.problem().fault;
}

TEST(DeviceProbe, TellsWhyADeviceCannotBeOpened)
{
    QTemporaryDir tmp;
    EXPECT_EQ(refusal(""), "kein Gerät angegeben");
    EXPECT_EQ(refusal(tmp.filePath("ttyUSB7")), "nicht vorhanden");
    writeBytes(tmp.filePath("datei"), "unverändert");
    EXPECT_EQ(refusal(tmp.filePath("datei")), tmp.filePath("datei") + " ist keine serielle Schnittstelle");
    EXPECT_EQ(readBytes(tmp.filePath("datei")), "unverändert");
    EXPECT_EQ(faultOpening(tmp.filePath("ttyUSB7")), PortFault::Missing);
    EXPECT_EQ(faultOpening(tmp.filePath("datei")), PortFault::NotSerial);

    // A device another port holds is in use until that port closes: opening is exclusive.
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    DeviceSerialPort holder;
    holder.selectDevice(pty.first());
    ASSERT_TRUE(holder.open());
    EXPECT_EQ(refusal(pty.first()), "Schnittstelle " + pty.first() + " ist von einer anderen Anwendung belegt");
    EXPECT_EQ(faultOpening(pty.first()), PortFault::InUse);
    holder.close();
    EXPECT_EQ(refusal(pty.first()), "(usable) bereit");
}

TEST(DeviceProbe, NamesTheGroupAUserWithoutPermissionMustJoin)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as a user outside the device's group";
    PtyPair pty;
    ASSERT_TRUE(pty.ok()) << pty.error().toStdString();
    QString denied;
    PortProblem problem;
    {
        FileAccessAsNobody nobody;
        denied = refusal(pty.second());
        DeviceSerialPort port;
        port.selectDevice(pty.second());
        port.open();
        problem = port.problem();
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(pty.second()).constData(), &st), 0);
    const group *owner = ::getgrgid(st.st_gid);
    ASSERT_TRUE(owner);
    EXPECT_EQ(denied, QString("Keine Berechtigung für Schnittstelle %1: der Benutzer muss Mitglied der Gruppe "
                              "„%2“, der das Gerät gehört sein").arg(pty.second(), owner->gr_name));
    EXPECT_EQ(problem.fault, PortFault::NoPermission);
    EXPECT_EQ(problem.group, owner->gr_name);
}

TEST(DeviceProbe, OffersStableNamesAdaptersAndTheFirstSerialLines)
{
    QTemporaryDir dev;
    QDir().mkpath(dev.filePath("serial/by-id"));
    for (const char *name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "ttyS0", "ttyS3", "ttyS7", "tty1", "null"})
        writeBytes(dev.filePath(name), "");
    QFile::link(dev.filePath("ttyUSB0"), dev.filePath("serial/by-id/usb-Prolific-if00-port0"));
    EXPECT_EQ(serialDeviceCandidates(dev.path()),
              (QStringList{dev.filePath("serial/by-id/usb-Prolific-if00-port0"), dev.filePath("ttyACM0"),
                           dev.filePath("ttyUSB0"), dev.filePath("ttyUSB1"), dev.filePath("ttyS0"),
                           dev.filePath("ttyS3")}));
}

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
    EXPECT_EQ(prompt.texts(), QStringList{"Die Zuordnung der Schnittstellen wird beim\nSchließen der "
                                          "Programmeinstellungen übernommen !"});
    EXPECT_EQ(prompt.asked[0].caption, "Info");
    EXPECT_EQ(ComPortMap::fromSettings(file).devicePath(6), pty.second());

    // Unchanged, nothing to tell.
    ComDevicesDialog again(prompt, file, {});
    EXPECT_EQ(again.stateText(2), "bereit");
    again.okClicked();
    EXPECT_EQ(prompt.asked.size(), 1u);
}
