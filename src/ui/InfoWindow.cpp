#include "ui/InfoWindow.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kc::ui {

InfoWindow::InfoWindow(const QString &text, QWidget *parent)
    : QDialog(parent), m_textBox(new QPlainTextEdit(this)), m_okButton(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmINFO"));
    setWindowTitle(QStringLiteral("Information"));
    setModal(true);

    m_textBox->setObjectName(QStringLiteral("Msg"));
    m_textBox->setReadOnly(true);
    m_textBox->setPlainText(text);

    m_okButton->setObjectName(QStringLiteral("cmdOK"));
    m_okButton->setText(QStringLiteral("OK"));
    m_okButton->setDefault(true);
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_textBox);
    layout->addLayout(buttons);
    resize(520, 360);
    m_okButton->setFocus();
}

QString InfoWindow::text() const
{
    return m_textBox->toPlainText();
}

void InfoWindow::showMessage(const QString &text, QWidget *parent)
{
    InfoWindow w(text, parent);
    w.exec();
}

} // namespace kc::ui
