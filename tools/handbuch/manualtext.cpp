#include "manualtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPaintDevice>
#include <QAbstractTextDocumentLayout>
#include <QTextCursor>
#include <QTextImageFormat>
#include <QUrl>

namespace {

struct ImageFragment {
    int position;
    int length;
    QTextImageFormat format;
};

// Every image of the document, in order; collected first, as changing a
// format merges and splits the fragments.
QList<ImageFragment> images(const QTextDocument &doc)
{
    QList<ImageFragment> found;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                found.append({it.fragment().position(), it.fragment().length(),
                              it.fragment().charFormat().toImageFormat()});
    return found;
}

}  // namespace

bool readManualText(const QStringList &chapterFiles, QTextDocument &doc, QString *error)
{
    if (chapterFiles.isEmpty()) {
        *error = QStringLiteral("keine Kapitel angegeben");
        return false;
    }
    QString markdown;
    for (const QString &path : chapterFiles) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
            return false;
        }
        markdown += QString::fromUtf8(file.readAll()) + QStringLiteral("\n\n");
    }
    doc.setMarkdown(markdown);

    const QDir base = QFileInfo(chapterFiles.first()).absoluteDir();
    for (const ImageFragment &fragment : images(doc)) {
        const QString name = fragment.format.name();
        const QImage image(base.filePath(name));
        if (image.isNull()) {
            *error = QStringLiteral("Bild %1 nicht lesbar").arg(base.filePath(name));
            return false;
        }
        doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
    }
    return true;
}

QList<ManualHeading> numberHeadings(QTextDocument &doc)
{
    QList<ManualHeading> headings;
    int chapter = 0, section = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        QTextCursor cursor(block);
        if (level == 0) {
            QTextBlockFormat format;
            format.setBottomMargin(layoutPoints(block.textList() ? 2 : 6));
            format.setLineHeight(115, QTextBlockFormat::ProportionalHeight);
            cursor.mergeBlockFormat(format);
            continue;
        }
        QTextCharFormat colour;
        colour.setForeground(kHeadingColour);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(colour);
        cursor.clearSelection();
        cursor.movePosition(QTextCursor::StartOfBlock);
        if (level > 2)
            continue;
        QString number;
        if (level == 1) {
            number = QString::number(++chapter);
            section = 0;
        } else {
            number = QStringLiteral("%1.%2").arg(chapter).arg(++section);
        }
        if (level == 1 && chapter > 1) {
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.setBlockFormat(format);
        }
        cursor.insertText(number + QStringLiteral("  "));
        headings.append({level, block.text(), block});
    }
    return headings;
}

void fitImages(QTextDocument &doc, qreal textWidth)
{
    const QPaintDevice *device = doc.documentLayout()->paintDevice();
    const qreal maxWidth = device ? textWidth * 96 / device->logicalDpiX() : textWidth;
    for (ImageFragment fragment : images(doc)) {
        const QImage image = doc.resource(QTextDocument::ImageResource, QUrl(fragment.format.name())).value<QImage>();
        if (image.width() <= maxWidth)
            continue;
        fragment.format.setWidth(maxWidth);
        fragment.format.setHeight(image.height() * maxWidth / image.width());
        QTextCursor cursor(&doc);
        cursor.setPosition(fragment.position);
        cursor.setPosition(fragment.position + fragment.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(fragment.format);
    }
}
