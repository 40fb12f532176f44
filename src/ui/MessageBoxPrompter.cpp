#include "ui/MessageBoxPrompter.h"

#include "ui/InfoWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace kc::ui {

namespace {
QMessageBox::Icon toIcon(Icon icon)
{
    switch (icon) {
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QWidget *ownerOr(QWidget *parent)
{
    return parent ? parent : QApplication::activeWindow();
}
} // namespace

bool MessageBoxPrompter::ask(const Question &question)
{
    QMessageBox box(toIcon(question.icon),
                    question.title.isEmpty() ? QStringLiteral("Kachikoshi Cup") : question.title,
                    question.text, QMessageBox::Yes | QMessageBox::No, ownerOr(m_parent));
    box.setDefaultButton(question.defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompter::tell(const Message &message)
{
    QMessageBox box(toIcon(message.icon),
                    message.title.isEmpty() ? QStringLiteral("Kachikoshi Cup") : message.title,
                    message.text, QMessageBox::Ok, ownerOr(m_parent));
    box.exec();
}

void MessageBoxPrompter::tellFile(const Message &message, const QString &path)
{
    QMessageBox box(toIcon(message.icon),
                    message.title.isEmpty() ? QStringLiteral("Kachikoshi Cup") : message.title,
                    message.text, QMessageBox::Ok, ownerOr(m_parent));
    QPushButton *open
        = box.addButton(QStringLiteral("ブラウザで開く(&B)"), QMessageBox::ActionRole);
    open->setObjectName(QStringLiteral("cmdOpenFile"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
    if (box.clickedButton() == open && !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        tell({QStringLiteral("%1 を開けませんでした。ブラウザでこのファイルを開いてください。")
                  .arg(QDir::toNativeSeparators(path)),
              message.title, Icon::Warning});
}

void MessageBoxPrompter::inform(const QString &text)
{
    InfoWindow::showMessage(text, ownerOr(m_parent));
}

} // namespace kc::ui
