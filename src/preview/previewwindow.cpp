#include "preview/previewwindow.h"

#include "actual/actualrunfile.h"
#include "context/appcontext.h"
#include "base/dialogplacement.h"
#include "base/exceptionreport.h"
#include "base/functionkeys.h"
#include "base/laterprompt.h"
#include "base/inputchecks.h"
#include "base/utilities.h"
#include "base/windowgeometry.h"
#include "data/groupnameseditor.h"
#include "preview/actualrunfiledialog.h"
#include "preview/chartimageview.h"
#include "preview/printerdialog.h"
#include "preview/previewzoom.h"
#include "preview/printrun.h"
#include "preview/receiveddatawindow.h"
#include "render/chartexport.h"
#include "render/pagecomposer.h"
#include "render/plancanvas.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QWheelEvent>
#include <QToolButton>
#include <algorithm>

namespace {
constexpr int kClientWidth = 792;
constexpr int kClientHeight = 503;
constexpr int kPanelHeight = 66;
constexpr int kCompareRow = 62, kCompareRowHeight = 26;  // the panel's row for "Soll/Ist"
constexpr int kLabelRow = 8, kButtonRow = 34;
constexpr int kLabelHeight = 19, kButtonHeight = 25;
constexpr int kMaxCopies = 9;
constexpr int kCaptureTickMs = 100;
constexpr int kLampSize = 16;
// A drag redraws at most once a frame.
constexpr int kFitDelayMs = 16;
// Right and Left held step as ">" and "<" held do.
constexpr int kRepeatDelayMs = 500, kRepeatIntervalMs = 40;

QLabel *caption(const QString &text, QWidget *parent, int x)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(x, kLabelRow, l->sizeHint().width(), kLabelHeight);
    return l;
}

QLabel *valueLabel(const QString &name, QWidget *parent, int x, int width)
{
    auto *l = new QLabel(parent);
    l->setObjectName(name);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(Qt::AlignCenter);
    l->setGeometry(x, kLabelRow, width, kLabelHeight);
    return l;
}

// The measuring-point mark of the chart: two red triangles pointing at each
// other; crossed out for "hide".
QIcon measuringIcon(bool crossed)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(PlanColour::Red);
    p.drawPolygon(QPolygon({QPoint(8, 7), QPoint(3, 1), QPoint(13, 1)}));
    p.drawPolygon(QPolygon({QPoint(8, 9), QPoint(3, 15), QPoint(13, 15)}));
    if (crossed) {
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(2, 14, 14, 2);
    }
    return QIcon(pixmap);
}

// The "Empfang:" lamp: a circle, green while characters wait at the port.
QPixmap lampPixmap(const QColor &colour)
{
    QPixmap pixmap(kLampSize, kLampSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::black);
    p.setBrush(colour);
    p.drawEllipse(QRectF(0.5, 0.5, kLampSize - 1, kLampSize - 1));
    return pixmap;
}
}  // namespace

TFGrafik::TFGrafik(AppContext &ctx, Prompt &prompt, std::unique_ptr<PrinterDialog> printer,
                   CapturePorts ports, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
      ctx_(ctx),
      prompt_(prompt),
      printer_(std::move(printer)),
      ports_(ports),
      capture_(ctx.captureContext(), ports),
      metrics_(PlanMetrics::ForPreview(kPreviewImageWidth)),
      image_(kPreviewImageWidth, kPreviewImageHeight, QImage::Format_RGB32)
{
    setObjectName(QStringLiteral("TFGrafik"));
    fitTimer_ = new QTimer(this);
    fitTimer_->setSingleShot(true);
    fitTimer_->setInterval(kFitDelayMs);
    connect(fitTimer_, &QTimer::timeout, this, &TFGrafik::fitImage);
    setMinimumSize(kClientWidth, kClientHeight);
    resize(kClientWidth, kClientHeight);
    image_.fill(Qt::white);
    buildImage();
    buildPanel();
    buildKeys();

    drDaten_ = new TFormDrDaten(this);
    connect(drDaten_, &TFormDrDaten::closedByUser, this,
            [this] { buttonDrFenster_->setText(QStringLiteral("Einblenden")); });
    scanData_ = new QTimer(this);
    scanData_->setObjectName(QStringLiteral("ScanData"));
    scanData_->setInterval(kCaptureTickMs);
    connect(scanData_, &QTimer::timeout, this, &TFGrafik::ScanDataTimer);

    // As the window is shown: no measuring point, one copy, cursor at the
    // left edge.
    showMeasuringPointLabel();
    labelAbstand_->setText(QStringLiteral("----"));
    setCopies(1);
    setMeasuringControlsVisible(false);
    UpdatePagingButtons();
    placeAsLastTime();
}

void TFGrafik::placeAsLastTime()
{
    const std::optional<WindowGeometry> last = WindowGeometryFromText(ctx_.settings.PreviewGeometry);
    QScreen *screen = last ? QGuiApplication::screenAt(last->normal.center()) : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    if (!last) {  // the first time: centred
        move(available.center() - rect().center());
        return;
    }
    setGeometry(ClampedToScreen(last->normal, WindowFrameOf(this, parentWidget()), minimumSize(), available));
    if (last->maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

TFGrafik::~TFGrafik() = default;

void TFGrafik::buildImage()
{
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("ScrollBox"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setGeometry(0, 0, kClientWidth, kClientHeight - kPanelHeight);
    scroll_->viewport()->installEventFilter(this);

    imageView_ = new ChartImageView(image_);
    imageView_->setObjectName(QStringLiteral("Image"));
    imageView_->imageChanged(imageRatio_);
    imageView_->installEventFilter(this);
    scroll_->setWidget(imageView_);

    // The cursor: a black line one pixel wide over the group rows.
    panelPos_ = new QFrame(imageView_);
    panelPos_->setObjectName(QStringLiteral("PanelPos"));
    panelPos_->setAttribute(Qt::WA_TransparentForMouseEvents);
    panelPos_->setAutoFillBackground(true);
    QPalette black = panelPos_->palette();
    black.setColor(QPalette::Window, Qt::black);
    panelPos_->setPalette(black);
    panelPos_->setGeometry(metrics_.ChartLeft(), metrics_.LeftMargin, 1, 0);
    panelPos_->hide();
}

void TFGrafik::buildKeys()
{
    // The button's hint names its key; the key acts as a click, so it does
    // nothing where the button is disabled.
    const auto addKey = [this](const QKeySequence &keys, bool autoRepeat, const std::function<void()> &action) {
        auto *shortcut = new QShortcut(keys, this);
        shortcut->setAutoRepeat(autoRepeat);
        connect(shortcut, &QShortcut::activated, this, action);
    };
    const auto keyOf = [&](QAbstractButton *button, const QKeySequence &keys, const QString &keyName,
                           bool autoRepeat = false) {
        button->setToolTip(QStringLiteral("%1 (%2)").arg(button->toolTip(), keyName));
        addKey(keys, autoRepeat, [button] { button->click(); });
    };
    keyOf(buttonSeiteVor_, Qt::Key_PageDown, QStringLiteral("Bild ↓"), true);
    keyOf(buttonSeiteZurueck_, Qt::Key_PageUp, QStringLiteral("Bild ↑"), true);
    keyOf(buttonHSeiteVor_, Qt::SHIFT | Qt::Key_PageDown, QStringLiteral("Umschalt+Bild ↓"), true);
    keyOf(buttonHSeiteZurueck_, Qt::SHIFT | Qt::Key_PageUp, QStringLiteral("Umschalt+Bild ↑"), true);
    keyOf(buttonSeite1_, Qt::Key_Home, QStringLiteral("Pos 1"));
    keyOf(buttonLetzteSeite_, Qt::Key_End, QStringLiteral("Ende"));
    keyOf(checkPrint_, Qt::Key_Space, QStringLiteral("Leertaste"));
    keyOf(druckAktuell_, Qt::CTRL | Qt::Key_P, QStringLiteral("Strg+P"));
    keyOf(druckNicht_, Qt::Key_Escape, QStringLiteral("Esc"));
    // The second steps repeat as the held buttons do, not at the keyboard's rate.
    buttonSVor_->setToolTip(buttonSVor_->toolTip() + QStringLiteral(" (→)"));
    buttonSZurueck_->setToolTip(buttonSZurueck_->toolTip() + QStringLiteral(" (←)"));
    addKey(Qt::Key_Right, false, [this] { startKeyRepeat(buttonSVor_); });
    addKey(Qt::Key_Left, false, [this] { startKeyRepeat(buttonSZurueck_); });
    keyRepeat_ = new QTimer(this);
    connect(keyRepeat_, &QTimer::timeout, this, [this] {
        keyRepeat_->setInterval(kRepeatIntervalMs);
        if (repeatButton_)
            repeatButton_->click();
    });
    buttonMesspunkt_->setToolTip(buttonMesspunkt_->toolTip() + QStringLiteral(" (M)"));
    addKey(Qt::Key_M, false, [this] { MessKeyPress(); });

    for (const QKeySequence &keys : {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Equal)})
        addKey(keys, true, [this] { setZoom(ZoomedIn(zoom_)); });
    addKey(QKeySequence::ZoomOut, true, [this] { setZoom(ZoomedOut(zoom_)); });
    addKey(Qt::CTRL | Qt::Key_0, false, [this] { setZoom(kZoomFit); });
}

void TFGrafik::startKeyRepeat(QPushButton *button)
{
    if (repeatButton_)
        return;
    button->click();
    repeatButton_ = button;
    keyRepeat_->start(kRepeatDelayMs);
}

void TFGrafik::stopKeyRepeat()
{
    keyRepeat_->stop();
    repeatButton_ = nullptr;
}

void TFGrafik::MessKeyPress()
{
    // With the measuring point hidden, M shows it first.
    if (!bitBtnMessEin_->isHidden())
        bitBtnMessEin_->click();
    buttonMesspunkt_->click();
}

void TFGrafik::layoutWindow()
{
    const int panelHeight = kPanelHeight + (checkSollIst_->isHidden() ? 0 : kCompareRowHeight);
    panel_->setGeometry(0, height() - panelHeight, width(), panelHeight);
    scroll_->setGeometry(0, 0, width(), height() - panelHeight);
}

void TFGrafik::fitImage()
{
    const PreviewImageSize size = PreviewImageSizeFor(scroll_->width(), zoom_, devicePixelRatioF());
    if (size.device == image_.size() && size.ratio == imageRatio_)
        return;
    // The cursor keeps its place in the view where the scroll range allows;
    // the rows seen stay in view as they grow or shrink.
    QScrollBar *across = scroll_->horizontalScrollBar();
    QScrollBar *down = scroll_->verticalScrollBar();
    const int cursorInView = panelPos_->x() - across->value();
    const qreal scale = qreal(size.device.width()) / image_.width() * imageRatio_ / size.ratio;
    const int top = qRound(down->value() * scale);
    image_ = QImage(size.device, QImage::Format_RGB32);
    imageRatio_ = size.ratio;
    image_.fill(Qt::white);
    metrics_ = PlanMetrics::ForPreview(size.device.width());
    sizeCursorLine();
    if (pageShown_) {
        RedrawPage();
    } else {
        showImage();
        panelPos_->move(logical(metrics_.ChartLeft()), panelPos_->y());
    }
    across->setValue(panelPos_->x() - cursorInView);
    down->setValue(top);
    keepReceivedDataWindowClear();
}

void TFGrafik::setZoom(int percent)
{
    zoom_ = std::clamp(percent, kZoomMin, kZoomMax);
    fitImage();
}

bool TFGrafik::chartWheel(QWheelEvent *event)
{
    const int angle = event->angleDelta().y();
    if (event->modifiers() & Qt::ControlModifier) {
        const int notches = TakeWheelNotches(wheelAngle_, angle);
        for (int n = 0; n < std::abs(notches); ++n)
            setZoom(notches > 0 ? ZoomedIn(zoom_) : ZoomedOut(zoom_));
        return true;
    }
    // Pages where the view cannot scroll on: no scroll bar, or at its end.
    QScrollBar *bar = scroll_->verticalScrollBar();
    const bool down = angle < 0;
    const bool scrolls = bar->isVisible() && (down ? bar->value() < bar->maximum() : bar->value() > bar->minimum());
    if (angle == 0 || scrolls) {
        wheelAngle_ = 0;
        return false;
    }
    if (TakeWheelNotches(wheelAngle_, angle) == 0)
        return true;
    wheelAngle_ = 0;  // one page per turn, however far it went
    QPushButton *step = down ? buttonSeiteVor_ : buttonSeiteZurueck_;
    if (step->isEnabled()) {
        step->click();
        // Reading on: the next page from its top, the previous one from its bottom.
        bar->setValue(down ? bar->minimum() : bar->maximum());
    }
    return true;
}

QPushButton *TFGrafik::addButton(QWidget *panel, const QString &name, const QString &caption,
                                 const QString &hint, int x, int width, void (TFGrafik::*handler)())
{
    auto *b = new QPushButton(caption, panel);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setGeometry(x, kButtonRow, width, kButtonHeight);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

void TFGrafik::buildPanel()
{
    auto *panel = panel_ = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setGeometry(0, kClientHeight - kPanelHeight, kClientWidth, kPanelHeight);

    // Upper row. The reception lamp at its left end is shown only while a
    // controller's run is received.
    empfangCaption_ = caption(QStringLiteral("Empfang:"), panel, 8);
    shapeEmpfang_ = new QLabel(panel);
    shapeEmpfang_->setObjectName(QStringLiteral("ShapeEmpfang"));
    shapeEmpfang_->setGeometry(62, kLabelRow + (kLabelHeight - kLampSize) / 2, kLampSize, kLampSize);
    empfangCaption_->hide();
    shapeEmpfang_->hide();
    QLabel *messCaption = caption(QStringLiteral("Messpunkt:"), panel, 96);
    labelMesspunkt_ = valueLabel(QStringLiteral("LabelMesspunkt"), panel, 154, 56);
    QLabel *abstandCaption = caption(QStringLiteral("Abstand Messpunkt:"), panel, 218);
    labelAbstand_ = valueLabel(QStringLiteral("LabelAbstand"), panel, 318, 56);
    caption(QStringLiteral("Seite:"), panel, 386);
    labelSeite_ = valueLabel(QStringLiteral("LabelSeite"), panel, 418, 62);
    caption(QStringLiteral("Position:"), panel, 490);
    labelPos_ = valueLabel(QStringLiteral("LabelPos"), panel, 538, 56);
    caption(QStringLiteral("Prog:"), panel, 604);
    labelProg_ = valueLabel(QStringLiteral("LabelProg"), panel, 634, 28);
    caption(QStringLiteral("Kopien:"), panel, 676);
    memoKopie_ = new QLineEdit(panel);
    memoKopie_->setObjectName(QStringLiteral("MemoKopie"));
    memoKopie_->setToolTip(QStringLiteral("Anzahl Ausdrucke"));
    memoKopie_->setAlignment(Qt::AlignCenter);
    memoKopie_->setGeometry(720, kLabelRow - 1, 24, kLabelHeight + 2);
    memoKopie_->installEventFilter(this);
    // The up-down control takes no focus, so it neither ends the entry
    // (no check) nor reacts to the arrow keys.
    auto *upDown = new QWidget(panel);
    upDown->setObjectName(QStringLiteral("UpDownKopie"));
    upDown->setToolTip(QStringLiteral("Anzahl Ausdrucke"));
    upDown->setGeometry(744, kLabelRow - 1, 16, kLabelHeight + 2);
    for (int step : {1, -1}) {
        auto *arrow = new QToolButton(upDown);
        arrow->setObjectName(step > 0 ? QStringLiteral("UpDownKopieUp") : QStringLiteral("UpDownKopieDown"));
        arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFocusPolicy(Qt::NoFocus);
        arrow->setGeometry(0, step > 0 ? 0 : (kLabelHeight + 2) / 2, 16, (kLabelHeight + 2) / 2);
        connect(arrow, &QToolButton::clicked, this, [this, step] { stepCopies(step); });
    }

    // Lower row; the received-data button at its left end, like the lamp.
    buttonDrFenster_ = addButton(panel, QStringLiteral("ButtonDrFenster"), QStringLiteral("Ausblenden"),
                                 QStringLiteral("Anzeige empfangene Daten"), 4, 76, &TFGrafik::ButtonDrFensterClick);
    buttonDrFenster_->hide();
    buttonMesspunkt_ = addButton(panel, QStringLiteral("ButtonMesspunkt"), QStringLiteral("Messpunkt setzen"),
                                 QStringLiteral("Referenzpunkt für Zeitmessung setzen"), 86, 100,
                                 &TFGrafik::ButtonMesspunktClick);
    bitBtnMessEin_ = addButton(panel, QStringLiteral("BitBtnMessEin"), QString(),
                               QStringLiteral("Messpunkt einblenden"), 190, 26, &TFGrafik::BitBtnMessEinClick);
    bitBtnMessEin_->setIcon(measuringIcon(false));
    bitBtnMessAus_ = addButton(panel, QStringLiteral("BitBtnMessAus"), QString(),
                               QStringLiteral("Messpunkt ausblenden"), 190, 26, &TFGrafik::BitBtnMessAusClick);
    bitBtnMessAus_->setIcon(measuringIcon(true));
    measuringControls_ = {buttonMesspunkt_, messCaption, labelMesspunkt_, abstandCaption, labelAbstand_};

    constexpr int kStep = 31, kWidth = 30;
    int x = 222;
    buttonSeite1_ = addButton(panel, QStringLiteral("ButtonSeite1"), QStringLiteral("|<<"),
                              QStringLiteral("Zur ersten Seite"), x, kWidth, &TFGrafik::ButtonSeite1Click);
    buttonSeiteZurueck_ = addButton(panel, QStringLiteral("ButtonSeiteZurueck"), QStringLiteral("<<"),
                                    QStringLiteral("Eine Seite zurück"), x += kStep, kWidth,
                                    &TFGrafik::ButtonSeiteZurueckClick);
    buttonHSeiteZurueck_ = addButton(panel, QStringLiteral("ButtonHSeiteZurueck"), QStringLiteral("1/2"),
                                     QStringLiteral("Eine halbe Seite zurück"), x += kStep, kWidth,
                                     &TFGrafik::ButtonHSeiteZurueckClick);
    buttonSZurueck_ = addButton(panel, QStringLiteral("ButtonSZurueck"), QStringLiteral("<"),
                                QStringLiteral("1 Sekunde zurück"), x += kStep, kWidth,
                                &TFGrafik::ButtonSZurueckClick);
    checkPrint_ = new QCheckBox(QStringLiteral("Dr."), panel);
    checkPrint_->setObjectName(QStringLiteral("CheckPrint"));
    checkPrint_->setToolTip(QStringLiteral("Seite zum Drucken auswählen"));
    checkPrint_->setGeometry(x += kStep + 3, kButtonRow, 38, kButtonHeight);
    connect(checkPrint_, &QCheckBox::clicked, this, &TFGrafik::CheckPrintClick);
    // Below "Dr.": the fixed panel has no room beside it.
    checkSollIst_ = new QCheckBox(QStringLiteral("Soll/Ist"), panel);
    checkSollIst_->setObjectName(QStringLiteral("CheckSollIst"));
    checkSollIst_->setToolTip(QStringLiteral("Ist-Ablauf mit dem Sollplan der geladenen Daten vergleichen"));
    checkSollIst_->setGeometry(x, kCompareRow, 70, kButtonHeight);
    connect(checkSollIst_, &QCheckBox::clicked, this, &TFGrafik::CheckSollIstClick);
    labelSollIst_ = valueLabel(QStringLiteral("LabelSollIst"), panel, x + 76, 300);
    labelSollIst_->move(x + 76, kCompareRow + (kButtonHeight - kLabelHeight) / 2);
    offerComparison(false);
    buttonSVor_ = addButton(panel, QStringLiteral("ButtonSVor"), QStringLiteral(">"),
                            QStringLiteral("Eine Sekunde vor"), x += 38, kWidth, &TFGrafik::ButtonSVorClick);
    buttonHSeiteVor_ = addButton(panel, QStringLiteral("ButtonHSeiteVor"), QStringLiteral("1/2"),
                                 QStringLiteral("Eine halbe Seite vor"), x += kStep, kWidth,
                                 &TFGrafik::ButtonHSeiteVorClick);
    buttonSeiteVor_ = addButton(panel, QStringLiteral("ButtonSeiteVor"), QStringLiteral(">>"),
                                QStringLiteral("Eine Seite vor"), x += kStep, kWidth,
                                &TFGrafik::ButtonSeiteVorClick);
    buttonLetzteSeite_ = addButton(panel, QStringLiteral("ButtonLetzteSeite"), QStringLiteral(">>|"),
                                   QStringLiteral("Zur letzten Seite"), x += kStep, kWidth,
                                   &TFGrafik::ButtonLetzteSeiteClick);
    // Held down, "<" and ">" step on: after 500 ms, then every 40 ms.
    for (QPushButton *b : {buttonSZurueck_, buttonSVor_}) {
        b->setAutoRepeat(true);
        b->setAutoRepeatDelay(500);
        b->setAutoRepeatInterval(40);
    }

    druckAlles_ = addButton(panel, QStringLiteral("DruckAlles"), QStringLiteral("Alle"),
                            QStringLiteral("Alle Seiten drucken"), x += kStep + 10, 60, &TFGrafik::DruckAllesClick);
    druckAuswahl_ = addButton(panel, QStringLiteral("DruckAuswahl"), QStringLiteral("Auswahl"),
                              QStringLiteral("Ausgewählte Seiten drucken"), x += 63, 60,
                              &TFGrafik::DruckAuswahlClick);
    druckAktuell_ = addButton(panel, QStringLiteral("DruckAktuell"), QStringLiteral("Aktuelle"),
                              QStringLiteral("Angezeigte Seite drucken"), x += 63, 60,
                              &TFGrafik::DruckAktuellClick);
    druckNicht_ = addButton(panel, QStringLiteral("DruckNicht"), QStringLiteral("Beenden"),
                            QStringLiteral("Drucken verlassen"), x += 63, 60, &TFGrafik::DruckNichtClick);
}

bool TFGrafik::OpenTargetChart(int programNumber, DisplayMode kind)
{
    QString refusal;
    if (!::OpenTargetChart(chart_, ctx_.data, programNumber, kind, ctx_.InstallationName, &refusal)) {
        prompt_.tell(refusal, QStringLiteral("Fehler"), PromptIcon::Error);
        return false;
    }
    setWindowTitle(chart_.WindowCaption);
    offerComparison(false);
    paging_.OpenChart();
    sizeCursorLine();
    setMeasuringControlsVisible(false);
    showMeasuringPointLabel();
    RedrawPage();
    return true;
}

// Actual runs.

bool TFGrafik::ShowActualRun(DisplayMode mode, const QString &runFile)
{
    pageShown_ = false;
    image_.fill(Qt::white);
    showImage();
    offerComparison(ctx_.PlanToCompare.has_value());
    if (mode == DisplayMode::RunFromFile) {
        QString error;
        if (!LoadRunFromFile(ctx_, runFile, chart_, &error)) {
            prompt_.tell(error, QStringLiteral("Fehler"), PromptIcon::Error);
            return false;
        }
        setWindowTitle(chart_.WindowCaption);
        paging_.OpenChart();
        sizeCursorLine();
        RedrawPage();
        return true;
    }
    if (!IsLiveMode(mode))
        return false;

    capture_.Start(mode);
    captureEnded_ = false;
    chart_ = capture_.chart();
    paging_.OpenChart();
    setWindowTitle(capture_.caption());
    setPrintButtonsEnabled(false);
    const bool controller = IsControllerMode(mode);
    empfangCaption_->setVisible(controller);
    shapeEmpfang_->setVisible(controller);
    setReceptionLamp(false);
    buttonDrFenster_->setVisible(controller);
    drDaten_->showLines(capture_.receivedLines());
    placeReceivedDataWindow();
    setReceivedDataVisible(controller);
    UpdatePagingButtons();
    scanData_->start();
    return true;
}

void TFGrafik::ScanDataTimer()
{
    const CaptureUpdate u = capture_.ScanDataTimer(paging_.PageStartSecond());
    if (IsControllerMode(capture_.mode()))
        setReceptionLamp(u.receiving);
    if (u.linesChanged)
        drDaten_->showLines(capture_.receivedLines());
    if (u.message || u.closeWindow)
        showAfterTick(u.message, u.closeWindow);
    if (u.closeWindow)
        return;
    if (u.portLost)
        scanData_->stop();  // nothing more comes; the rows stay for saving
    if (u.linesChanged || u.cleared || u.chartStarted || u.rowAdded) {
        chart_ = capture_.chart();
        applyComparison();
    }
    if (u.cleared)
        clearRunView();
    if (u.chartStarted)
        startRunView();
    if (u.rowAdded) {
        paging_.SetRunPages(capture_.PageCount());
        if (u.pageTurnTo >= 0) {
            paging_.FollowRun(u.pageTurnTo);
            checkPrint_->setChecked(false);
        }
        if (paging_.CurrentPage() > 1) {
            RedrawPage();
        } else {
            UpdateLabels();
            UpdatePagingButtons();
        }
    }
    setPrintButtonsEnabled(capture_.printButtonsEnabled());
    setWindowTitle(capture_.caption());
}

void TFGrafik::startRunView()
{
    paging_.StartRun();
    checkPrint_->setChecked(false);
    sizeCursorLine();
    panelPos_->show();
}

void TFGrafik::clearRunView()
{
    paging_.ClearRun();
    pageShown_ = false;
    image_.fill(Qt::white);
    showImage();
    panelPos_->hide();
    checkPrint_->setChecked(false);
    showMeasuringPointLabel();
    labelAbstand_->setText(QStringLiteral("----"));
    for (QLabel *l : {labelSeite_, labelPos_, labelProg_})
        l->clear();
    UpdatePagingButtons();
}

void TFGrafik::sizeCursorLine()
{
    panelPos_->setGeometry(panelPos_->x(), logical(metrics_.LeftMargin), 1,
                           logical(CursorLineHeight(chart_, metrics_)));
}

int TFGrafik::logical(int devicePixels) const
{
    return qRound(devicePixels / imageRatio_);
}

void TFGrafik::setPrintButtonsEnabled(bool enabled)
{
    for (QPushButton *b : {druckAlles_, druckAuswahl_, druckAktuell_})
        b->setEnabled(enabled);
}

void TFGrafik::setReceptionLamp(bool receiving)
{
    shapeEmpfang_->setPixmap(lampPixmap(receiving ? QColor(Qt::green) : QColor(Qt::white)));
}

void TFGrafik::setReceivedDataVisible(bool visible)
{
    drDaten_->setVisible(visible);
    keepReceivedDataWindowClear();
    buttonDrFenster_->setText(visible ? QStringLiteral("Ausblenden") : QStringLiteral("Einblenden"));
}

QRect TFGrafik::buttonRow() const
{
    return QRect(panel_->mapToGlobal(QPoint(0, 0)), panel_->size());
}

void TFGrafik::placeReceivedDataWindow()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    const QMargins frame = WindowFrameOf(drDaten_, this);
    MoveFrameTo(drDaten_, PlacedBeside(frameGeometry(), drDaten_->size().grownBy(frame), buttonRow(),
                                       screen->availableGeometry()),
                frame);
}

void TFGrafik::keepReceivedDataWindowClear()
{
    if (drDaten_->isVisible() && drDaten_->frameGeometry().intersects(buttonRow()))
        placeReceivedDataWindow();
}

void TFGrafik::ButtonDrFensterClick()
{
    setReceivedDataVisible(!drDaten_->isVisible());
}

void TFGrafik::showAfterTick(const std::optional<Message> &message, bool thenClose)
{
    // A capture that goes on after its message waits until the message is
    // dismissed, so that it is shown once.
    const bool resume = !thenClose && capture_.running();
    if (resume)
        scanData_->stop();
    tellLater(*this, prompt_, message, [this, thenClose, resume] {
        if (captureEnded_)
            return;  // the window was left meanwhile
        if (thenClose)
            closeWhenNoDialog();
        else if (resume)
            scanData_->start();
    });
}

void TFGrafik::runDialog(const std::function<void()> &dialog)
{
    ++dialogDepth_;
    dialog();
    --dialogDepth_;
}

void TFGrafik::closeWhenNoDialog()
{
    if (dialogDepth_ > 0) {
        closePending_ = true;
        return;
    }
    close();
}

bool TFGrafik::closeIfPending()
{
    if (!closePending_ || dialogDepth_ > 0)
        return false;
    closePending_ = false;
    close();
    return true;
}

void TFGrafik::endCapture()
{
    scanData_->stop();
    if (IsLiveMode(capture_.mode()) && !captureEnded_) {
        captureEnded_ = true;
        capture_.Finish();
    }
    if (IsControllerMode(capture_.mode()) && ports_.printer)
        ports_.printer->close();
}

void TFGrafik::editGroupNames()
{
    TFormGrpBez editor(ctx_.data, ctx_.settings, prompt_, this);
    editor.exec();
}

void TFGrafik::redrawShownPage()
{
    chart_ = capture_.chart();
    applyComparison();
    RedrawPage();
}

QString TFGrafik::chooseSaveFile(const QString &startDir, const QString &proposedName)
{
    return askActualRunFileToSave(this, prompt_, startDir, proposedName);
}

void TFGrafik::RedrawPage()
{
    {
        QPainter painter(&image_);
        PlanCanvas canvas(painter, metrics_, true);
        DrawChartPage(chart_, canvas, paging_.View());
    }
    pageShown_ = true;
    showImage();
    panelPos_->setVisible(paging_.CurrentPage() > 1);
    UpdateLabels();
    UpdatePagingButtons();
}

void TFGrafik::showImage()
{
    imageView_->imageChanged(imageRatio_);
}

void TFGrafik::UpdateLabels()
{
    const PagingLabels l = paging_.Labels(metrics_);
    panelPos_->move(logical(l.CursorX), panelPos_->y());
    labelSeite_->setText(l.Seite);
    labelPos_->setText(l.Pos);
    labelProg_->setText(l.Prog);
    labelAbstand_->setText(l.Abstand);
    checkPrint_->setChecked(l.CheckPrint);
    labelSollIst_->setText(chart_.Comparison ? CursorComparisonText(*chart_.Comparison, paging_.CursorSecond())
                                             : QString());
}

void TFGrafik::offerComparison(bool offered)
{
    checkSollIst_->setVisible(offered);
    labelSollIst_->setVisible(offered);
    layoutWindow();
    checkSollIst_->setChecked(false);
    comparer_.reset();
    chart_.Comparison.reset();
}

void TFGrafik::CheckSollIstClick(bool ticked)
{
    comparer_.reset();
    if (ticked && ctx_.PlanToCompare)
        comparer_ = std::make_unique<RunComparer>(*ctx_.PlanToCompare);
    applyComparison();
    RedrawPage();
}

void TFGrafik::applyComparison()
{
    if (!comparer_) {
        chart_.Comparison.reset();
        return;
    }
    comparer_->Update(chart_.Rows, chart_.ShownGroups);
    chart_.Comparison = comparer_->Result(chart_.Rows);
}

void TFGrafik::UpdatePagingButtons()
{
    const PagingButtons b = paging_.Buttons();
    buttonSeite1_->setEnabled(b.FirstPage);
    buttonSeiteZurueck_->setEnabled(b.PageBack);
    buttonHSeiteZurueck_->setEnabled(b.HalfPageBack);
    buttonSZurueck_->setEnabled(b.SecondBack);
    buttonSVor_->setEnabled(b.SecondForward);
    buttonHSeiteVor_->setEnabled(b.HalfPageForward);
    buttonSeiteVor_->setEnabled(b.PageForward);
    buttonLetzteSeite_->setEnabled(b.LastPage);
    for (QPushButton *m : {buttonMesspunkt_, bitBtnMessEin_, bitBtnMessAus_})
        m->setEnabled(b.Measuring);
}

void TFGrafik::showMeasuringPointLabel()
{
    labelMesspunkt_->setText(QStringLiteral("%1 s").arg(paging_.MeasuringPoint()));
}

void TFGrafik::setMeasuringControlsVisible(bool visible)
{
    for (QWidget *w : measuringControls_)
        w->setVisible(visible);
    bitBtnMessEin_->setVisible(!visible);
    bitBtnMessAus_->setVisible(visible);
}

void TFGrafik::setCopies(int copies)
{
    copies_ = copies;
    memoKopie_->setText(QString::number(copies));
}

void TFGrafik::stepCopies(int step)
{
    // From the number the field shows, typed but not yet checked or not;
    // 1 … 9 with wrap-around.
    bool ok = false;
    const int shown = memoKopie_->text().toInt(&ok);
    const int from = ok && shown >= 1 && shown <= kMaxCopies ? shown : copies_;
    setCopies((from - 1 + step + kMaxCopies) % kMaxCopies + 1);
}

void TFGrafik::checkCopies()
{
    int copies = -1;
    runDialog([&] { copies = CheckNumberInput(prompt_, memoKopie_->text(), 1, kMaxCopies); });
    if (closeIfPending())
        return;
    if (copies < 0) {
        // Back into the field once the focus change that ended it is over.
        QTimer::singleShot(0, memoKopie_, [this] { memoKopie_->setFocus(Qt::OtherFocusReason); });
        return;
    }
    copies_ = copies;
}

// Paging.

void TFGrafik::ButtonSeite1Click()
{
    paging_.FirstPage();
    RedrawPage();
}

void TFGrafik::ButtonSeiteZurueckClick()
{
    paging_.StepPage(false);
    RedrawPage();
}

void TFGrafik::ButtonHSeiteZurueckClick()
{
    paging_.StepHalfPage(false);
    RedrawPage();
}

void TFGrafik::ButtonSZurueckClick()
{
    if (paging_.SecondBack()) {
        RedrawPage();
        return;
    }
    UpdateLabels();
    UpdatePagingButtons();
}

void TFGrafik::ButtonSVorClick()
{
    if (paging_.SecondForward()) {
        RedrawPage();
        return;
    }
    UpdateLabels();
    UpdatePagingButtons();
}

void TFGrafik::ButtonHSeiteVorClick()
{
    paging_.StepHalfPage(true);
    RedrawPage();
}

void TFGrafik::ButtonSeiteVorClick()
{
    paging_.StepPage(true);
    RedrawPage();
}

void TFGrafik::ButtonLetzteSeiteClick()
{
    paging_.LastPage();
    RedrawPage();
}

void TFGrafik::ImageMouseDown(int x)
{
    if (paging_.PlaceCursor(qRound(x * imageRatio_), metrics_))
        UpdateLabels();
}

void TFGrafik::CheckPrintClick(bool ticked)
{
    paging_.SelectPage(ticked);
}

// Measuring point.

void TFGrafik::ButtonMesspunktClick()
{
    paging_.SetMeasuringPoint();
    showMeasuringPointLabel();
    RedrawPage();
}

void TFGrafik::BitBtnMessEinClick()
{
    setMeasuringControlsVisible(true);
    paging_.ShowMeasuringPoint();
    showMeasuringPointLabel();
    RedrawPage();
}

void TFGrafik::BitBtnMessAusClick()
{
    setMeasuringControlsVisible(false);
    paging_.HideMeasuringPoint();
    RedrawPage();
}

// Printing and leaving.

void TFGrafik::DruckAllesClick()
{
    print(PrintChoice::All);
}

void TFGrafik::DruckAuswahlClick()
{
    print(PrintChoice::Selected);
}

void TFGrafik::DruckAktuellClick()
{
    print(PrintChoice::Current);
}

void TFGrafik::print(PrintChoice choice)
{
    bool accepted = false;
    runDialog([&] { accepted = printer_->setUp(this, PrintDocumentName(chart_)); });
    if (closeIfPending() || !accepted)
        return;
    paging_.FlagPages(choice);
    printFlaggedPages();
}

void TFGrafik::printFlaggedPages()
{
    const bool colour = ctx_.settings.PrintInColour != 0;
    const QDateTime printTime = QDateTime::currentDateTime();
    // Every copy is a print job of its own.
    for (int copy = 0; copy < copies_; ++copy) {
        const PrintResult result = printer_->print([&](QPagedPaintDevice &device) {
            return PrintRun(chart_, paging_.PagePrintFlags(), device, colour, printTime);
        });
        if (result == PrintResult::DeviceFailed) {
            // The user repeats the print: the copies stay as they were.
            runDialog([this] { reportPrintFailure(); });
            closeIfPending();
            return;
        }
        if (result == PrintResult::NothingToPrint)
            break;
    }
    setCopies(1);
}

void TFGrafik::reportPrintFailure()
{
    const QString file = printer_->outputFile();
    if (!file.isEmpty()) {
        prompt_.tell(QStringLiteral("Die Datei %1\nkann nicht geschrieben werden !").arg(file),
                     QStringLiteral("Fehler"), PromptIcon::Error);
        return;
    }
    const PrinterError busy;
    const ExceptionMessage message = exceptionMessage(&busy);
    prompt_.tell(message.text, message.caption, PromptIcon::Error);
}

void TFGrafik::DruckNichtClick()
{
    if (IsLiveMode(capture_.mode()) && !captureEnded_) {
        // Ends the capture (with the stop request) before its questions.
        scanData_->stop();
        captureEnded_ = true;
        LeaveActualRun(capture_, ctx_, prompt_, *this);
    }
    close();
}

// Window events.

void TFGrafik::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        druckNicht_->setFocus(Qt::OtherFocusReason);
    emit visibilityChanged();
}

void TFGrafik::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    emit visibilityChanged();
}

void TFGrafik::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    // Kept with the settings the main window writes as the preview closes.
    ctx_.settings.PreviewGeometry = WindowGeometryText({normalGeometry(), isMaximized()});
    endCapture();
    drDaten_->hide();
    emit closed();
}

void TFGrafik::keyPressEvent(QKeyEvent *event)
{
    // Space is the key of "Dr."; Return and Enter press the button with the focus.
    auto *focused = qobject_cast<QAbstractButton *>(focusWidget());
    if (focused && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        focused->click();
        return;
    }
    if (!handleFunctionKey(event))
        QWidget::keyPressEvent(event);
}

void TFGrafik::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat() && (event->key() == Qt::Key_Right || event->key() == Qt::Key_Left))
        stopKeyRepeat();
    QWidget::keyReleaseEvent(event);
}

void TFGrafik::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutWindow();
    if (!fitTimer_->isActive())
        fitTimer_->start();
}

void TFGrafik::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // Also as the window manager puts its frame around the new window: the
    // frame was not known when the received-data window was placed.
    keepReceivedDataWindowClear();
}

void TFGrafik::changeEvent(QEvent *event)
{
    // A key released in another window never comes here.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        stopKeyRepeat();
    QWidget::changeEvent(event);
}

bool TFGrafik::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Wheel)
        return chartWheel(static_cast<QWheelEvent *>(event));
    if (watched == imageView_ && event->type() == QEvent::MouseButtonPress) {
        ImageMouseDown(static_cast<QMouseEvent *>(event)->position().toPoint().x());
        return true;
    }
    if (watched == memoKopie_ && event->type() == QEvent::FocusIn) {
        // After the click that gave the focus, which would place the caret.
        QTimer::singleShot(0, memoKopie_, &QLineEdit::selectAll);
    } else if (watched == memoKopie_ && event->type() == QEvent::FocusOut) {
        // Leaving the field for another control checks it; a window or menu
        // taking the focus does not.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            checkCopies();
    }
    return QWidget::eventFilter(watched, event);
}
