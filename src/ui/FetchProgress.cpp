#include "ui/FetchProgress.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kc::ui {

FetchProgress::FetchProgress(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FetchProgress"));
    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lbFetch"));
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("pbFetch"));
    m_bar->setTextVisible(false);
    m_abort = new QPushButton(QStringLiteral("中止"), this);
    m_abort->setObjectName(QStringLiteral("cmdAbort"));
    m_abort->setAutoDefault(false);
    auto *row = new QHBoxLayout;
    row->addWidget(m_bar, 1);
    row->addWidget(m_abort);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
    layout->addLayout(row);
    layout->addStretch(1);
    m_bar->hide();
    m_abort->hide();
    connect(m_abort, &QPushButton::clicked, this, &FetchProgress::abort);
    connect(&m_fetcher, &HttpFetcher::progress, this, [this](qint64 received, qint64 total) {
        // Unknown length: the bar just shows that something is happening.
        m_bar->setRange(0, total > 0 ? int(std::min<qint64>(total, HttpFetcher::kMaxBody)) : 0);
        if (total > 0)
            m_bar->setValue(int(std::min(received, total)));
    });
    connect(&m_fetcher, &HttpFetcher::finished, this, [this] {
        setRunning(false);
        emit finished(m_fetcher.result());
    });
}

void FetchProgress::start(const QUrl &url)
{
    if (isRunning())
        return;
    setText(QStringLiteral("取得中: %1").arg(url.toDisplayString()));
    setRunning(true);
    m_fetcher.start(url);
}

void FetchProgress::setText(const QString &text)
{
    m_label->setText(text);
}

QString FetchProgress::text() const
{
    return m_label->text();
}

void FetchProgress::setRunning(bool running)
{
    if (running) {
        QWidget *top = window();
        for (QWidget *w : top->findChildren<QWidget *>()) {
            // Buttons and boxes one could type in; read-only boxes only show.
            const auto *edit = qobject_cast<QLineEdit *>(w);
            const bool control
                = qobject_cast<QAbstractButton *>(w) || (edit && !edit->isReadOnly());
            if (w == m_abort || !control || !w->isEnabled())
                continue;
            m_disabled << w;
            w->setEnabled(false);
        }
        m_bar->setRange(0, 0);
        m_bar->show();
        m_abort->show();
        m_abort->setFocus();
    } else {
        for (const QPointer<QWidget> &w : std::as_const(m_disabled))
            if (w)
                w->setEnabled(true);
        m_disabled.clear();
        m_bar->hide();
        m_abort->hide();
    }
}

} // namespace kc::ui
