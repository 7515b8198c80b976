#pragma once
// The paging rules of the preview window without the window: which page is
// shown, where the one-second cursor stands, the measuring point, and which
// pages are ticked for printing. The window forwards its buttons and clicks
// here and shows what Labels() and Buttons() return.

#include "render/chartdata.h"
#include "render/chartrenderer.h"
#include "render/planmetrics.h"

#include <QString>
#include <array>
#include <cstdint>

// The overview page and twelve chart pages: the 1200 seconds of the longest
// chart. The selection and print flags never hold more.
constexpr int kPageSlots = 13;
using PageFlags = std::array<uint8_t, kPageSlots>;

enum class PrintChoice { All, Selected, Current };

// Enabled states of the paging controls.
struct PagingButtons {
    bool FirstPage = false;      // "|<<"
    bool PageBack = false;       // "<<"
    bool HalfPageBack = false;   // "1/2" back
    bool SecondBack = false;     // "<"
    bool SecondForward = false;  // ">"
    bool HalfPageForward = false;
    bool PageForward = false;    // ">>"
    bool LastPage = false;       // ">>|"
    bool Measuring = false;      // "Messpunkt setzen" and the two show / hide buttons
};

// What the labels of the bottom panel show.
struct PagingLabels {
    QString Seite;
    QString Pos;
    QString Prog;
    QString Abstand;
    bool CheckPrint = false;  // "Dr.": the displayed page is ticked
    int CursorX = 0;          // x of the cursor line in the preview image
};

class PreviewPaging {
public:
    // The chart is read, never changed; it must outlive this object.
    explicit PreviewPaging(const ChartData &chart);

    // A chart was opened: its overview page, the cursor at 0, the measuring
    // point at 0 and not shown, no page ticked.
    void OpenChart();

    void FirstPage();
    void StepPage(bool forward);
    void StepHalfPage(bool forward);
    void LastPage();
    // One second back or forward; across a half page where that is allowed.
    // True when the shown page moved and must be drawn again.
    bool SecondBack();
    bool SecondForward();
    // A click at x of the preview image: on a chart page within the chart
    // area the cursor goes to the nearer second. False when ignored.
    bool PlaceCursor(int x, const PlanMetrics &metrics);

    // "Messpunkt setzen": the measuring point goes to the cursor second.
    void SetMeasuringPoint();
    // Showing starts the measuring point at the left edge of the shown page;
    // hiding keeps its second.
    void ShowMeasuringPoint();
    void HideMeasuringPoint();
    int MeasuringDistance() const;

    // A run being received. Its first second shows chart page 2 from second
    // 0 with no page ticked; as it grows it has one page per started 100
    // seconds (at most the thirteen pages); when the shown page has been
    // filled the view follows to the page starting at pageStart; a new
    // printout clears it back to the overview page with the measuring point
    // at 0 and no page ticked.
    void StartRun();
    void SetRunPages(int pageCount);
    void FollowRun(int pageStart);
    void ClearRun();

    // "Dr." ticked or cleared for the page the cursor lies in.
    void SelectPage(bool ticked);
    // The pages the next print run prints.
    void FlagPages(PrintChoice choice);

    PagingButtons Buttons() const;
    PagingLabels Labels(const PlanMetrics &metrics) const;
    // What the preview draws: the shown page with the measuring point.
    PageView View() const;

    int CurrentPage() const { return currentPage_; }
    int PageCount() const { return pageCount_; }
    int PageStartSecond() const { return pageStartSecond_; }
    int CursorOffset() const { return cursorOffset_; }
    int CursorSecond() const { return pageStartSecond_ + cursorOffset_; }
    int MeasuringPoint() const { return measuringPoint_; }
    bool MeasuringShown() const { return measuringShown_; }
    const PageFlags &PageSelected() const { return pageSelected_; }
    const PageFlags &PagePrintFlags() const { return pagePrintFlags_; }

private:
    int total() const;
    // The page the cursor second lies in: after a half-page step the right
    // half of the view belongs to the next page.
    int cursorPage() const;
    // "Prog:": a received run shows the program of the cursor's second.
    int shownProgram() const;
    void settlePage();

    const ChartData &chart_;
    int currentPage_ = 1;
    int pageCount_ = 1;
    int pageStartSecond_ = 0;
    int cursorOffset_ = 0;
    int measuringPoint_ = 0;
    bool measuringShown_ = false;
    PageFlags pageSelected_{};
    PageFlags pagePrintFlags_{};
};
