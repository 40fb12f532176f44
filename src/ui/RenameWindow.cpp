#include "ui/RenameWindow.h"
#include "ui/ActionRunner.h"
#include "ui/SelectAllOnFocus.h"

#include "store/Contest.h"
#include "store/StoreError.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kc::ui {

RenameWindow::RenameWindow(renaming::RenameSession &session, QWidget *parent)
    : QDialog(parent), m_session(session)
{
    setObjectName(QStringLiteral("frmReName"));
    setWindowTitle(QStringLiteral("力士名の変更"));

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(2);
    // Two columns of 22, as the banzuke numbers run.
    for (int b = 0; b < kRosterSlots; ++b) {
        m_slotLabels[b] = new QLabel(this);
        m_slotLabels[b]->setObjectName(QStringLiteral("Ini_%1").arg(b));
        m_slotLabels[b]->setMinimumWidth(110);
        m_nameFields[b] = new QLineEdit(this);
        m_nameFields[b]->setObjectName(QStringLiteral("tx_%1").arg(b));
        m_nameFields[b]->setMaxLength(10);
        m_nameFields[b]->setFixedWidth(130);
        m_nameFields[b]->installEventFilter(this);
        SelectAllOnFocus::install(m_nameFields[b]);
        const int column = b < 22 ? 0 : 3;
        grid->addWidget(m_slotLabels[b], b % 22, column);
        grid->addWidget(m_nameFields[b], b % 22, column + 1);
    }
    grid->setColumnMinimumWidth(2, 24);

    m_renameButton = new QPushButton(QStringLiteral("登録終了"), this);
    m_renameButton->setObjectName(QStringLiteral("cmdReName"));
    m_cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton *b : {m_renameButton, m_cancelButton})
        b->setAutoDefault(false);
    connect(m_renameButton, &QPushButton::clicked, this, &RenameWindow::saveNames);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_renameButton);
    buttons->addWidget(m_cancelButton);
    auto *root = new QVBoxLayout(this);
    root->addLayout(grid);
    root->addLayout(buttons);
    fill();
}

void RenameWindow::fill()
{
    const renaming::RenameForm form = m_session.form();
    const Roster &roster = m_session.contest().roster();
    for (int b = 0; b < kRosterSlots; ++b) {
        m_slotLabels[b]->setText(form.labels[b].trimmed());
        m_nameFields[b]->setText(form.names[b].trimmed());
        // Slots without a wrestler take no name.
        const bool used = b < roster.wrestlerCount && b != kNoWrestler;
        m_slotLabels[b]->setVisible(used);
        m_nameFields[b]->setVisible(used);
    }
}

void RenameWindow::saveNames()
{
    std::array<QString, kRosterSlots> typed;
    for (int b = 0; b < kRosterSlots; ++b)
        typed[b] = m_nameFields[b]->text();
    Contest &contest = m_session.contest();
    std::optional<QString> refusal;
    if (!runAction(contest, [&] { refusal = m_session.save(typed); }))
        return;
    if (refusal) {
        contest.prompter().tell({*refusal, QString(), Icon::Warning});
        return;
    }
    accept();
}

bool RenameWindow::run(Contest &contest, QWidget *parent)
{
    bool changed = false;
    runAction(contest, [&] {
        changed = renaming::runRename(contest, [parent](renaming::RenameSession &session) {
            RenameWindow w(session, parent);
            w.exec();
        });
    });
    return changed;
}

bool RenameWindow::killRenameList(Contest &contest)
{
    bool killed = false;
    runAction(contest, [&] { killed = renaming::killList(contest); });
    return killed;
}

void RenameWindow::recoverNames(Contest &contest)
{
    runAction(contest, [&] { renaming::recoverDefaultNames(contest); });
}

bool RenameWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            for (int b = 0; b < kRosterSlots; ++b) {
                if (watched != m_nameFields[b])
                    continue;
                const int next = b + 1;
                if (next < kRosterSlots && !m_nameFields[next]->isHidden())
                    m_nameFields[next]->setFocus();
                else
                    m_renameButton->setFocus();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kc::ui
