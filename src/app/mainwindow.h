#pragma once
// TFormSteuer, the main window: shows the MainController's view and forwards
// every command to it.

#include "app/controllerpolling.h"
#include "base/refreshingprompt.h"
#include "app/maincontroller.h"
#include "render/chartdata.h"

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QRadioButton;
class QTimer;
class TAboutBox;
class TFGrafik;
class TFormGetDir;
class TFormGrpBez;
class TFormLaden;
class TFormStand;

// What the main window opens right after start-up, from its command line: a
// data folder (--data), then the target plan of one of its programs
// (--preview N), or a saved run (FILE.DRI).
struct StartupRequest {
    QString dataFolder;
    int program = 0;
    QString runFile;
};

class TFormSteuer : public QMainWindow, public MainWindowHost {
    Q_OBJECT
public:
    TFormSteuer(AppContext &ctx, SettingsStore &registry, Prompt &prompt, SerialPort &controllerPort,
                SerialPort &printerPort, ControllerLink &link, QWidget *parent = nullptr);
    ~TFormSteuer() override;

    MainController &controller() { return controller_; }
    // Shows what the controller decided.
    void applyView();

    // MainWindowHost
    bool groupNamesEditorVisible() const override;
    bool settingsDialogVisible() const override;
    bool previewWindowExists() const override;
    int textWidth(const QString &text) const override;
    bool pickDataFolder(const QString &startDir, QString *chosen) override;
    bool showLoadReport(const QStringList &lines) override;

    void setStartupRequest(const StartupRequest &request) { startup_ = request; }

    // Controls by their names, for tests.
    QLabel *label(const QString &name) const;
    QAction *action(const QString &name) const;
    TFormGrpBez *groupNamesEditor() const { return grpBez_; }
    TFormStand *settingsDialog() const { return stand_; }
    TFGrafik *previewWindow() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildMenus();
    void buildToolBar();
    void buildPanels();
    void buildStatusBar();
    QAction *addCommand(QMenu *menu, const QString &name, const QString &caption,
                        void (TFormSteuer::*handler)());
    void initTimer();
    void openStartupRequest();
    void ioTimer();
    void datenLaden();
    void neuesProgramm();
    void grpBez();
    void grpBezLaden();
    void grpBezSpeichern();
    void einstellungen();
    void about();
    void help();
    void connectChartCommands();
    // Creates the preview window when there is none; it is freed when closed.
    void EnsurePreviewWindow();
    void openTargetChart(int programNumber, DisplayMode kind);
    // "Drucken" / "Ist": a saved run, a controller's run (the printer-stream
    // port is opened first) or the simulation program's.
    void MDIstDateiClick();
    // "Aus Datei laden" with the file already chosen.
    void openRunFile(const QString &path);
    // "Zuletzt verwendet": the recent folders, then the recent run files.
    void fillRecentMenu();
    void receiveActualRun(DisplayMode mode);
    void MDIstSimuClick();
    bool openPrinterStreamPort();
    void showActualRun(DisplayMode mode, const QString &runFile = QString());

    AppContext &ctx_;
    Prompt &prompt_;
    SerialPort &controllerPort_;
    SerialPort &printerPort_;
    ControllerLink &link_;
    // The main window's own messages appear over its labels as they now are.
    RefreshingPrompt controllerPrompt_;
    MainController controller_;
    ControllerPolling polling_;
    QTimer *init_ = nullptr;
    QTimer *io_ = nullptr;

    QMenu *mZuletzt_ = nullptr;
    QMenu *mDatei_ = nullptr, *mDrucken_ = nullptr, *mDSoll_ = nullptr, *mDEin_ = nullptr,
          *mDAus_ = nullptr, *mDAusG_ = nullptr, *mDAusS_ = nullptr, *mDIst_ = nullptr;
    QAction *mDSollMenu_ = nullptr, *mProgEinstell_ = nullptr, *mHilfe_ = nullptr;
    std::array<QAction *, 6> mDSollItems_{}, mDEinItems_{}, mDAusGItems_{}, mDAusSItems_{};
    QAction *mDIstKVX_ = nullptr, *mDIstQSW_ = nullptr;
    std::array<QAction *, 3> mDIstKVX40_{};
    QAction *tbNeu_ = nullptr, *tbEditGrpBez_ = nullptr, *tbSave_ = nullptr, *tbOpen_ = nullptr,
            *tbProgEinstell_ = nullptr;

    QLabel *labelAnlage_ = nullptr, *labelBetrArt_ = nullptr, *labelGrpZahl_ = nullptr,
           *labelStandort1_ = nullptr, *labelStandort2_ = nullptr, *labelAuftrag_ = nullptr,
           *aktDatei_ = nullptr, *labelNotProg_ = nullptr, *labelTyp_ = nullptr,
           *labelVersion_ = nullptr;
    std::array<QLabel *, 6> pFrei_{};
    QWidget *bevelTyp_ = nullptr;
    QRadioButton *radioKVX40_ = nullptr, *radioKVX_ = nullptr;
    QComboBox *comboVersion_ = nullptr;
    std::array<QLabel *, 5> status_{};

    TFormGetDir *getDir_ = nullptr;
    TFormLaden *laden_ = nullptr;
    TFormStand *stand_ = nullptr;
    TFormGrpBez *grpBez_ = nullptr;
    TAboutBox *about_ = nullptr;
    QPointer<TFGrafik> preview_;
    StartupRequest startup_;
    bool leavingByMenu_ = false;  // "Beenden" is closing the windows
};
