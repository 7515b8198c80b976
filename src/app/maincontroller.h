#pragma once
// Everything the main window decides: its labels, caption, which commands are
// offered, the status panels, the port set-up and the data-loading road. The
// window only shows the MainView and forwards clicks.

#include "context/appcontext.h"
#include "base/prompt.h"
#include "base/recentlist.h"
#include "serial/portproblem.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class SerialPort;
class SettingsStore;

struct MainView {
    QString caption = QStringLiteral("Signovat");
    QString LabelAnlage, LabelBetrArt, LabelGrpZahl;
    QString LabelStandort1, LabelStandort2, LabelAuftrag;
    QString AktDatei;
    QString LabelNotProg;
    std::array<bool, 6> PFrei{};          // enabled = program released

    bool MDSollVisible = false;
    std::array<bool, 6> programMenuVisible{};  // MDSoll n, MDEin n, MDAusG n, MDAusS n
    bool MHilfeVisible = false;

    bool notBusy = true;                  // MDatei, MDrucken, MProgEinstell, toolbar
    bool MDIstKVXEnabled = false;
    bool MDIstQSWEnabled = false;
    bool MDIstKVX40Enabled = false;       // the three KVX 40 / 10 capture commands
    bool MDAusSEnabled = false;
    // Why the capture commands are off while the printing port is not usable;
    // empty otherwise.
    QString captureToolTip;

    bool kvx40Selected = true;            // RadioButtonKVX40, else RadioButtonKVX
    int versionItem = 3;                  // ComboBoxVersion
    bool versionVisible = true;           // LabelVersion, ComboBoxVersion
    bool typeControlsEnabled = true;      // the interface-type panel

    std::array<QString, 5> statusPanels;
};

// What the controller asks of the windows around it.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    virtual bool groupNamesEditorVisible() const = 0;
    virtual bool settingsDialogVisible() const = 0;
    virtual bool previewWindowExists() const = 0;
    // Pixel width of a text in the main window's label font.
    virtual int textWidth(const QString &text) const = 0;
    // Shows the data folder picker modally; true on OK. chosen is the picker's
    // folder whether or not OK was pressed.
    virtual bool pickDataFolder(const QString &startDir, QString *chosen) = 0;
    // Shows the load report "Geladene Daten" modally; true when closed with OK.
    virtual bool showLoadReport(const QStringList &lines) = 0;
};

class MainController {
public:
    MainController(AppContext &ctx, SettingsStore &registry, Prompt &prompt, MainWindowHost &host,
                   SerialPort &controllerPort, SerialPort &printerPort);

    const MainView &view() const { return view_; }

    // Start-up: settings were loaded; creates the working folders.
    void createMainWindow();
    // The Init timer: first tick creates the start-up data and opens the ports.
    void initTick(const QDateTime &now);

    // After every change of the loaded data, in this order: the view
    // (RefreshDisplay), the settings written, the ports (re)opened as flagged
    // with their messages, then the command state and the port panels.
    void Refresh();
    // The view of the loaded data: labels, caption, menus, and the
    // controller family. Writes and opens nothing.
    void RefreshDisplay();
    void UpdateCommandState();
    void UpdatePortPanels();
    void UpdateTypeControls();
    void ResetToNewProgram(bool askGroupNames);
    // Before an actual run is shown: a loaded installation stays the plan
    // the run can be compared with, then new data as for any "Ist" command.
    void ResetForActualRun(bool askGroupNames);
    // The settings dialog closes: both ports are closed and set up again from
    // the current settings, with the refresh that reports a failure.
    void ReopenPorts();

    // The last data folders and run files opened, for "Zuletzt verwendet".
    RecentList &recentFolders() { return recentFolders_; }
    RecentList &recentRuns() { return recentRuns_; }

    // Commands.
    void DatenLadenClick();
    // "Daten laden" with the folder already chosen (from "Zuletzt verwendet").
    void OpenDataFolder(const QString &folder);
    void NeuesProgrammClick();
    void RadioButtonKVX40Enter();
    void RadioButtonKVXEnter();
    void ComboBoxVersionChange(int item);
    void FormClose();

    // What "Daten laden" does once the picker closed with OK: refuse a folder
    // without any data file (nothing changes), else reset, read the folder's
    // files, show the report, refuse data that are not fixed-time.
    void loadChosenFolder(const QString &folder);
    // Reads folder's data files into the loaded data; returns the report lines.
    QStringList loadDataFolder(const QString &folder);

private:
    void saveSettings();
    // Opens the ports whose reopen flag is set; a controller family other
    // than the one they were opened for reopens both.
    void openPorts();
    // What is known of a port beyond its flags: the problem of its last
    // failed opening, and the one last told to the user.
    struct PortReport {
        PortProblem problem;
        std::optional<PortProblem> shown;
    };
    // Opens port as COM(index + 1) when its reopen flag is set; a missing or
    // busy port is marked failed and reported, unless the very same problem
    // was the last one told for it.
    void openPort(SerialPort &port, int index, bool &reopen, bool &failed, int baud, int stopBits,
                  const QString &missingMessage, PortReport &report);
    void rejectUnlessFixedTime();
    // The picker's folder is where it starts next time.
    void rememberPickedFolder(const QString &folder);

    AppContext &ctx_;
    SettingsStore &registry_;
    Prompt &prompt_;
    MainWindowHost &host_;
    SerialPort &controllerPort_;
    SerialPort &printerPort_;
    ControllerFamily portsFamily_;
    PortReport printerReport_, controllerReport_;  // the family the ports were last set up for
    MainView view_;
    RecentList recentFolders_{registry_, QStringLiteral("Verzeichnis")};
    RecentList recentRuns_{registry_, QStringLiteral("Datei")};
};
