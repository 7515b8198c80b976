#include "app/aboutbox.h"

#include "app/programversion.h"
#include "base/functionkeys.h"

#include <QFontInfo>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint
                          | Qt::WindowTitleHint)
{
    setWindowTitle(QStringLiteral("Info"));
    auto *panel = new QFrame(this);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    auto *inner = new QVBoxLayout(panel);
    auto *title = new QLabel(QStringLiteral("Grafisches Druckprogramm"), panel);
    QFont bold = title->font();
    bold.setBold(true);
    // The program's font is set in pixels, so its point size reads -1.
    bold.setPixelSize(QFontInfo(bold).pixelSize() + 3);
    title->setFont(bold);
    version_ = new QLabel(panel);
    inner->addWidget(title, 0, Qt::AlignHCenter);
    inner->addWidget(version_, 0, Qt::AlignHCenter);
    inner->addWidget(new QLabel(QStringLiteral("Signovat – Werkzeug für den Service an Lichtsignalanlagen"), panel),
                     0, Qt::AlignHCenter);
    inner->addWidget(new QLabel(QStringLiteral("(Für KVX 300, KVX 900, KVX 5000 und QSW 2000)"), panel),
                     0, Qt::AlignHCenter);
    inner->addWidget(new QLabel(QStringLiteral("(der Versionen 5.0x)"), panel), 0, Qt::AlignHCenter);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    version_->setText(QStringLiteral("Version: ") + programVersion() + QStringLiteral("/ 28.1.2010"));
    QDialog::showEvent(event);
}

void TAboutBox::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QDialog::keyPressEvent(event);
}
