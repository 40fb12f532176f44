#include "ui/HelpWindow.h"

#include "store/FileStore.h"

#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

// The resources live in a static library: pull them in explicitly.
static void initResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace kc::ui {

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window), m_browser(new QTextBrowser)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Kachikoshi Cup ヘルプ"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_browser->setObjectName(QStringLiteral("txHelp"));
    m_browser->setOpenExternalLinks(true);
    auto *closeButton = new QPushButton(QStringLiteral("閉じる"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_browser, 1);
    layout->addLayout(buttons);
    resize(760, 640);
}

void HelpWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

QString HelpWindow::topicAnchor(int topic)
{
    return QStringLiteral("topic%1").arg(topic);
}

QByteArray HelpWindow::builtInHelp()
{
    initResources();
    QFile f(QStringLiteral(":/help/Kachiho.hlp"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void HelpWindow::ensureHelpFile(FileStore &files, const QString &helpFile)
{
    if (files.exists(helpFile))
        return;
    files.write(helpFile, builtInHelp());
}

void HelpWindow::showTopic(const QString &helpFile, int topic)
{
    initResources();
    // The file is HTML whatever its name says.
    QUrl url = QUrl::fromLocalFile(helpFile);
    url.setFragment(topicAnchor(topic));
    // Read the file afresh each time: the organiser may have edited it.
    if (m_browser->source().adjusted(QUrl::RemoveFragment) == url.adjusted(QUrl::RemoveFragment))
        m_browser->reload();
    else
        m_browser->setSource(url, QTextDocument::HtmlResource);
    m_browser->scrollToAnchor(topicAnchor(topic));
}

} // namespace kc::ui
