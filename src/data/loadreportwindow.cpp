#include "data/loadreportwindow.h"

#include "base/functionkeys.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormLaden::TFormLaden(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("TFormLaden"));
    setWindowTitle(QStringLiteral("Geladene Daten"));
    editLaden_ = new QPlainTextEdit(this);
    editLaden_->setObjectName(QStringLiteral("EditLaden"));
    editLaden_->setReadOnly(true);
    editLaden_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    editLaden_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    editLaden_->setLineWrapMode(QPlainTextEdit::NoWrap);  // a long path keeps its dashed underline on one line
    editLaden_->setFocusPolicy(Qt::NoFocus);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(editLaden_);
    layout->addWidget(ok_, 0, Qt::AlignHCenter);
    setFixedSize(520, 420);
}

int TFormLaden::showReport(const QStringList &lines)
{
    editLaden_->setPlainText(lines.join(QLatin1Char('\n')));
    ok_->setFocus();
    return exec();
}

QString TFormLaden::reportText() const
{
    return editLaden_->toPlainText();
}

void TFormLaden::keyPressEvent(QKeyEvent *event)
{
    if (handleFunctionKey(event))
        return;
    // The report has nothing to cancel: Escape confirms it as OK does, so
    // the loaded data are not taken for a new data set.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
