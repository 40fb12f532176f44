#include "ui/FetchSettingsDialog.h"
#include "ui/ActionRunner.h"

#include "online/FetchSettings.h"
#include "store/Contest.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kc::ui {

FetchSettingsDialog::FetchSettingsDialog(Contest &contest, QWidget *parent)
    : QDialog(parent), m_contest(contest)
{
    setObjectName(QStringLiteral("frmFetchSettings"));
    setWindowTitle(QStringLiteral("取得設定"));
    FetchSettings settings;
    runAction(m_contest, [&] { settings = FetchSettings::load(m_contest); });
    m_torikumiAddressField = new QLineEdit(settings.torikumiTemplate, this);
    m_torikumiAddressField->setObjectName(QStringLiteral("txTorikumiUrl"));
    m_banzukeAddressField = new QLineEdit(settings.banzukeTemplate, this);
    m_banzukeAddressField->setObjectName(QStringLiteral("txBanzukeUrl"));
    for (QLineEdit *e : {m_torikumiAddressField, m_banzukeAddressField})
        e->setMinimumWidth(520);
    auto *help = new QLabel(
        QStringLiteral(
            "{basho} は場所（例 202609、場所コードから）、{day} は日（1〜15）、"
            "{division} は Makuuchi に置き換わります。http:// か https:// の "
            "アドレスだけが使えます。設定はコンテストの Data/Fetch.txt に保存されます。"),
        this);
    help->setWordWrap(true);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("取組結果の URL(&T)"), m_torikumiAddressField);
    form->addRow(QStringLiteral("番付の URL(&B)"), m_banzukeAddressField);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("保存"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    QPushButton *defaults
        = buttons->addButton(QStringLiteral("既定に戻す(&D)"), QDialogButtonBox::ResetRole);
    defaults->setObjectName(QStringLiteral("cmdDefaults"));
    connect(defaults, &QPushButton::clicked, this, [this] {
        m_torikumiAddressField->setText(FetchSettings::defaultTorikumiTemplate());
        m_banzukeAddressField->setText(FetchSettings::defaultBanzukeTemplate());
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &FetchSettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(help);
    layout->addWidget(buttons);
}

bool FetchSettingsDialog::edit(Contest &contest, QWidget *parent)
{
    FetchSettingsDialog d(contest, parent);
    return d.exec() == QDialog::Accepted;
}

void FetchSettingsDialog::accept()
{
    for (QLineEdit *e : {m_torikumiAddressField, m_banzukeAddressField}) {
        if (const QString problem = FetchSettings::templateProblem(e->text()); !problem.isEmpty()) {
            m_contest.prompter().tell({problem, windowTitle(), Icon::Warning});
            e->setFocus();
            e->selectAll();
            return;
        }
    }
    FetchSettings settings;
    settings.torikumiTemplate = m_torikumiAddressField->text().trimmed();
    settings.banzukeTemplate = m_banzukeAddressField->text().trimmed();
    if (runAction(
            m_contest, [&] { settings.save(m_contest); }, {}, windowTitle()))
        QDialog::accept();
}

} // namespace kc::ui
