#pragma once
// TFGrafik, the preview window: one chart page at a time in a scrolled
// image, the paging buttons, the cursor line, the measuring point, the page
// selection "Dr.", the copies field and the three print buttons. The paging
// rules are PreviewPaging's; the window forwards and shows.
//
// It also shows actual runs: one saved in a file, or one being received,
// whose capture (ActualRunCapture) the window's capture timer drives every
// 100 ms while the chart grows page by page. Leaving a received run offers
// to edit the group names and to save it.
//
// The window can be resized and maximised; the chart image follows the
// width of its scroll area, scaled by the zoom, and the paging state stays as
// it was. The keys of the paging, measuring and print buttons act as the
// buttons do.

#include "actual/actualruncapture.h"
#include "preview/captureleave.h"
#include "preview/previewpaging.h"
#include "render/chartdata.h"
#include "render/planmetrics.h"
#include "render/runcomparison.h"

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct AppContext;
class Prompt;
class PrinterDialog;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTimer;
class TFormDrDaten;
class ChartImageView;
class QWheelEvent;

class TFGrafik : public QWidget, private CaptureLeaveHost {
    Q_OBJECT
public:
    // The creator decides the window's lifetime; the main window frees it
    // when it is closed. ports are those a received run comes in on.
    TFGrafik(AppContext &ctx, Prompt &prompt, std::unique_ptr<PrinterDialog> printer,
             CapturePorts ports = {}, QWidget *parent = nullptr);
    ~TFGrafik() override;

    // Opens a target chart of the loaded installation on its overview page.
    // A refused chart is reported and false returned; the window then shows
    // nothing.
    bool OpenTargetChart(int programNumber, DisplayMode kind);

    // Shows an actual run: mode 1 (DisplayMode::RunFromFile) the one saved in runFile, on
    // its overview page; the live modes start receiving one (the caller has
    // opened the printer-stream port). False when the file was refused,
    // after its message; the window then shows nothing.
    bool ShowActualRun(DisplayMode mode, const QString &runFile = QString());
    // The capture timer's tick.
    void ScanDataTimer();

    const ActualRunCapture &capture() const { return capture_; }
    TFormDrDaten *receivedDataWindow() const { return drDaten_; }
    const QTimer *captureTimer() const { return scanData_; }

    const ChartData &chart() const { return chart_; }
    const PreviewPaging &paging() const { return paging_; }
    const QImage &image() const { return image_; }
    const PlanMetrics &metrics() const { return metrics_; }
    int copies() const { return copies_; }
    int zoom() const { return zoom_; }

signals:
    // Shown or hidden: the main window re-evaluates its commands.
    void visibilityChanged();
    // The window was closed and is about to be freed.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildImage();
    void buildPanel();
    void buildKeys();
    // Where the window was when last closed, as far as the screen allows;
    // centred the first time.
    void placeAsLastTime();
    // Geometry of the scroll area and the panel for the window's size.
    void layoutWindow();
    // Makes the image as large as the scroll area and zoom ask for and draws
    // it again; the last size of a drag wins.
    void fitImage();
    void setZoom(int percent);
    // The wheel over the chart: zoom with Ctrl, else scroll, or page where
    // there is nothing to scroll. True when the wheel was used here.
    bool chartWheel(QWheelEvent *event);
    // Right and Left held: the button's steps, repeated as the button repeats.
    void startKeyRepeat(QPushButton *button);
    void stopKeyRepeat();
    void MessKeyPress();
    QPushButton *addButton(QWidget *panel, const QString &name, const QString &caption,
                           const QString &hint, int x, int width, void (TFGrafik::*handler)());

    void RedrawPage();
    void UpdateLabels();
    void UpdatePagingButtons();
    void showMeasuringPointLabel();
    void setMeasuringControlsVisible(bool visible);
    void setCopies(int copies);
    void stepCopies(int step);
    void checkCopies();

    void ButtonSeite1Click();
    void ButtonSeiteZurueckClick();
    void ButtonHSeiteZurueckClick();
    void ButtonSZurueckClick();
    void ButtonSVorClick();
    void ButtonHSeiteVorClick();
    void ButtonSeiteVorClick();
    void ButtonLetzteSeiteClick();
    void ImageMouseDown(int x);
    void CheckPrintClick(bool ticked);
    void CheckSollIstClick(bool ticked);
    void ButtonMesspunktClick();
    void BitBtnMessEinClick();
    void BitBtnMessAusClick();
    void DruckAllesClick();
    void DruckAuswahlClick();
    void DruckAktuellClick();
    void DruckNichtClick();
    void ButtonDrFensterClick();
    void print(PrintChoice choice);
    void printFlaggedPages();
    void reportPrintFailure();

    // Target against actual: offered for a run while a plan is at hand; the
    // comparison follows the rows as they change.
    void offerComparison(bool offered);
    void applyComparison();

    // Showing a received run.
    void showImage();
    void sizeCursorLine();
    // Image pixels on the screen's coordinate system.
    int logical(int devicePixels) const;
    // The panel with the buttons, in screen coordinates.
    QRect buttonRow() const;
    void setPrintButtonsEnabled(bool enabled);
    void setReceptionLamp(bool receiving);
    void setReceivedDataVisible(bool visible);
    void placeReceivedDataWindow();
    // Placed again when the preview grew over it.
    void keepReceivedDataWindowClear();
    void startRunView();
    void clearRunView();
    void endCapture();
    // The capture's message, shown once the tick is over; then the window
    // closes (thenClose) or the capture goes on.
    void showAfterTick(const std::optional<Message> &message, bool thenClose);
    // A capture that gives up while one of the window's dialogs is open
    // (the capture timer goes on meanwhile) closes the window only once that
    // dialog has returned: the dialog still runs on the window.
    void runDialog(const std::function<void()> &dialog);
    void closeWhenNoDialog();
    bool closeIfPending();

    // CaptureLeaveHost
    void editGroupNames() override;
    void redrawShownPage() override;
    QString chooseSaveFile(const QString &startDir, const QString &proposedName) override;

    AppContext &ctx_;
    Prompt &prompt_;
    std::unique_ptr<PrinterDialog> printer_;
    CapturePorts ports_;
    ActualRunCapture capture_;
    bool captureEnded_ = false;
    int dialogDepth_ = 0;
    bool closePending_ = false;
    ChartData chart_;
    PreviewPaging paging_{chart_};
    PlanMetrics metrics_;
    QImage image_;  // in device pixels
    qreal imageRatio_ = 1;  // device pixels per pixel of the screen's coordinate system
    bool pageShown_ = false;  // the image holds a page (not cleared for a run)
    int zoom_ = 100;
    int wheelAngle_ = 0;  // wheel turned but not yet a whole step
    QTimer *fitTimer_ = nullptr;
    QTimer *keyRepeat_ = nullptr;
    QPushButton *repeatButton_ = nullptr;
    int copies_ = 1;

    QScrollArea *scroll_ = nullptr;
    QFrame *panel_ = nullptr;
    ChartImageView *imageView_ = nullptr;
    QFrame *panelPos_ = nullptr;
    QLabel *labelMesspunkt_ = nullptr, *labelAbstand_ = nullptr, *labelSeite_ = nullptr,
           *labelPos_ = nullptr, *labelProg_ = nullptr;
    QPushButton *buttonSeite1_ = nullptr, *buttonSeiteZurueck_ = nullptr,
                *buttonHSeiteZurueck_ = nullptr, *buttonSZurueck_ = nullptr, *buttonSVor_ = nullptr,
                *buttonHSeiteVor_ = nullptr, *buttonSeiteVor_ = nullptr,
                *buttonLetzteSeite_ = nullptr, *buttonMesspunkt_ = nullptr,
                *bitBtnMessEin_ = nullptr, *bitBtnMessAus_ = nullptr, *druckAlles_ = nullptr,
                *druckAuswahl_ = nullptr, *druckAktuell_ = nullptr, *druckNicht_ = nullptr,
                *buttonDrFenster_ = nullptr;
    QLabel *empfangCaption_ = nullptr, *shapeEmpfang_ = nullptr;
    TFormDrDaten *drDaten_ = nullptr;
    QTimer *scanData_ = nullptr;
    QCheckBox *checkPrint_ = nullptr;
    QCheckBox *checkSollIst_ = nullptr;
    QLabel *labelSollIst_ = nullptr;
    std::unique_ptr<RunComparer> comparer_;
    QLineEdit *memoKopie_ = nullptr;
    // "Messpunkt setzen" with the measuring point's captions and values.
    std::vector<QWidget *> measuringControls_;
};
