#include "preview/previewpaging.h"

#include "render/pagecomposer.h"

#include <algorithm>

namespace {
constexpr int kPageSpan = ChartRenderer::kPageSpan;
constexpr int kHalfPage = kPageSpan / 2;

QString seconds(int value)
{
    return QStringLiteral("%1 s").arg(value);
}
}  // namespace

PreviewPaging::PreviewPaging(const ChartData &chart) : chart_(chart) {}

void PreviewPaging::OpenChart()
{
    currentPage_ = 1;
    pageCount_ = std::min(::PageCount(chart_.ChartLength()), kPageSlots);
    pageStartSecond_ = 0;
    cursorOffset_ = 0;
    measuringPoint_ = 0;
    measuringShown_ = false;
    pageSelected_.fill(0);
}

int PreviewPaging::total() const
{
    return chart_.ChartLength();
}

void PreviewPaging::settlePage()
{
    pageStartSecond_ = std::max(pageStartSecond_, 0);
    currentPage_ = pageStartSecond_ / kPageSpan + 2;
}

void PreviewPaging::FirstPage()
{
    if (!Buttons().FirstPage)
        return;
    // From page 2 one page back is the overview page, whatever page was shown.
    currentPage_ = 2;
    StepPage(false);
}

void PreviewPaging::StepPage(bool forward)
{
    const PagingButtons enabled = Buttons();
    if (!(forward ? enabled.PageForward : enabled.PageBack))
        return;
    if (currentPage_ == 1) {
        currentPage_ = 2;
        pageStartSecond_ = 0;
    } else if (currentPage_ == 2 && !forward) {
        currentPage_ = 1;
        pageStartSecond_ = 0;
    } else {
        pageStartSecond_ += forward ? kPageSpan : -kPageSpan;
        settlePage();
    }
    cursorOffset_ = 0;
}

void PreviewPaging::StepHalfPage(bool forward)
{
    const PagingButtons enabled = Buttons();
    if (!(forward ? enabled.HalfPageForward : enabled.HalfPageBack))
        return;
    // The cursor keeps its chart second where that stays on the page.
    if (forward) {
        pageStartSecond_ += kHalfPage;
        cursorOffset_ = cursorOffset_ < kHalfPage ? 0 : cursorOffset_ - kHalfPage;
    } else {
        pageStartSecond_ -= kHalfPage;
        cursorOffset_ = cursorOffset_ > kHalfPage ? 0 : cursorOffset_ + kHalfPage;
    }
    settlePage();
}

void PreviewPaging::LastPage()
{
    if (!Buttons().LastPage)
        return;
    currentPage_ = pageCount_;
    pageStartSecond_ = ChartPageStart(pageCount_);
}

bool PreviewPaging::SecondBack()
{
    if (!Buttons().SecondBack)
        return false;
    if (cursorOffset_ >= 1) {
        --cursorOffset_;
        return false;
    }
    if (!Buttons().HalfPageBack)
        return false;
    StepHalfPage(false);
    cursorOffset_ = kHalfPage - 1;  // one second before the old position
    return true;
}

bool PreviewPaging::SecondForward()
{
    if (!Buttons().SecondForward)
        return false;
    if (cursorOffset_ < kPageSpan) {
        ++cursorOffset_;
        return false;
    }
    if (currentPage_ >= pageCount_ || !Buttons().HalfPageForward)
        return false;
    StepHalfPage(true);
    cursorOffset_ = kHalfPage + 1;  // one second after the old position
    return true;
}

bool PreviewPaging::PlaceCursor(int x, const PlanMetrics &metrics)
{
    const int left = metrics.ChartLeft();
    const int span = metrics.SpanWidth;
    if (currentPage_ < 2 || span <= 0 || x < left || x > left + span)
        return false;
    cursorOffset_ = int(int64_t(x - left) * kPageSpan / span);
    // Round to the nearer second.
    if (x - metrics.SecondX(cursorOffset_) > span / 200)
        ++cursorOffset_;
    return true;
}

void PreviewPaging::StartRun()
{
    currentPage_ = 2;
    pageCount_ = 2;
    pageStartSecond_ = 0;
    pageSelected_.fill(0);
}

void PreviewPaging::SetRunPages(int pageCount)
{
    pageCount_ = std::clamp(pageCount, 1, kPageSlots);
}

void PreviewPaging::FollowRun(int pageStart)
{
    pageStartSecond_ = pageStart;
    settlePage();
    currentPage_ = std::min(currentPage_, kPageSlots);
}

void PreviewPaging::ClearRun()
{
    currentPage_ = 1;
    pageCount_ = 1;
    pageStartSecond_ = 0;
    measuringPoint_ = 0;
    pageSelected_.fill(0);
}

void PreviewPaging::SetMeasuringPoint()
{
    if (Buttons().Measuring)
        measuringPoint_ = CursorSecond();
}

void PreviewPaging::ShowMeasuringPoint()
{
    if (!Buttons().Measuring)
        return;
    measuringShown_ = true;
    measuringPoint_ = pageStartSecond_;
}

void PreviewPaging::HideMeasuringPoint()
{
    measuringShown_ = false;
}

int PreviewPaging::MeasuringDistance() const
{
    int distance = CursorSecond() - measuringPoint_;
    // A target plan repeats every cycle, so the distance is taken forward.
    if (chart_.DisplayMode == DisplayMode::TargetPlan && distance < 0)
        distance += total();
    return distance;
}

int PreviewPaging::cursorPage() const
{
    int page = currentPage_;
    if (currentPage_ > 1 && pageStartSecond_ % kPageSpan != 0 && cursorOffset_ > kHalfPage)
        ++page;
    // Past the chart's end the cursor still counts to the last page, which
    // also keeps the selection within its thirteen pages.
    return std::min(page, pageCount_);
}

int PreviewPaging::shownProgram() const
{
    if (chart_.TargetChartActive || chart_.Rows.empty())
        return chart_.ProgramNumber;
    // Beyond the run's end, and on the overview page, the last second counts.
    const size_t last = chart_.Rows.size() - 1;
    const size_t second = currentPage_ > 1 ? std::min(size_t(CursorSecond()), last) : last;
    return chart_.Rows[second].ProgramNumber;
}

void PreviewPaging::SelectPage(bool ticked)
{
    pageSelected_[size_t(cursorPage() - 1)] = ticked ? 1 : 0;
}

void PreviewPaging::FlagPages(PrintChoice choice)
{
    pagePrintFlags_.fill(0);
    for (int page = 1; page <= pageCount_; ++page) {
        uint8_t &flag = pagePrintFlags_[size_t(page - 1)];
        switch (choice) {
        case PrintChoice::All:
            flag = 1;
            break;
        case PrintChoice::Selected:
            flag = pageSelected_[size_t(page - 1)];
            break;
        case PrintChoice::Current:
            flag = page == currentPage_ ? 1 : 0;
            break;
        }
    }
}

PagingButtons PreviewPaging::Buttons() const
{
    const bool chartPage = currentPage_ > 1;
    const int length = total();
    PagingButtons b;
    b.FirstPage = b.PageBack = b.SecondBack = b.SecondForward = b.Measuring = chartPage;
    b.HalfPageBack = chartPage && pageStartSecond_ > 0;
    b.HalfPageForward = chartPage && pageStartSecond_ + kHalfPage < length;
    b.PageForward = b.LastPage =
        pageStartSecond_ + kPageSpan < length || (currentPage_ == 1 && length != 0);
    return b;
}

PagingLabels PreviewPaging::Labels(const PlanMetrics &metrics) const
{
    PagingLabels l;
    l.CursorX = metrics.SecondX(cursorOffset_);
    l.Prog = QString::number(shownProgram());
    const int shown = currentPage_ < 2 ? 1 : cursorPage();
    l.Seite = QStringLiteral("%1 von %2").arg(shown).arg(pageCount_);
    l.CheckPrint = pageSelected_[size_t(shown - 1)] != 0;
    if (currentPage_ < 2) {
        l.Pos = QStringLiteral("----");
        l.Abstand = QStringLiteral("----");
    } else {
        l.Pos = seconds(CursorSecond());
        l.Abstand = seconds(MeasuringDistance());
    }
    return l;
}

PageView PreviewPaging::View() const
{
    PageView view;
    view.PageNumber = currentPage_;
    view.StartSecond = currentPage_ > 1 ? pageStartSecond_ : 0;
    view.MeasuringShown = measuringShown_;
    view.MeasuringPoint = measuringPoint_;
    return view;
}
