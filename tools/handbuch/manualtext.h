#pragma once
// The manual's text: the Markdown chapters read into one document, the
// chapters and sections numbered, every screenshot loaded and no wider than
// the text.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

struct ManualHeading {
    int level = 1;  // 1 chapter, 2 section
    QString title;  // with its number, "3.2 Seiten blättern"
    QTextBlock block;
};

// The colour of headings, on the title page and in the text.
inline const QColor kHeadingColour(0x1f, 0x4e, 0x79);

// Margins, tab positions and image sizes of a text document are given in
// pixels of a 96 dpi screen, whatever device it is laid out for.
constexpr qreal layoutPoints(qreal points)
{
    return points * 96 / 72;
}

// Reads the chapters in order into doc. Image paths are relative to the
// chapter files' folder. False with *error naming the file that failed.
bool readManualText(const QStringList &chapterFiles, QTextDocument &doc, QString *error);

// Numbers the chapter and section headings, colours them and starts each
// chapter on a new page; gives the text of paragraphs and lists room to
// breathe. Returns the headings in order.
QList<ManualHeading> numberHeadings(QTextDocument &doc);

// Scales every image down to at most textWidth (in pixels of the document's
// paint device), keeping its proportions.
void fitImages(QTextDocument &doc, qreal textWidth);
