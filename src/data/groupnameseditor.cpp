#include "data/groupnameseditor.h"

#include "base/functionkeys.h"
#include "base/appsettings.h"
#include "base/inputchecks.h"
#include "base/utilities.h"
#include "data/installationtype.h"
#include "data/namesfile.h"
#include "data/namesfiledialog.h"
#include "data/textfield.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
// Field 0 and its number label; every other field sits 160 pixels further
// right per column and 32 lower per row.
constexpr int kMemoLeft = 56, kMemoTop = 32, kMemoWidth = 120, kMemoHeight = 19;
constexpr int kLabelLeft = 16, kLabelWidth = 32;
constexpr int kColumnStep = 160, kRowStep = 32;
constexpr int kClientWidth = 352;
// The window heights of the installation types (24, 12 and 4 names) are
// 102 + 32 per row of names, the frame taking 27 of them.
constexpr int kFrameHeight = 27;
constexpr int kBevelHeight = 41;

int windowHeight(int rows)
{
    return 102 + kRowStep * rows;
}
}  // namespace

TFormGrpBez::TFormGrpBez(InstallationData &data, const AppSettings &settings, Prompt &prompt,
                         QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::MSWindowsFixedSizeDialogHint),
      data_(data), settings_(settings), prompt_(prompt)
{
    setObjectName(QStringLiteral("TFormGrpBez"));
    setWindowTitle(QStringLiteral("Gruppenbezeichnung"));

    auto *heading = new QLabel(QStringLiteral("Gruppe Nr.                         Gruppe Nr."), this);
    heading->setObjectName(QStringLiteral("LabelUeb"));
    heading->move(kLabelLeft, 8);
    heading->adjustSize();

    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const int i = c * kRows + r;
            const QString suffix = i == 0 ? QString() : QString::number(i);
            auto *memo = new QLineEdit(this);
            memo->setObjectName(QStringLiteral("Memo") + suffix);
            memo->setMaxLength(kGroupNameLength);
            memo->setGeometry(kMemoLeft + kColumnStep * c, kMemoTop + kRowStep * r, kMemoWidth, kMemoHeight);
            memo->installEventFilter(this);
            auto *label = new QLabel(this);
            label->setObjectName(QStringLiteral("Label") + suffix);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setGeometry(kLabelLeft + kColumnStep * c, kMemoTop + kRowStep * r, kLabelWidth,
                               kMemoHeight);
            fields_[i] = memo;
            labels_[i] = label;
        }
    }

    bevel_ = new QFrame(this);
    bevel_->setObjectName(QStringLiteral("BevelButtons"));
    bevel_->setFrameShape(QFrame::Panel);
    bevel_->setFrameShadow(QFrame::Raised);
    auto button = [this](const QString &name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setGeometry(x, 0, 80, 25);
        return b;
    };
    buttonOpen_ = button(QStringLiteral("ButtonOpen"), QStringLiteral("Daten Laden"), 8);
    buttonClear_ = button(QStringLiteral("ButtonClear"), QStringLiteral("Löschen"), 92);
    buttonAbbruch_ = button(QStringLiteral("ButtonAbbruch"), QStringLiteral("Abbruch"), 176);
    buttonOk_ = button(QStringLiteral("ButtonOk"), QStringLiteral("Ok"), 260);
    connect(buttonOpen_, &QPushButton::clicked, this, &TFormGrpBez::ButtonOpenClick);
    connect(buttonClear_, &QPushButton::clicked, this, &TFormGrpBez::ButtonClearClick);
    connect(buttonAbbruch_, &QPushButton::clicked, this, &TFormGrpBez::ButtonAbbruchClick);
    connect(buttonOk_, &QPushButton::clicked, this, &TFormGrpBez::ButtonOkClick);
}

void TFormGrpBez::showEvent(QShowEvent *event)
{
    const int shown = GroupNamesShown(data_);
    const int rows = (shown + 1) / 2;
    const int clientHeight = windowHeight(rows) - kFrameHeight;
    setFixedSize(kClientWidth, clientHeight);

    // The bevel sits at the bottom, the buttons 4 pixels below its top.
    const int bevelTop = clientHeight - kBevelHeight;
    bevel_->setGeometry(0, bevelTop, kClientWidth, kBevelHeight);
    for (QPushButton *b : {buttonOpen_, buttonClear_, buttonAbbruch_, buttonOk_})
        b->move(b->x(), bevelTop + 4);

    emit visibilityChanged();

    fillFields();
    fields_[0]->setFocus();
    QWidget *previous = nullptr;
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            const int k = 2 * r + c + 1;
            QLineEdit *memo = field(r, c);
            numberLabel(r, c)->setText(QString::number(k));
            memo->setVisible(k <= shown);
            numberLabel(r, c)->setVisible(k <= shown);
            if (previous)
                setTabOrder(previous, memo);
            previous = memo;
        }
    }
    QDialog::showEvent(event);
}

void TFormGrpBez::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    emit visibilityChanged();
}

void TFormGrpBez::fillFields()
{
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            field(r, c)->setText(GroupNameText(data_, 2 * r + c));
}

void TFormGrpBez::ButtonOkClick()
{
    // Hidden fields still hold their names, so those groups keep them.
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c)
            TextToField10(field(r, c)->text(), data_.GroupNames[2 * r + c]);
    close();
}

void TFormGrpBez::ButtonAbbruchClick()
{
    close();
}

void TFormGrpBez::ButtonClearClick()
{
    if (ConfirmDeleteData(prompt_) != PromptAnswer::Yes)
        return;
    for (QLineEdit *memo : fields_)
        memo->clear();
}

void TFormGrpBez::ButtonOpenClick()
{
    const QString path = askNamesFileToOpen(this, settings_.StandardDataDir);
    if (path.isEmpty())
        return;
    // The names change at once, whatever the user does with the editor afterwards.
    readNamesFile(data_, path);
    fillFields();
    fields_[0]->setFocus();
}

void TFormGrpBez::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QDialog::keyPressEvent(event);
}

bool TFormGrpBez::eventFilter(QObject *watched, QEvent *event)
{
    // Entering a name field selects every name, so typing replaces it.
    if (event->type() == QEvent::FocusIn)
        for (QLineEdit *memo : fields_)
            memo->selectAll();
    return QDialog::eventFilter(watched, event);
}
