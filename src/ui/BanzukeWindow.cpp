#include "ui/BanzukeWindow.h"
#include "ui/ActionRunner.h"
#include "ui/FetchProgress.h"
#include "ui/FetchSettingsDialog.h"
#include "ui/NamesPanelGeometry.h"
#include "ui/SelectAllOnFocus.h"

#include "banzuke/BanzukeImport.h"
#include "online/FetchSettings.h"
#include "online/ResultFetcher.h"
#include "store/Contest.h"
#include "store/StoreError.h"

#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace kc::ui {

namespace {
// Window frame, in twips.
constexpr int kPanelLeft = 2640;
constexpr int kPanelTop = 120;
constexpr int kPanelWidth = 4680;
constexpr int kBoxWidth = 1800;
constexpr int kBoxHeight = 255;
constexpr int kPanelButtonsTop = namespanel::kTop + namespanel::kRowHeight * 22 + 180;
constexpr int kPanelHeight = kPanelButtonsTop + 520;

QString indexed(const char16_t *name, int i)
{
    return QStringLiteral("%1_%2").arg(QString::fromUtf16(name)).arg(i);
}
} // namespace

BanzukeWindow::BanzukeWindow(Contest &contest, QWidget *parent)
    : QDialog(parent), m_contest(contest)
{
    setObjectName(QStringLiteral("frmRentry"));
    setWindowTitle(QStringLiteral("番付登録"));
    m_chooseFile = [this] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("番付ファイルを開く"), QString(),
                                            QStringLiteral("番付ファイル (*.txt *.csv *.json);;"
                                                           "すべてのファイル (*)"));
    };
    buildControls();
    clearAll();
    loadStored();
}

bool BanzukeWindow::run(Contest &contest, QWidget *parent)
{
    BanzukeWindow w(contest, parent);
    w.exec();
    return w.saved();
}

int BanzukeWindow::px(int twips) const
{
    const QScreen *s = screen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return int(twips * dpi / 1440.0 + 0.5);
}

void BanzukeWindow::place(QWidget *w, int leftTwips, int topTwips, int widthTwips,
                          int heightTwips) const
{
    w->setGeometry(px(leftTwips), px(topTwips), px(widthTwips), px(heightTwips));
}

void BanzukeWindow::buildControls()
{
    auto label = [&](QWidget *parent, const QString &text, int l, int t, int w, int h) {
        auto *lb = new QLabel(text, parent);
        place(lb, l, t, w, h);
        return lb;
    };
    auto edit = [&](QWidget *parent, const QString &name, int l, int t, int w, int h) {
        auto *e = new QLineEdit(parent);
        e->setObjectName(name);
        place(e, l, t, w, h);
        e->installEventFilter(this);
        SelectAllOnFocus::install(e);
        return e;
    };
    auto button = [&](QWidget *parent, const QString &name, const QString &text, int l, int t,
                      int w, int h) {
        auto *b = new QPushButton(text, parent);
        b->setObjectName(name);
        b->setAutoDefault(false);
        place(b, l, t, w, h);
        return b;
    };

    label(this, QStringLiteral("場所名"), 120, 120, 2400, 240);
    m_bashoNameField = edit(this, QStringLiteral("txBasho"), 120, 380, 2400, 300);
    label(this, QStringLiteral("場所コード"), 120, 780, 2400, 240);
    m_bashoCodeField = edit(this, QStringLiteral("txBname"), 120, 1040, 1200, 300);
    static const char16_t *const kCountLabels[5]
        = {u"横綱の人数", u"大関の人数", u"関脇の人数", u"小結の人数", u"前頭の人数"};
    for (int g = 0; g < 5; ++g) {
        const int top = 1500 + 420 * g;
        label(this, QString::fromUtf16(kCountLabels[g]), 120, top + 30, 1440, 240);
        m_rankCountFields[g] = edit(this, indexed(u"txNinzu", g), 1680, top, 840, 300);
        m_rankCountFields[g]->setAlignment(Qt::AlignRight);
        connect(m_rankCountFields[g], &QLineEdit::textChanged, this, &BanzukeWindow::updateSum);
    }
    label(this, QStringLiteral("合計"), 120, 3630, 1440, 240);
    m_totalField = edit(this, QStringLiteral("Text1"), 1680, 3600, 840, 300);
    m_totalField->setReadOnly(true);
    m_totalField->setFocusPolicy(Qt::NoFocus);
    m_totalField->setAlignment(Qt::AlignRight);

    m_nextButton
        = button(this, QStringLiteral("cmdOK"), QStringLiteral("次へ　　>>"), 120, 4200, 2400, 420);
    m_importButton = button(this, QStringLiteral("cmdImport"), QStringLiteral("ファイルから読込"),
                            120, 4700, 2400, 420);
    m_fetchButton = button(this, QStringLiteral("cmdFetch"), QStringLiteral("番付取得"), 120, 5200,
                           2400, 420);
    m_fetchButton->setToolTip(QStringLiteral(
        "幕内の番付を Web から取得して表示します（取得設定の URL）。場所コード欄に 202609 の形で"
        "書いた場所、書かなければ次の場所の番付です。確認して保存してください。"));
    m_fetchSettingsButton = button(this, QStringLiteral("cmdFetchSettings"),
                                   QStringLiteral("取得設定"), 120, 5680, 2400, 360);
    m_fetch = new FetchProgress(this);
    place(m_fetch, 120, 6100, 2400, 960);
    m_closeButton
        = button(this, QStringLiteral("Command1"), QStringLiteral("閉じる"), 120, 7100, 2400, 420);
    connect(m_fetchButton, &QPushButton::clicked, this, &BanzukeWindow::fetchBanzuke);
    connect(m_fetchSettingsButton, &QPushButton::clicked, this,
            [this] { FetchSettingsDialog::edit(m_contest, this); });
    connect(m_fetch, &FetchProgress::finished, this, &BanzukeWindow::showFetched);
    connect(m_bashoCodeField, &QLineEdit::textEdited, this, [this] { m_codeTyped = true; });
    connect(m_nextButton, &QPushButton::clicked, this, &BanzukeWindow::toNamesStep);
    connect(m_importButton, &QPushButton::clicked, this, &BanzukeWindow::chooseAndImport);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::reject);

    m_namesPanel = new QFrame(this);
    m_namesPanel->setObjectName(QStringLiteral("Picture1"));
    m_namesPanel->setFrameShape(QFrame::StyledPanel);
    place(m_namesPanel, kPanelLeft, kPanelTop, kPanelWidth, kPanelHeight);
    auto *east
        = label(m_namesPanel, QStringLiteral("東"), namespanel::kEastLeft, 380, kBoxWidth, 260);
    auto *west
        = label(m_namesPanel, QStringLiteral("西"), namespanel::kWestLeft, 380, kBoxWidth, 260);
    east->setAlignment(Qt::AlignCenter);
    west->setAlignment(Qt::AlignCenter);
    for (int i = 0; i < 22; ++i) {
        m_rankLabels[i] = label(m_namesPanel, QString(), 0, namespanel::rowTop(i),
                                namespanel::kEastLeft - 40, kBoxHeight);
        m_rankLabels[i]->setObjectName(indexed(u"Yaku", i));
        m_rankLabels[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int i = 0; i < kRosterSlots; ++i) {
        m_nameFields[i] = edit(m_namesPanel, indexed(u"txR", i), namespanel::kEastLeft,
                               namespanel::kTop, kBoxWidth, kBoxHeight);
        m_nameFields[i]->setMaxLength(10);
    }
    m_backButton = button(m_namesPanel, QStringLiteral("cmdCancel"), QStringLiteral("<<   戻る"),
                          namespanel::kEastLeft, kPanelButtonsTop, kBoxWidth, 420);
    m_saveButton = button(m_namesPanel, QStringLiteral("cmdOKOK"), QStringLiteral("保存"),
                          namespanel::kWestLeft, kPanelButtonsTop, kBoxWidth, 420);
    connect(m_backButton, &QPushButton::clicked, this, &BanzukeWindow::backToCounts);
    connect(m_saveButton, &QPushButton::clicked, this, &BanzukeWindow::saveBanzuke);

    setFixedSize(px(kPanelLeft + kPanelWidth + 120), px(kPanelTop + kPanelHeight + 120));
}

void BanzukeWindow::clearAll()
{
    m_record = BanzukeRecord();
    m_panelCounts = RankCounts();
    for (QLineEdit *t : m_nameFields) {
        t->clear();
        t->hide();
    }
    for (QLineEdit *t : m_rankCountFields) {
        t->setText(QStringLiteral("0"));
        t->setEnabled(true);
    }
    m_bashoNameField->clear();
    m_bashoCodeField->clear();
    m_nextButton->show();
    m_namesPanel->hide();
    updateSum();
}

void BanzukeWindow::loadStored()
{
    std::optional<BanzukeRecord> stored;
    try {
        stored = registration::readStored(m_contest);
    } catch (const StoreError &e) {
        m_contest.prompter().tell({e.message(), QString(), Icon::Warning});
        return;
    }
    if (!stored)
        return;
    m_record = *stored;
    // The panel comes from the stored ranks; the roster in memory is left
    // alone, so closing without saving changes nothing.
    const RankCounts counts = RankCounts::of(m_record);
    m_bashoNameField->setText(m_record.bashoName.trimmed());
    m_bashoCodeField->setText(m_record.bashoCode.trimmed());
    for (int g = 0; g < 5; ++g)
        m_rankCountFields[g]->setText(QString::number(counts.n[g]));
    if (registration::checkCounts(counts))
        return; // a file no window could have written: start from the counts
    layOutNamesPanel(counts);
}

RankCounts BanzukeWindow::typedCounts() const
{
    QStringList texts;
    for (const QLineEdit *t : m_rankCountFields)
        texts << t->text();
    return RankCounts::fromTexts(texts);
}

void BanzukeWindow::updateSum()
{
    m_totalField->setText(QString::number(typedCounts().total()));
}

void BanzukeWindow::layOutNamesPanel(const RankCounts &counts)
{
    const NamesPanelLayout layout = registration::layoutFor(counts);
    m_panelCounts = counts;
    registration::assignRankCodes(m_record, layout);
    m_namesPanel->show();
    for (int i = 0; i < 22; ++i) {
        m_rankLabels[i]->setText(layout.labels[i]);
        m_rankLabels[i]->setVisible(i < layout.rows);
    }
    for (int i = 0; i < kRosterSlots; ++i) {
        QLineEdit *box = m_nameFields[i];
        if (i >= layout.boxCount) {
            box->hide();
            continue;
        }
        place(box, namespanel::boxLeft(layout, i), namespanel::boxTop(layout, i), kBoxWidth,
              kBoxHeight);
        box->setText(m_record.names[i].trimmed().left(10));
        box->show();
    }
}

void BanzukeWindow::showNamesStep()
{
    m_nextButton->hide();
    for (QLineEdit *t : m_rankCountFields)
        t->setEnabled(false);
    if (m_panelCounts.total() > 0)
        m_nameFields[0]->setFocus();
}

void BanzukeWindow::toNamesStep()
{
    const RankCounts counts = typedCounts();
    if (const auto refusal = registration::checkCounts(counts)) {
        m_contest.prompter().tell({*refusal, QString(), Icon::None});
        return;
    }
    m_record.bashoName = m_bashoNameField->text();
    m_record.bashoCode = m_bashoCodeField->text();
    layOutNamesPanel(counts);
    showNamesStep();
}

void BanzukeWindow::backToCounts()
{
    m_nextButton->show();
    m_bashoNameField->setFocus();
    m_namesPanel->hide();
    for (QLineEdit *t : m_rankCountFields)
        t->setEnabled(true);
}

void BanzukeWindow::saveBanzuke()
{
    // The counts may have been edited after the panel was laid out (a stored
    // banzuke opens with both); the saved ranks must match the saved count.
    const RankCounts counts = typedCounts();
    if (counts != m_panelCounts) {
        if (const auto refusal = registration::checkCounts(counts)) {
            m_contest.prompter().tell({*refusal, QString(), Icon::None});
            return;
        }
        layOutNamesPanel(counts);
    }
    m_record.bashoName = m_bashoNameField->text();
    m_record.bashoCode = m_bashoCodeField->text();
    bool saved = false;
    const bool ran = runAction(m_contest, [&] {
        saved = registration::registerBanzuke(m_contest, m_record, counts,
                                              m_english ? &*m_english : nullptr);
    });
    if (!ran)
        return;
    if (!saved) {
        if (!m_nameFields[0]->isHidden())
            m_nameFields[0]->setFocus();
        return;
    }
    m_saved = true;
    accept();
}

void BanzukeWindow::chooseAndImport()
{
    const QString path = m_chooseFile ? m_chooseFile() : QString();
    if (!path.isEmpty())
        importFromFile(path);
}

bool BanzukeWindow::importFromFile(const QString &path)
{
    const BanzukeImport read = BanzukeImport::readFile(path);
    if (!read.ok) {
        m_contest.prompter().tell({read.message, QString(), Icon::Warning});
        return false;
    }
    showRead(read);
    return true;
}

void BanzukeWindow::showRead(const BanzukeImport &read)
{
    if (read.hasTitle) {
        m_bashoNameField->setText(read.record.bashoName);
        m_bashoCodeField->setText(read.record.bashoCode);
    }
    for (int g = 0; g < 5; ++g)
        m_rankCountFields[g]->setText(QString::number(read.counts.n[g]));
    m_english = read.english;
    // Read names count as confirmed: the organiser checks them and saves.
    for (int i = 0; i < kRosterSlots; ++i)
        m_record.names[i] = read.record.names[i];
    m_record.bashoName = m_bashoNameField->text();
    m_record.bashoCode = m_bashoCodeField->text();
    layOutNamesPanel(read.counts);
    showNamesStep();
}

bool BanzukeWindow::isFetching() const
{
    return m_fetch->isRunning();
}

void BanzukeWindow::fetchBanzuke()
{
    if (isFetching())
        return;
    FetchSettings settings;
    if (!runAction(
            m_contest, [&] { settings = FetchSettings::load(m_contest); }, {}, windowTitle()))
        return;
    const auto typed = m_codeTyped ? bashoIdOf(m_bashoCodeField->text(), m_bashoNameField->text())
                                   : std::nullopt;
    const QString basho = typed ? *typed : upcomingBashoId(QDate::currentDate());
    m_fetch->start(expandTemplate(settings.banzukeTemplate, basho, 1));
}

void BanzukeWindow::showFetched(const FetchReply &reply)
{
    if (reply.aborted) {
        m_fetch->setText(QStringLiteral("取得を中止しました。"));
        emit fetchFinished();
        return;
    }
    const FetchedBanzuke fetched = fetching::readBanzuke(reply);
    if (fetched.failure || fetched.refusal) {
        m_fetch->setText(QStringLiteral("取得できませんでした。"));
        m_contest.prompter().tell(
            {fetched.failure ? *fetched.failure : *fetched.refusal, windowTitle(), Icon::Warning});
        emit fetchFinished();
        return;
    }
    m_codeTyped = false;
    showRead(fetched.read);
    m_fetch->setText(fetching::sourceText(fetched.url, fetched.at));
    emit fetchFinished();
}

void BanzukeWindow::done(int result)
{
    // Esc or the close box during a download stops the download, not the window.
    if (isFetching()) {
        m_fetch->abort();
        return;
    }
    QDialog::done(result);
}

bool BanzukeWindow::enterPressed(QObject *watched)
{
    if (watched == m_bashoNameField || watched == m_bashoCodeField) {
        if (m_rankCountFields[0]->isEnabled())
            m_rankCountFields[0]->setFocus();
        return true;
    }
    for (int g = 0; g < 5; ++g) {
        if (watched != m_rankCountFields[g])
            continue;
        if (g < 4)
            m_rankCountFields[g + 1]->setFocus();
        else
            m_nextButton->setFocus();
        return true;
    }
    for (int i = 0; i < kRosterSlots; ++i) {
        if (watched != m_nameFields[i])
            continue;
        m_record.names[i] = m_nameFields[i]->text().left(10);
        const int next = i + 1 < m_panelCounts.total() ? i + 1 : 0;
        m_nameFields[next]->setFocus();
        return true;
    }
    return false;
}

bool BanzukeWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && enterPressed(watched))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kc::ui
