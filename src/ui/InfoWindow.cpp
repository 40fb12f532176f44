#include "ui/InfoWindow.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kc::ui {

InfoWindow::InfoWindow(const QString &text, QWidget *parent)
    : QDialog(parent), m_msg(new QPlainTextEdit(this)), m_ok(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmINFO"));
    setWindowTitle(QStringLiteral("Information"));
    setModal(true);

    m_msg->setObjectName(QStringLiteral("Msg"));
    m_msg->setReadOnly(true);
    m_msg->setPlainText(text);

    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_msg);
    layout->addLayout(buttons);
    resize(520, 360);
    m_ok->setFocus();
}

QString InfoWindow::text() const
{
    return m_msg->toPlainText();
}

void InfoWindow::showMessage(const QString &text, QWidget *parent)
{
    InfoWindow w(text, parent);
    w.exec();
}

} // namespace kc::ui
