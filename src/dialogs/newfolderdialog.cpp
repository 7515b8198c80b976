#include "dialogs/newfolderdialog.h"

#include "base/functionkeys.h"
#include "base/prompt.h"
#include "dialogs/folderpicker.h"
#include "dialogs/newfolder.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormOrdner::TFormOrdner(Prompt &prompt, FolderPicker &picker, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      prompt_(prompt), picker_(picker)
{
    setObjectName(QStringLiteral("TFormOrdner"));
    setWindowTitle(QStringLiteral("Neuer Ordner"));
    setModal(true);

    folderLabel_ = new QLabel(this);
    folderLabel_->setObjectName(QStringLiteral("LabelOrdner"));
    folderLabel_->setWordWrap(true);
    folderLabel_->setMinimumWidth(260);
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("EditName"));
    name_->setMaxLength(32);

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Abbruch"), this);
    connect(ok, &QPushButton::clicked, this, &TFormOrdner::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Aktueller Ordner:"), this), 0, 0, Qt::AlignTop);
    grid->addWidget(folderLabel_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Name:"), this), 1, 0);
    grid->addWidget(name_, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, 2, 0, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormOrdner::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    currentFolder_ = picker_.treeFolder();
    folderLabel_->setText(currentFolder_);
    name_->setText(QStringLiteral("Neuer Ordner"));
    name_->selectAll();
    name_->setFocus();
}

void TFormOrdner::okClicked()
{
    if (const std::optional<Message> refusal = folderNameRefusal(name_->text())) {
        // OK goes back to the name to correct it, Cancel leaves.
        if (prompt_.ask(refusal->text, refusal->caption, refusal->icon, PromptButtons::OkCancel)
            == PromptAnswer::Ok) {
            name_->selectAll();
            name_->setFocus();
            return;
        }
        accept();
        return;
    }
    const NewFolderResult result = createNewFolder(currentFolder_, name_->text());
    if (result.failure) {
        prompt_.tell(*result.failure);
    } else {
        // Visiting the new folder makes the tree list it; the current folder
        // stays the chosen one.
        picker_.setTreeFolder(result.path);
        picker_.setTreeFolder(currentFolder_);
    }
    accept();
}

void TFormOrdner::keyPressEvent(QKeyEvent *event)
{
    if (!handleFunctionKey(event))
        QDialog::keyPressEvent(event);
}
