#include "manualpdf.h"

#include "manualtext.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace {

constexpr int kResolution = 300;  // dots per inch of the page coordinates

QFont textFont(qreal points, bool bold = false)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Where the text of a page goes, between the running head and the page number.
struct PageGeometry {
    QRectF page;  // the area inside the margins
    QRectF body;

    explicit PageGeometry(const QPdfWriter &writer)
    {
        page = writer.pageLayout().paintRectPixels(kResolution);
        page.moveTo(0, 0);
        const qreal band = kResolution * 12 / 25.4;  // 12 mm for head and foot
        body = page.adjusted(0, band, 0, -band);
    }
};

void prepare(QTextDocument &doc, QPdfWriter &writer, const PageGeometry &geometry)
{
    doc.documentLayout()->setPaintDevice(&writer);
    doc.setDefaultFont(textFont(10.5));
    doc.setDocumentMargin(0);
    doc.setPageSize(geometry.body.size());
}

// The page, counted from 0 in the document, on which the block's first line stands.
int pageOf(const QTextBlock &block, qreal pageHeight)
{
    const QTextLayout *layout = block.layout();
    const qreal y = layout->position().y() + (layout->lineCount() ? layout->lineAt(0).rect().center().y() : 0);
    return int(y / pageHeight);
}

// "Inhalt": one line per chapter and section, its page number at the right edge.
void buildContents(QTextDocument &toc, const QList<ManualHeading> &headings, const QList<int> &pages, qreal width)
{
    toc.clear();
    QTextCursor cursor(&toc);
    QTextCharFormat heading;
    heading.setFont(textFont(20, true));
    heading.setForeground(kHeadingColour);
    QTextBlockFormat headingBlock;
    headingBlock.setBottomMargin(layoutPoints(10));
    cursor.setBlockFormat(headingBlock);
    cursor.insertText(QStringLiteral("Inhalt"), heading);
    for (int i = 0; i < headings.size(); ++i) {
        const bool chapter = headings[i].level == 1;
        QTextBlockFormat block;
        const qreal indent = chapter ? 0 : layoutPoints(16);
        // Tabs count from the indented edge; a hair short of the right edge,
        // or the number wraps.
        block.setTabPositions({QTextOption::Tab(width * 96 / kResolution - indent - 1, QTextOption::RightTab)});
        block.setLeftMargin(indent);
        block.setTopMargin(chapter ? layoutPoints(5) : 0);
        QTextCharFormat text;
        text.setFont(textFont(10.5, chapter));
        cursor.insertBlock(block, text);
        cursor.insertText(headings[i].title + QLatin1Char('\t') + QString::number(pages[i]));
    }
}

void drawDocumentPage(QPainter &painter, QTextDocument &doc, int index, const PageGeometry &geometry)
{
    const qreal height = geometry.body.height();
    painter.save();
    painter.translate(geometry.body.left(), geometry.body.top() - index * height);
    doc.drawContents(&painter, QRectF(0, index * height, geometry.body.width(), height));
    painter.restore();
}

void drawRunningHeadAndNumber(QPainter &painter, const ManualInfo &info, int page, int pageCount,
                              const PageGeometry &geometry)
{
    painter.save();
    painter.setPen(QColor(0x60, 0x60, 0x60));
    painter.setFont(textFont(8.5));
    const QRectF head(geometry.page.left(), geometry.page.top(), geometry.page.width(), geometry.body.top() * 0.6);
    painter.drawText(head, Qt::AlignLeft | Qt::AlignBottom, info.title);
    painter.drawText(head, Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Version %1").arg(info.version));
    painter.drawLine(QPointF(head.left(), head.bottom() + kResolution * 0.04),
                     QPointF(head.right(), head.bottom() + kResolution * 0.04));
    const QRectF foot(geometry.page.left(), geometry.body.bottom(), geometry.page.width(),
                      geometry.page.bottom() - geometry.body.bottom());
    painter.drawText(foot, Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("Seite %1 von %2").arg(page).arg(pageCount));
    painter.restore();
}

void drawTitlePage(QPainter &painter, const ManualInfo &info, const PageGeometry &geometry)
{
    const QRectF page = geometry.page;
    qreal y = page.height() * 0.22;
    const QImage image(info.titleImage);
    if (!image.isNull()) {
        const qreal side = kResolution * 1.4;
        painter.drawImage(QRectF(page.center().x() - side / 2, y, side, side), image);
        y += side + kResolution * 0.4;
    }
    const auto line = [&](const QString &text, const QFont &font, const QColor &colour, qreal height) {
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(QRectF(page.left(), y, page.width(), height), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
        y += height;
    };
    line(info.title, textFont(28, true), kHeadingColour, kResolution * 0.7);
    line(info.subtitle, textFont(13), Qt::black, kResolution * 0.9);
    line(QStringLiteral("Version %1").arg(info.version), textFont(11), QColor(0x60, 0x60, 0x60), kResolution * 0.4);
}

}  // namespace

bool writeManualPdf(const QStringList &chapterFiles, const ManualInfo &info, const QString &outFile, QString *error)
{
    QSaveFile file(outFile);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("%1: %2").arg(outFile, file.errorString());
        return false;
    }
    QPdfWriter writer(&file);
    writer.setResolution(kResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(22, 14, 20, 14),
                                     QPageLayout::Millimeter));
    writer.setTitle(info.title);
    writer.setCreator(QStringLiteral("signovat-handbuch %1").arg(info.version));
    const PageGeometry geometry(writer);

    QTextDocument text;
    if (!readManualText(chapterFiles, text, error))
        return false;
    prepare(text, writer, geometry);
    const QList<ManualHeading> headings = numberHeadings(text);
    fitImages(text, geometry.body.width());

    // The contents come before the text, so their own length shifts every
    // page number: lay them out once with the text's own numbers to count
    // their pages, then again with the final ones (of the same width).
    QTextDocument toc;
    prepare(toc, writer, geometry);
    QList<int> pages;
    for (const ManualHeading &h : headings)
        pages.append(pageOf(h.block, geometry.body.height()) + 1);
    buildContents(toc, headings, pages, geometry.body.width());
    const int firstTextPage = 1 + toc.pageCount() + 1;
    for (int &page : pages)
        page += firstTextPage - 1;
    buildContents(toc, headings, pages, geometry.body.width());

    const int pageCount = 1 + toc.pageCount() + text.pageCount();
    QPainter painter(&writer);
    drawTitlePage(painter, info, geometry);
    int page = 1;
    for (QTextDocument *doc : {&toc, &text}) {
        for (int i = 0; i < doc->pageCount(); ++i) {
            writer.newPage();
            drawDocumentPage(painter, *doc, i, geometry);
            drawRunningHeadAndNumber(painter, info, ++page, pageCount, geometry);
        }
    }
    painter.end();
    if (!file.commit()) {
        *error = QStringLiteral("%1: %2").arg(outFile, file.errorString());
        return false;
    }
    return true;
}
