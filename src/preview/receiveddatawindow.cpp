#include "preview/receiveddatawindow.h"

#include "base/functionkeys.h"

#include <QFont>
#include <QKeyEvent>
#include <QTextEdit>

namespace {
constexpr int kClientWidth = 584;
constexpr int kClientHeight = 149;
}  // namespace

TFormDrDaten::TFormDrDaten(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("TFormDrDaten"));
    setWindowTitle(QStringLiteral("Empfangene Druckerdaten"));
    setFixedSize(kClientWidth, kClientHeight);
    // Shown beside the preview while the run comes in, without taking its focus.
    setAttribute(Qt::WA_ShowWithoutActivating);

    memo_ = new QTextEdit(this);
    memo_->setObjectName(QStringLiteral("RichEdit"));
    memo_->setReadOnly(true);
    memo_->setLineWrapMode(QTextEdit::NoWrap);
    // Ten lines of a printout's width fit without scrolling.
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPixelSize(11);
    memo_->setFont(courier);
    memo_->setGeometry(0, 0, kClientWidth, kClientHeight);
}

void TFormDrDaten::showLines(const QStringList &lines)
{
    memo_->setPlainText(lines.join(QLatin1Char('\n')));
    memo_->moveCursor(QTextCursor::End);
}

QString TFormDrDaten::text() const
{
    return memo_->toPlainText();
}

void TFormDrDaten::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closedByUser();
}

void TFormDrDaten::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QWidget::keyPressEvent(event);
}
