#include "app/mainwindow.h"

#include "actual/actualrun.h"
#include "app/aboutbox.h"
#include "base/exceptionreport.h"
#include "base/laterprompt.h"
#include "app/settingsdialog.h"
#include "base/utilities.h"
#include "data/groupnameseditor.h"
#include "data/loadreportwindow.h"
#include "data/namesfile.h"
#include "data/namesfiledialog.h"
#include "dialogs/datafolderpicker.h"
#include "preview/actualrunfiledialog.h"
#include "preview/previewwindow.h"
#include "preview/printerdialog.h"
#include "render/datasetchart.h"
#include "serial/serialport.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QPainter>
#include <QPixmap>
#include <QIcon>
#include <QTimer>
#include <QToolBar>
#include <stdexcept>

namespace {
// A value longer than its label is cut in the middle with "…"; the whole
// text (whole, when the value is already a shortened form) is then in the tooltip.
void setElidedText(QLabel *label, const QString &text, QString whole = QString())
{
    if (whole.isEmpty())
        whole = text;
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width() - 4);
    label->setText(shown);
    label->setToolTip(shown == whole ? QString() : whole);
}

// "Neues Programm": a page with a green plus; the style's plain page looks disabled.
QIcon newProgramIcon()
{
    QPixmap page(32, 32);
    page.fill(Qt::transparent);
    QPainter p(&page);
    p.setPen(QPen(QColor(60, 60, 60), 2));
    p.setBrush(Qt::white);
    p.drawRect(6, 2, 20, 28);
    p.setPen(QPen(QColor(0, 140, 0), 4));
    p.drawLine(16, 10, 16, 22);
    p.drawLine(10, 16, 22, 16);
    return QIcon(page);
}

constexpr int kClientWidth = 692;
constexpr int kClientHeight = 252;
constexpr int kToolBarHeight = 30;
constexpr int kStatusBarHeight = 20;

QLabel *boldCaption(const QString &text, QWidget *parent, int x, int y)
{
    auto *l = new QLabel(text, parent);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    l->move(x, y);
    l->adjustSize();
    l->resize(l->width(), 18);
    return l;
}

QLabel *valueLabel(const QString &name, QWidget *parent, int x, int y, int width)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(x, y, width, 18);
    return l;
}
}  // namespace

TFormSteuer::TFormSteuer(AppContext &ctx, SettingsStore &registry, Prompt &prompt,
                         SerialPort &controllerPort, SerialPort &printerPort, ControllerLink &link,
                         QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint
                              | Qt::MSWindowsFixedSizeDialogHint),
      ctx_(ctx),
      prompt_(prompt),
      controllerPort_(controllerPort),
      printerPort_(printerPort),
      link_(link),
      controllerPrompt_(prompt, [this] { applyView(); }),
      controller_(ctx, registry, controllerPrompt_, *this, controllerPort, printerPort),
      polling_(ctx, link, controllerPort, printerPort)
{
    setObjectName(QStringLiteral("TFormSteuer"));
    setWindowTitle(QStringLiteral("Signovat"));
    buildMenus();
    connectChartCommands();
    buildToolBar();
    buildPanels();
    buildStatusBar();
    setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());

    getDir_ = new TFormGetDir(prompt, this);
    laden_ = new TFormLaden(this);
    stand_ = new TFormStand(ctx, prompt, controller_, registry.fileName(), this);
    connect(stand_, &TFormStand::mainViewChanged, this, &TFormSteuer::applyView);
    grpBez_ = new TFormGrpBez(ctx.data, ctx.settings, prompt, this);
    connect(grpBez_, &TFormGrpBez::visibilityChanged, this, [this] {
        controller_.UpdateCommandState();
        applyView();
    });
    about_ = new TAboutBox(this);

    controller_.createMainWindow();

    init_ = new QTimer(this);
    init_->setInterval(250);
    connect(init_, &QTimer::timeout, this, &TFormSteuer::initTimer);
    io_ = new QTimer(this);
    io_->setInterval(10);
    io_->setObjectName(QStringLiteral("IOTimer"));
    connect(io_, &QTimer::timeout, this, &TFormSteuer::ioTimer);
    // The link tick runs only while the link has work: idle, the window
    // leaves the processor alone.
    polling_.setTickSwitch([this](bool run) { run ? io_->start() : io_->stop(); });
    init_->start();
}

TFormSteuer::~TFormSteuer() = default;

QAction *TFormSteuer::addCommand(QMenu *menu, const QString &name, const QString &caption,
                                 void (TFormSteuer::*handler)())
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(name);
    if (handler)
        connect(a, &QAction::triggered, this, handler);
    return a;
}

void TFormSteuer::buildMenus()
{
    QMenuBar *bar = menuBar();
    mDatei_ = bar->addMenu(QStringLiteral("&Datei"));
    mDatei_->setObjectName(QStringLiteral("MDatei"));
    addCommand(mDatei_, QStringLiteral("MGruppenbezeichnung"), QStringLiteral("&Gruppenbezeichnung"),
               &TFormSteuer::grpBez);
    mDatei_->addSeparator();
    addCommand(mDatei_, QStringLiteral("MGrpBezLaden"), QStringLiteral("Gruppenbezeichnung &laden"),
               &TFormSteuer::grpBezLaden);
    addCommand(mDatei_, QStringLiteral("MGrpBezSpeichern"), QStringLiteral("Gruppenbezeichnung &speichern"),
               &TFormSteuer::grpBezSpeichern)
        ->setShortcut(QKeySequence::Save);
    mDatei_->addSeparator();
    addCommand(mDatei_, QStringLiteral("NeuesProgramm"), QStringLiteral("&Neues Programm"),
               &TFormSteuer::neuesProgramm)
        ->setShortcut(QKeySequence::New);
    mDatei_->addSeparator();
    mZuletzt_ = mDatei_->addMenu(QStringLiteral("&Zuletzt verwendet"));
    mZuletzt_->setObjectName(QStringLiteral("MZuletzt"));
    mZuletzt_->setToolTipsVisible(true);
    connect(mZuletzt_, &QMenu::aboutToShow, this, &TFormSteuer::fillRecentMenu);
    mDatei_->addSeparator();
    QAction *beenden = addCommand(mDatei_, QStringLiteral("Beenden"), QStringLiteral("&Beenden"), nullptr);
    beenden->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    // "Beenden" leaves without the close handler's save of the interface
    // selection. The other windows are still asked to close, so a received
    // run is offered for saving; quitting closes them before it returns.
    connect(beenden, &QAction::triggered, this, [this] {
        leavingByMenu_ = true;
        QCoreApplication::quit();
        leavingByMenu_ = false;
    });

    mDrucken_ = bar->addMenu(QStringLiteral("D&rucken"));
    mDrucken_->setObjectName(QStringLiteral("MDrucken"));
    mDSoll_ = mDrucken_->addMenu(QStringLiteral("&Soll"));
    mDSoll_->setObjectName(QStringLiteral("MDSoll"));
    mDSollMenu_ = mDSoll_->menuAction();
    mDEin_ = mDrucken_->addMenu(QStringLiteral("&Einschaltprogramme"));
    mDEin_->setObjectName(QStringLiteral("MDEin"));
    mDAus_ = mDrucken_->addMenu(QStringLiteral("&Ausschaltprogramme"));
    mDAus_->setObjectName(QStringLiteral("MDAus"));
    mDAusG_ = mDAus_->addMenu(QStringLiteral("&Gezielte"));
    mDAusG_->setObjectName(QStringLiteral("MDAusG"));
    mDAusS_ = mDAus_->addMenu(QStringLiteral("&Störung"));
    mDAusS_->setObjectName(QStringLiteral("MDAusS"));
    for (int n = 0; n < 6; ++n) {
        const QString caption = QStringLiteral("Programm &%1").arg(n + 1);
        mDSollItems_[n] = addCommand(mDSoll_, QStringLiteral("MDSoll%1").arg(n + 1), caption, nullptr);
        mDEinItems_[n] = addCommand(mDEin_, QStringLiteral("MDEin%1").arg(n + 1), caption, nullptr);
        mDAusGItems_[n] = addCommand(mDAusG_, QStringLiteral("MDAusG%1").arg(n + 1), caption, nullptr);
        mDAusSItems_[n] = addCommand(mDAusS_, QStringLiteral("MDAusS%1").arg(n + 1), caption, nullptr);
    }
    mDIst_ = mDrucken_->addMenu(QStringLiteral("&Ist"));
    mDIst_->setObjectName(QStringLiteral("MDIst"));
    mDIst_->setToolTipsVisible(true);  // a disabled capture command says why
    addCommand(mDIst_, QStringLiteral("MDIstDatei"), QStringLiteral("Aus &Datei laden"),
               &TFormSteuer::MDIstDateiClick);
    mDIstKVX_ = addCommand(mDIst_, QStringLiteral("MDIstKVX"), QStringLiteral("&KVX"), nullptr);
    mDIstKVX40_[0] = addCommand(mDIst_, QStringLiteral("MDIstKVX40_1200"),
                                QStringLiteral("KVX 40 / 10, &1200 Baud"), nullptr);
    mDIstKVX40_[1] = addCommand(mDIst_, QStringLiteral("MDIstKVX40_9600"),
                                QStringLiteral("KVX 40 / 10, &9600 Baud"), nullptr);
    mDIstKVX40_[2] = addCommand(mDIst_, QStringLiteral("MDIstKVX40_19200"),
                                QStringLiteral("KVX 40 / 10, 19&200 Baud"), nullptr);
    mDIstQSW_ = addCommand(mDIst_, QStringLiteral("MDIstQSW"), QStringLiteral("&QSW 2000 / 2200"), nullptr);
    const std::pair<QAction *, DisplayMode> controllerRuns[] = {
        {mDIstKVX_, DisplayMode::RunKvx},
        {mDIstKVX40_[0], DisplayMode::RunKvx40At1200},
        {mDIstKVX40_[1], DisplayMode::RunKvx40At9600},
        {mDIstKVX40_[2], DisplayMode::RunKvx40At19200},
        {mDIstQSW_, DisplayMode::RunQsw},
    };
    for (const auto &[action, mode] : controllerRuns)
        connect(action, &QAction::triggered, this, [this, mode = mode] { receiveActualRun(mode); });
    addCommand(mDIst_, QStringLiteral("MDIstSimu"), QStringLiteral("&Simulationsprogramm"),
               &TFormSteuer::MDIstSimuClick);

    mProgEinstell_ = bar->addAction(QStringLiteral("Programm&einstellungen"));
    mProgEinstell_->setObjectName(QStringLiteral("MProgEinstell"));
    connect(mProgEinstell_, &QAction::triggered, this, &TFormSteuer::einstellungen);

    QMenu *info = bar->addMenu(QStringLiteral(" &?"));
    info->setObjectName(QStringLiteral("InfoMenu"));
    // F10 opens the menu bar here; the secondary windows consume it.
    auto *menuKey = new QAction(this);
    menuKey->setShortcut(Qt::Key_F10);
    addAction(menuKey);
    connect(menuKey, &QAction::triggered, this, [bar, this] { bar->setActiveAction(mDatei_->menuAction()); });
    mHilfe_ = addCommand(info, QStringLiteral("MHilfe"), QStringLiteral("&Onlinehilfe"), &TFormSteuer::help);
    addCommand(info, QStringLiteral("About"), QStringLiteral("&Info"), &TFormSteuer::about);
}

void TFormSteuer::buildToolBar()
{
    QToolBar *tb = addToolBar(QStringLiteral("Werkzeuge"));
    tb->setMovable(false);
    tb->setFloatable(false);
    tb->setFixedHeight(kToolBarHeight);
    tb->setContextMenuPolicy(Qt::PreventContextMenu);
    QStyle *st = style();
    auto add = [&](const QString &name, QStyle::StandardPixmap icon, const QString &hint) {
        QAction *a = tb->addAction(st->standardIcon(icon), hint);
        a->setObjectName(name);
        a->setToolTip(hint);
        return a;
    };
    tbNeu_ = add(QStringLiteral("Neu"), QStyle::SP_FileIcon, QStringLiteral("Neues Programm"));
    tbNeu_->setIcon(newProgramIcon());
    connect(tbNeu_, &QAction::triggered, this, &TFormSteuer::neuesProgramm);
    tbEditGrpBez_ = add(QStringLiteral("EditGrpBez"), QStyle::SP_FileDialogDetailedView,
                        QStringLiteral("Gruppenbezeichnung"));
    connect(tbEditGrpBez_, &QAction::triggered, this, &TFormSteuer::grpBez);
    tbSave_ = add(QStringLiteral("Save"), QStyle::SP_DialogSaveButton,
                  QStringLiteral("Gruppenbezeichnung speichern"));
    connect(tbSave_, &QAction::triggered, this, &TFormSteuer::grpBezSpeichern);
    tbOpen_ = add(QStringLiteral("Open"), QStyle::SP_DialogOpenButton, QStringLiteral("Daten laden"));
    tbOpen_->setShortcut(QKeySequence::Open);  // the one command without a menu item
    connect(tbOpen_, &QAction::triggered, this, &TFormSteuer::datenLaden);
    auto *spacer = new QWidget(tb);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    tb->addWidget(spacer);
    tbProgEinstell_ = add(QStringLiteral("SProgEinstell"), QStyle::SP_ComputerIcon,
                          QStringLiteral("Programmeinstellungen"));
    connect(tbProgEinstell_, &QAction::triggered, this, &TFormSteuer::einstellungen);
}

void TFormSteuer::buildPanels()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    // Left: the installation.
    const int capX = 8, valX = 104, row = 22, top = 8;
    boldCaption(QStringLiteral("Anlage:"), central, capX, top);
    labelAnlage_ = valueLabel(QStringLiteral("LabelAnlage"), central, valX, top, 236);
    boldCaption(QStringLiteral("Betriebsart:"), central, capX, top + row);
    labelBetrArt_ = valueLabel(QStringLiteral("LabelBetrArt"), central, valX, top + row, 236);
    boldCaption(QStringLiteral("Gruppen:"), central, capX, top + 2 * row);
    labelGrpZahl_ = valueLabel(QStringLiteral("LabelGrpZahl"), central, valX, top + 2 * row, 236);
    boldCaption(QStringLiteral("Standort:"), central, capX, top + 3 * row);
    labelStandort1_ = valueLabel(QStringLiteral("LabelStandort1"), central, valX, top + 3 * row, 236);
    labelStandort2_ = valueLabel(QStringLiteral("LabelStandort2"), central, valX, top + 4 * row, 236);
    boldCaption(QStringLiteral("Auftraggeber:"), central, capX, top + 5 * row);
    labelAuftrag_ = valueLabel(QStringLiteral("LabelAuftrag"), central, valX, top + 5 * row, 236);
    boldCaption(QStringLiteral("Datei:"), central, capX, top + 6 * row);
    // Below the interface box: the shortened path may be 270 pixels wide.
    aktDatei_ = valueLabel(QStringLiteral("AktDatei"), central, valX, top + 6 * row, 290);

    // Middle: the controller interface.
    bevelTyp_ = new QGroupBox(central);
    bevelTyp_->setObjectName(QStringLiteral("BevelTyp"));
    bevelTyp_->setGeometry(344, 4, 198, 132);  // the longest radio text clear of the frame
    labelTyp_ = new QLabel(QStringLiteral("Anlagentyp Steuerschnittstelle"), bevelTyp_);
    labelTyp_->setObjectName(QStringLiteral("LabelTyp"));
    labelTyp_->setGeometry(8, 6, 174, 18);
    radioKVX40_ = new QRadioButton(QStringLiteral("KVX 40 / 10 - Multi Prozessor"), bevelTyp_);
    radioKVX40_->setObjectName(QStringLiteral("RadioButtonKVX40"));
    radioKVX40_->setGeometry(4, 30, 192, 20);
    labelVersion_ = new QLabel(QStringLiteral("Version"), bevelTyp_);
    labelVersion_->setObjectName(QStringLiteral("LabelVersion"));
    labelVersion_->setGeometry(26, 58, 50, 20);
    comboVersion_ = new QComboBox(bevelTyp_);
    comboVersion_->setObjectName(QStringLiteral("ComboBoxVersion"));
    comboVersion_->addItems({QStringLiteral("6.00"), QStringLiteral("6.10"), QStringLiteral("6.20"),
                             QStringLiteral("6.30")});
    comboVersion_->setGeometry(80, 56, 70, 24);
    radioKVX_ = new QRadioButton(QStringLiteral("KVX 300 / KVX 900 / KVX 5000S"), bevelTyp_);
    radioKVX_->setObjectName(QStringLiteral("RadioButtonKVX"));
    radioKVX_->setGeometry(4, 92, 192, 20);
    connect(radioKVX40_, &QRadioButton::clicked, this, [this] {
        controller_.RadioButtonKVX40Enter();
        applyView();
    });
    connect(radioKVX_, &QRadioButton::clicked, this, [this] {
        controller_.RadioButtonKVXEnter();
        applyView();
    });
    connect(comboVersion_, &QComboBox::activated, this, [this](int item) {
        controller_.ComboBoxVersionChange(item);
    });
    for (QWidget *w : {static_cast<QWidget *>(radioKVX40_), static_cast<QWidget *>(radioKVX_),
                       static_cast<QWidget *>(comboVersion_)})
        w->installEventFilter(this);

    // Right: released programs and the emergency program.
    boldCaption(QStringLiteral("Prog. Freigabe:"), central, 544, top);
    for (int n = 0; n < 6; ++n) {
        pFrei_[n] = valueLabel(QStringLiteral("PFrei%1").arg(n + 1), central, 560, top + 18 + 16 * n, 120);
        pFrei_[n]->setText(QStringLiteral("Programm %1").arg(n + 1));
    }
    boldCaption(QStringLiteral("Notprogramm:"), central, 544, top + 6 * row);
    labelNotProg_ = valueLabel(QStringLiteral("LabelNotProg"), central, 560, top + 6 * row + 18, 120);
}

void TFormSteuer::buildStatusBar()
{
    QStatusBar *sb = statusBar();
    sb->setSizeGripEnabled(false);
    sb->setFixedHeight(kStatusBarHeight);
    const int widths[5] = {65, 54, 110, 110, 110};
    for (int i = 0; i < 5; ++i) {
        status_[i] = new QLabel(sb);
        status_[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        status_[i]->setAlignment(Qt::AlignCenter);
        status_[i]->setFixedWidth(widths[i]);
        status_[i]->setFrameShape(QFrame::Panel);
        status_[i]->setFrameShadow(QFrame::Sunken);
        sb->addWidget(status_[i]);
    }
}

void TFormSteuer::applyView()
{
    const MainView &v = controller_.view();
    setWindowTitle(v.caption);
    labelAnlage_->setText(v.LabelAnlage);
    labelBetrArt_->setText(v.LabelBetrArt);
    labelGrpZahl_->setText(v.LabelGrpZahl);
    setElidedText(labelStandort1_, v.LabelStandort1);
    setElidedText(labelStandort2_, v.LabelStandort2);
    setElidedText(labelAuftrag_, v.LabelAuftrag);
    setElidedText(aktDatei_, v.AktDatei, ctx_.CurrentDataDir);
    labelNotProg_->setText(v.LabelNotProg);
    for (int n = 0; n < 6; ++n) {
        pFrei_[n]->setEnabled(v.PFrei[n]);
        mDSollItems_[n]->setVisible(v.programMenuVisible[n]);
        mDEinItems_[n]->setVisible(v.programMenuVisible[n]);
        mDAusGItems_[n]->setVisible(v.programMenuVisible[n]);
        mDAusSItems_[n]->setVisible(v.programMenuVisible[n]);
    }
    mDSollMenu_->setVisible(v.MDSollVisible);
    mHilfe_->setVisible(v.MHilfeVisible);

    mDatei_->menuAction()->setEnabled(v.notBusy);
    mDrucken_->menuAction()->setEnabled(v.notBusy);
    mProgEinstell_->setEnabled(v.notBusy);
    for (QAction *a : {tbNeu_, tbEditGrpBez_, tbSave_, tbOpen_})
        a->setEnabled(v.notBusy);
    mDIstKVX_->setEnabled(v.MDIstKVXEnabled);
    mDIstQSW_->setEnabled(v.MDIstQSWEnabled);
    for (QAction *a : mDIstKVX40_)
        a->setEnabled(v.MDIstKVX40Enabled);
    for (QAction *a : {mDIstKVX_, mDIstKVX40_[0], mDIstKVX40_[1], mDIstKVX40_[2], mDIstQSW_})
        a->setToolTip(v.captureToolTip);
    mDAusS_->menuAction()->setEnabled(v.MDAusSEnabled);

    (v.kvx40Selected ? radioKVX40_ : radioKVX_)->setChecked(true);
    comboVersion_->setCurrentIndex(v.versionItem);
    labelVersion_->setVisible(v.versionVisible);
    comboVersion_->setVisible(v.versionVisible);
    bevelTyp_->setEnabled(v.typeControlsEnabled);

    for (int i = 0; i < 5; ++i)
        status_[i]->setText(v.statusPanels[i]);
}

bool TFormSteuer::groupNamesEditorVisible() const { return grpBez_ && grpBez_->isVisible(); }
bool TFormSteuer::settingsDialogVisible() const { return stand_ && stand_->isVisible(); }
bool TFormSteuer::previewWindowExists() const { return !preview_.isNull(); }
TFGrafik *TFormSteuer::previewWindow() const { return preview_; }

int TFormSteuer::textWidth(const QString &text) const
{
    return QFontMetrics(aktDatei_->font()).horizontalAdvance(text);
}

bool TFormSteuer::pickDataFolder(const QString &startDir, QString *chosen)
{
    getDir_->setPickerFolder(startDir);
    const bool ok = getDir_->exec() == QDialog::Accepted;
    *chosen = getDir_->pickerFolder();
    return ok;
}

bool TFormSteuer::showLoadReport(const QStringList &lines)
{
    return laden_->showReport(lines) == QDialog::Accepted;
}

QLabel *TFormSteuer::label(const QString &name) const
{
    return findChild<QLabel *>(name);
}

QAction *TFormSteuer::action(const QString &name) const
{
    return findChild<QAction *>(name);
}

void TFormSteuer::initTimer()
{
    controller_.initTick(QDateTime::currentDateTime());
    applyView();
    openStartupRequest();
}

void TFormSteuer::openStartupRequest()
{
    const StartupRequest request = std::exchange(startup_, StartupRequest());
    if (!request.dataFolder.isEmpty()) {
        controller_.loadChosenFolder(request.dataFolder);
        applyView();
    }
    // A plan only of data that were loaded; a refused folder was told.
    if (request.program > 0 && !ctx_.DataIsNew) {
        const QString refusal = NotReleasedRefusal(ctx_.data, request.program);
        if (refusal.isEmpty())
            openTargetChart(request.program, DisplayMode::TargetPlan);
        else
            prompt_.tell(refusal, QStringLiteral("Fehler"), PromptIcon::Error);
    }
    if (!request.runFile.isEmpty())
        openRunFile(request.runFile);
}

void TFormSteuer::ioTimer()
{
    // Shown after the tick, so the link goes on while the message is open.
    if (std::optional<Message> message = polling_.IOTimer())
        tellLater(*this, prompt_, std::move(message));
}

void TFormSteuer::fillRecentMenu()
{
    mZuletzt_->clear();
    int number = 0;
    const auto addEntries = [&](const QStringList &paths, bool folders) {
        for (const QString &path : paths) {
            // Numbered 1 … 9, 0 for the keyboard.
            QAction *a = mZuletzt_->addAction(QStringLiteral("&%1  %2").arg(++number % 10).arg(path));
            const bool present = folders ? QFileInfo(path).isDir() : QFileInfo(path).isFile();
            a->setEnabled(present);
            a->setToolTip(present ? path : QStringLiteral("%1 (nicht vorhanden)").arg(path));
            connect(a, &QAction::triggered, this, [this, path, folders] {
                if (folders) {
                    controller_.OpenDataFolder(path);
                    applyView();
                } else {
                    openRunFile(path);
                }
            });
        }
    };
    addEntries(controller_.recentFolders().entries(), true);
    mZuletzt_->addSeparator();
    addEntries(controller_.recentRuns().entries(), false);
}

void TFormSteuer::datenLaden()
{
    controller_.DatenLadenClick();
    applyView();
}

void TFormSteuer::neuesProgramm()
{
    controller_.NeuesProgrammClick();
    applyView();
}

void TFormSteuer::grpBez()
{
    grpBez_->show();
    grpBez_->raise();
    grpBez_->activateWindow();
}

void TFormSteuer::grpBezLaden()
{
    const QString savedWorkDir = QDir::currentPath();
    const QString path = askNamesFileToOpen(this, ctx_.settings.StandardDataDir);
    // A file that cannot be read blanks every name.
    if (!path.isEmpty())
        readNamesFile(ctx_.data, path);
    QDir::setCurrent(savedWorkDir);
}

void TFormSteuer::grpBezSpeichern()
{
    const QString path = askNamesFileToSave(this, ctx_.settings.GroupNamesDir);
    if (path.isEmpty())
        return;
    // A failed save leaves the file as it was; the user is told, so that the
    // names are not thought safe.
    QString error;
    if (!writeNamesFile(ctx_.data, path, &error))
        prompt_.tell(error, QStringLiteral("Fehler"), PromptIcon::Error);
    // The working folder is left at the chosen folder, unlike after the other dialogs.
    QDir::setCurrent(QFileInfo(path).absolutePath());
}

void TFormSteuer::einstellungen()
{
    stand_->show();
    stand_->raise();
    stand_->activateWindow();
}

void TFormSteuer::about()
{
    about_->show();
    about_->raise();
}

void TFormSteuer::help()
{
    OpenHelp(ctx_.StartupDir, ctx_.ProgramDir);
}

void TFormSteuer::connectChartCommands()
{
    for (int n = 0; n < 6; ++n) {
        const std::pair<QAction *, DisplayMode> commands[] = {
            {mDSollItems_[n], DisplayMode::TargetPlan},
            {mDEinItems_[n], DisplayMode::SwitchOn},
            {mDAusGItems_[n], DisplayMode::SwitchOffTargeted},
            {mDAusSItems_[n], DisplayMode::SwitchOffFault},
        };
        for (const auto &[action, kind] : commands)
            connect(action, &QAction::triggered, this,
                    [this, program = n + 1, kind = kind] { openTargetChart(program, kind); });
    }
}

void TFormSteuer::EnsurePreviewWindow()
{
    if (preview_)
        return;
    preview_ = new TFGrafik(ctx_, prompt_, std::make_unique<SystemPrinterDialog>(),
                            {&printerPort_, &controllerPort_, &link_}, this);
    preview_->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview_, &TFGrafik::visibilityChanged, this, [this] {
        controller_.UpdateCommandState();
        applyView();
    });
    // The window is freed once closed; from then on the commands are offered again.
    connect(preview_, &TFGrafik::closed, this, [this] {
        preview_ = nullptr;
        controller_.Refresh();
        applyView();
    });
}

void TFormSteuer::openTargetChart(int programNumber, DisplayMode kind)
{
    EnsurePreviewWindow();
    if (preview_->OpenTargetChart(programNumber, kind)) {
        preview_->show();
        preview_->raise();
        preview_->activateWindow();
        return;
    }
    // A refused chart leaves no empty preview behind.
    preview_->close();
}

void TFormSteuer::MDIstDateiClick()
{
    const QString path = askActualRunFileToOpen(this, ctx_.settings.ActualRunDir);
    if (!path.isEmpty())
        openRunFile(path);
}

void TFormSteuer::openRunFile(const QString &path)
{
    controller_.ResetForActualRun(false);
    applyView();
    showActualRun(DisplayMode::RunFromFile, path);
}

void TFormSteuer::receiveActualRun(DisplayMode mode)
{
    if (!openPrinterStreamPort())
        return;
    controller_.ResetForActualRun(true);
    applyView();
    showActualRun(mode);
}

void TFormSteuer::MDIstSimuClick()
{
    controller_.ResetForActualRun(true);
    applyView();
    showActualRun(DisplayMode::RunSimulation);
}

bool TFormSteuer::openPrinterStreamPort()
{
    // A port whose adapter was pulled out during the last capture is opened
    // afresh: the adapter may be back.
    if (printerPort_.lost())
        printerPort_.close();
    if (printerPort_.isOpen() || printerPort_.open())
        return true;
    // Reported as any error that reaches the event loop; the command stops here.
    const std::runtime_error error(printerPort_.errorText().toLocal8Bit().toStdString());
    const ExceptionMessage message = exceptionMessage(&error);
    prompt_.tell(message.text, message.caption, PromptIcon::Error);
    return false;
}

void TFormSteuer::showActualRun(DisplayMode mode, const QString &runFile)
{
    EnsurePreviewWindow();
    preview_->show();
    preview_->raise();
    preview_->activateWindow();
    // A refused file leaves no empty preview behind.
    if (!preview_->ShowActualRun(mode, runFile))
        preview_->close();
    else if (mode == DisplayMode::RunFromFile)
        controller_.recentRuns().add(runFile);
}

void TFormSteuer::closeEvent(QCloseEvent *event)
{
    if (!leavingByMenu_)
        controller_.FormClose();
    QMainWindow::closeEvent(event);
}

void TFormSteuer::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & Qt::AltModifier) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_F1)
        help();
    event->accept();
}

bool TFormSteuer::eventFilter(QObject *watched, QEvent *event)
{
    // The interface radio buttons and the version list take no keys: F1 opens
    // the help, Alt combinations still reach the menu, everything else is eaten.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & Qt::AltModifier)
            return false;
        if (key->key() == Qt::Key_F1)
            help();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}
