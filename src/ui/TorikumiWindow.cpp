#include "ui/TorikumiWindow.h"
#include "ui/ActionRunner.h"
#include "ui/FetchProgress.h"
#include "ui/FetchSettingsDialog.h"
#include "ui/WindowPlacement.h"

#include "banzuke/Renaming.h"
#include "online/FetchSettings.h"
#include "online/ResultFetcher.h"
#include "scoring/DayConfirmation.h"
#include "scoring/ResultImport.h"
#include "scoring/ResultMarks.h"
#include "store/Contest.h"
#include "store/Roster.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

namespace kc::ui {

namespace {
// Places in twips.
constexpr int kRowsTop = 600;
constexpr int kRowHeight = 300;
constexpr int kButtonHeight = 285;
constexpr int kEastLno = 120, kEastButton = 480, kYakuLeft = 2070, kWestButton = 2700,
              kWestLno = 4290;
constexpr int kButtonWidth = 1560, kLnoWidth = 360, kYakuWidth = 600;
constexpr int kSideLeft = 4800, kSideWidth = 1200;
constexpr int kDaysTop = kRowsTop + kRowHeight * 22 + 120;
constexpr int kSaveTop = kRowsTop + kRowHeight * 20;
constexpr int kSaveTopLastDay = 240;
// The progress bar of 結果確定, below the day cells.
constexpr int kBarLeft = 308, kBarTop = 7870, kBarBottom = 7950, kBarSpan = 3000;
// What the last 結果取得 read, right of the buttons, and the status bar below all.
constexpr int kReportLeft = kSideLeft + kSideWidth + 180, kReportWidth = 3300;
constexpr int kStatusTop = kBarBottom + 240, kStatusHeight = 330;

// While 結果確定 runs, questions and messages go to the window's prompter as
// before, and the progress is drawn on the window.
class WindowProgressPrompter : public Prompter
{
public:
    WindowProgressPrompter(Prompter &inner, TorikumiWindow &window)
        : m_inner(inner), m_window(window)
    {
    }
    bool ask(const Question &q) override { return m_inner.ask(q); }
    void tell(const Message &m) override { m_inner.tell(m); }
    void inform(const QString &text) override { m_inner.inform(text); }
    void beginProgress(int total, const QString &caption) override
    {
        m_inner.beginProgress(total, caption);
        m_window.beginProgress(total);
    }
    void advanceProgress(int done) override
    {
        m_inner.advanceProgress(done);
        m_window.advanceProgress(done);
    }
    void endProgress() override
    {
        m_window.endProgress();
        m_inner.endProgress();
    }

private:
    Prompter &m_inner;
    TorikumiWindow &m_window;
};

QString indexed(const char16_t *name, int i)
{
    return QStringLiteral("%1_%2").arg(QString::fromUtf16(name)).arg(i);
}

QString colourStyle(const QColor &background)
{
    return QStringLiteral("background-color: %1; color: black; border: 1px solid #808080;")
        .arg(background.name());
}
} // namespace

TorikumiWindow::TorikumiWindow(Contest &contest, Mode mode, QWidget *parent)
    : QDialog(parent), m_contest(contest), m_mode(mode)
{
    setObjectName(QStringLiteral("frmTorikumi"));
    setWindowTitle(mode == Mode::Chart ? QStringLiteral("番付表（力士番号）")
                                       : QStringLiteral("取組結果入力"));
    buildControls();
    buildButtonMap();
    const int current = m_contest.rules().currentDay;
    m_day = current >= kDays ? kDays : std::max(1, current + 1);
    applyMode();
    paintDayCells();
    showDay(m_day);
}

TorikumiWindow *TorikumiWindow::openChart(Contest &contest, QWidget *owner)
{
    if (!runAction(contest, [&] { renaming::reloadKeepingResults(contest); }))
        return nullptr;
    auto *w = new TorikumiWindow(contest, Mode::Chart, owner);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setModal(false);
    w->show();
    // Beside its owner, so the owner's buttons stay in reach.
    placeBeside(w, owner);
    return w;
}

int TorikumiWindow::px(int twips) const
{
    const QScreen *s = screen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return int(twips * dpi / 1440.0 + 0.5);
}

void TorikumiWindow::place(QWidget *w, int leftTwips, int topTwips, int widthTwips,
                           int heightTwips) const
{
    w->setGeometry(px(leftTwips), px(topTwips), px(widthTwips), px(heightTwips));
}

QColor TorikumiWindow::markColour(int mark, const QPalette &palette)
{
    switch (mark) {
    case MarkWin:
        return QColor(255, 186, 0);
    case MarkSilver:
        return QColor(181, 208, 255);
    case MarkGold:
        return QColor(255, 255, 148);
    case MarkAbsent:
    case MarkAbsentConfirmed:
    case MarkAbsentLater:
        return QColor(108, 108, 108);
    default:
        // 黒星 keeps the system's button face.
        return palette.color(QPalette::Button);
    }
}

void TorikumiWindow::buildControls()
{
    m_Label1 = new QLabel(QStringLiteral("　　　　東　　　　　　　　　　　　西"), this);
    m_Label1->setObjectName(QStringLiteral("Label1"));
    place(m_Label1, kEastButton, 240, kWestButton + kButtonWidth - kEastButton, 300);

    for (int r = 0; r < 22; ++r) {
        const int top = kRowsTop + kRowHeight * r;
        m_Yaku[r] = new QLabel(this);
        m_Yaku[r]->setObjectName(indexed(u"Yaku", r));
        m_Yaku[r]->setAlignment(Qt::AlignCenter);
        place(m_Yaku[r], kYakuLeft, top, kYakuWidth, kButtonHeight);
        for (int side = 0; side < 2; ++side) {
            const int i = 2 * r + side;
            m_cmdRikishi[i] = new QPushButton(this);
            m_cmdRikishi[i]->setObjectName(indexed(u"cmdRikishi", i));
            m_cmdRikishi[i]->setAutoDefault(false);
            m_cmdRikishi[i]->setFocusPolicy(Qt::NoFocus);
            place(m_cmdRikishi[i], side == 0 ? kEastButton : kWestButton, top, kButtonWidth,
                  kButtonHeight);
            m_Lno[i] = new QLabel(this);
            m_Lno[i]->setObjectName(indexed(u"Lno", i));
            m_Lno[i]->setAlignment(Qt::AlignCenter);
            place(m_Lno[i], side == 0 ? kEastLno : kWestLno, top, kLnoWidth, kButtonHeight);
        }
    }

    static const char16_t *const kLegend[5] = {u"黒星", u"白星", u"銀星", u"金星", u"休場"};
    for (int k = 0; k < 5; ++k) {
        m_Text1[k] = new QLineEdit(QString::fromUtf16(kLegend[k]), this);
        m_Text1[k]->setObjectName(indexed(u"Text1", k));
        m_Text1[k]->setReadOnly(true);
        m_Text1[k]->setFocusPolicy(Qt::NoFocus);
        m_Text1[k]->setAlignment(Qt::AlignCenter);
        m_Text1[k]->setStyleSheet(colourStyle(markColour(k, palette())));
        place(m_Text1[k], kSideLeft, kRowsTop + 330 * k, kSideWidth, kButtonHeight);
    }
    m_txDAY = new QLineEdit(this);
    m_txDAY->setObjectName(QStringLiteral("txDAY"));
    m_txDAY->setReadOnly(true);
    m_txDAY->setAlignment(Qt::AlignRight);
    place(m_txDAY, kSideLeft, 2520, 560, 300);
    m_Label2 = new QLabel(QStringLiteral("日目"), this);
    m_Label2->setObjectName(QStringLiteral("Label2"));
    place(m_Label2, kSideLeft + 620, 2540, 580, 280);
    m_cmdDOWN = new QPushButton(QStringLiteral("<<"), this);
    m_cmdDOWN->setObjectName(QStringLiteral("cmdDOWN"));
    place(m_cmdDOWN, kSideLeft, 2940, 580, 360);
    m_cmdUP = new QPushButton(QStringLiteral(">>"), this);
    m_cmdUP->setObjectName(QStringLiteral("cmdUP"));
    place(m_cmdUP, kSideLeft + 620, 2940, 580, 360);
    for (int d = 0; d < kDays; ++d) {
        m_txRDays[d] = new QLineEdit(QString::number(d + 1), this);
        m_txRDays[d]->setObjectName(indexed(u"txRDays", d));
        m_txRDays[d]->setReadOnly(true);
        m_txRDays[d]->setFocusPolicy(Qt::NoFocus);
        m_txRDays[d]->setAlignment(Qt::AlignCenter);
        place(m_txRDays[d], kEastLno + 300 * d, kDaysTop, 290, 260);
    }
    m_cmdDecite = new QPushButton(QStringLiteral("結果確定"), this);
    m_cmdDecite->setObjectName(QStringLiteral("cmdDecite"));
    place(m_cmdDecite, kSideLeft, kSaveTop - 600, kSideWidth, 420);
    m_cmdSave = new QPushButton(QStringLiteral("閉じる"), this);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    place(m_cmdSave, kSideLeft, kSaveTop, kSideWidth, 420);
    m_cmdImport = new QPushButton(QStringLiteral("結果ファイル\n読込"), this);
    m_cmdImport->setObjectName(QStringLiteral("cmdImport"));
    m_cmdImport->setToolTip(
        QStringLiteral("ダウンロードした取組結果（JSON）または「力士名,結果」の CSV から、"
                       "表示中の日の結果を読み込みます。確定は結果確定で行います。"));
    place(m_cmdImport, kSideLeft, 3500, kSideWidth, 640); // two lines: the column is narrow
    m_chooseFile = [this] {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("取組結果ファイルを開く"), QString(),
            QStringLiteral("取組結果 (*.json *.csv *.txt);;すべてのファイル (*)"));
    };
    connect(m_cmdImport, &QPushButton::clicked, this, [this] {
        const QString path = m_chooseFile ? m_chooseFile() : QString();
        if (!path.isEmpty())
            importResultFile(path);
    });
    for (QPushButton *b : {m_cmdDOWN, m_cmdUP, m_cmdDecite, m_cmdSave, m_cmdImport})
        b->setAutoDefault(false);
    connect(m_cmdSave, &QPushButton::clicked, this, &TorikumiWindow::saveAndClose);
    connect(m_cmdDOWN, &QPushButton::clicked, this, [this] { showDay(std::max(1, m_day - 1)); });
    connect(m_cmdUP, &QPushButton::clicked, this, [this] { showDay(std::min(kDays, m_day + 1)); });
    connect(m_cmdDecite, &QPushButton::clicked, this, &TorikumiWindow::confirmShownDay);
    // A mark steps on the press of any mouse button, not on a left click only.
    for (QPushButton *b : m_cmdRikishi)
        b->installEventFilter(this);

    buildFetchControls();
    // Room below the day cells for the progress bar of 結果確定.
    if (m_mode == Mode::Input)
        setFixedSize(px(kReportLeft + kReportWidth + 120), px(kStatusTop + kStatusHeight));
    else
        setFixedSize(px(kSideLeft + kSideWidth + 120), px(kBarBottom + 240));
}

void TorikumiWindow::buildFetchControls()
{
    m_cmdFetch = new QPushButton(QStringLiteral("結果取得"), this);
    m_cmdFetch->setObjectName(QStringLiteral("cmdFetch"));
    m_cmdFetch->setToolTip(QStringLiteral("表示中の日の幕内の取組結果を Web から取得して読み込み"
                                          "ます（取得設定の URL）。確定は結果確定で行います。"));
    place(m_cmdFetch, kSideLeft, 4260, kSideWidth, 420);
    m_cmdFetchSettings = new QPushButton(QStringLiteral("取得設定"), this);
    m_cmdFetchSettings->setObjectName(QStringLiteral("cmdFetchSettings"));
    place(m_cmdFetchSettings, kSideLeft, 4740, kSideWidth, 360);
    for (QPushButton *b : {m_cmdFetch, m_cmdFetchSettings})
        b->setAutoDefault(false);
    auto *caption = new QLabel(QStringLiteral("取得した結果"), this);
    place(caption, kReportLeft, 300, kReportWidth, 280);
    m_fetchReport = new QPlainTextEdit(this);
    m_fetchReport->setObjectName(QStringLiteral("txFetchReport"));
    m_fetchReport->setReadOnly(true);
    m_fetchReport->setPlaceholderText(
        QStringLiteral("結果取得を押すと、読み込んだ取組の数、変わった結果、結果のない力士が"
                       "ここに出ます。"));
    place(m_fetchReport, kReportLeft, kRowsTop, kReportWidth, 5400);
    m_fetch = new FetchProgress(this);
    place(m_fetch, kReportLeft, kRowsTop + 5520, kReportWidth, 1080);
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("statusBar"));
    m_status->setSizeGripEnabled(false);
    place(m_status, 0, kStatusTop, kReportLeft + kReportWidth + 120, kStatusHeight);
    connect(m_cmdFetch, &QPushButton::clicked, this, &TorikumiWindow::fetchShownDay);
    connect(m_cmdFetchSettings, &QPushButton::clicked, this,
            [this] { FetchSettingsDialog::edit(m_contest, this); });
    connect(m_fetch, &FetchProgress::finished, this, &TorikumiWindow::showFetched);
    const bool input = m_mode == Mode::Input;
    for (QWidget *w : std::initializer_list<QWidget *> {caption, m_fetchReport, m_fetch, m_status,
                                                        m_cmdFetchSettings})
        w->setVisible(input);
}

void TorikumiWindow::buildButtonMap()
{
    const BanzukeLayout layout = computeLayout(m_contest.roster());
    for (int i = 0; i < kRosterSlots; ++i) {
        m_number[i] = layout.numbers[i];
        m_slot[i] = layout.slotAt[i];
        m_caption[i] = layout.names[i];
        m_cmdRikishi[i]->setText(m_caption[i]);
    }
    for (int r = 0; r < 22; ++r) {
        m_rowLabel[r] = layout.labels[r];
        m_Yaku[r]->setText(m_rowLabel[r]);
    }
}

void TorikumiWindow::applyMode()
{
    const bool input = m_mode == Mode::Input;
    for (QWidget *w :
         std::initializer_list<QWidget *> {m_cmdUP, m_cmdDOWN, m_txDAY, m_Label2, m_cmdDecite})
        w->setVisible(input);
    m_cmdImport->setVisible(input && m_contest.rules().currentDay < kDays);
    m_cmdFetch->setVisible(input && m_contest.rules().currentDay < kDays);
    for (QLineEdit *t : m_Text1)
        t->setVisible(input);
    for (QLineEdit *t : m_txRDays)
        t->setVisible(input);
    if (input && m_contest.rules().currentDay >= kDays) {
        m_cmdDecite->hide();
        place(m_cmdSave, kSideLeft, kSaveTopLastDay, kSideWidth, 420);
    }
}

int TorikumiWindow::winsUpToShownDay(int slot) const
{
    return winsUpTo(m_contest.roster(), slot, m_day);
}

void TorikumiWindow::paintButton(int i)
{
    QPushButton *b = m_cmdRikishi[i];
    if (m_number[i] == 999 || m_slot[i] < 0) {
        b->hide();
        return;
    }
    b->show();
    if (m_mode == Mode::Chart) {
        b->setEnabled(false);
        b->setStyleSheet(colourStyle(Qt::white));
        return;
    }
    b->setEnabled(true);
    const int mark = m_contest.roster().wrestlers[m_slot[i]].dayResult[m_day - 1];
    QString style = colourStyle(markColour(mark, palette()));
    if (m_day == m_fetchDay && m_changedSlots.count(m_slot[i]))
        style += QStringLiteral(" border: 2px solid #d00000;"); // changed by the last 結果取得
    b->setStyleSheet(style);
}

void TorikumiWindow::refreshLno(int i)
{
    QLabel *l = m_Lno[i];
    if (m_number[i] == 999 || m_slot[i] < 0) {
        l->hide();
        return;
    }
    l->show();
    l->setText(QString::number(m_mode == Mode::Chart ? m_number[i] : winsUpToShownDay(m_slot[i])));
}

void TorikumiWindow::paintDayCells()
{
    const int current = m_contest.rules().currentDay;
    for (int d = 0; d < kDays; ++d)
        m_txRDays[d]->setStyleSheet(d < current ? QStringLiteral("background-color: #ff0000;")
                                                : QString());
}

void TorikumiWindow::showDay(int day)
{
    m_day = std::clamp(day, 1, kDays);
    m_txDAY->setText(QString::number(m_day));
    for (int i = 0; i < kRosterSlots; ++i) {
        paintButton(i);
        refreshLno(i);
    }
}

void TorikumiWindow::saveAndClose()
{
    if (!runAction(m_contest, [this] { m_contest.saveWrestlers(); }))
        return;
    accept();
}

void TorikumiWindow::done(int result)
{
    // Esc or the close box during a download stops the download, not the window.
    if (isFetching()) {
        m_fetch->abort();
        return;
    }
    emit unloaded(m_contest.rules().currentDay);
    QDialog::done(result);
}

bool TorikumiWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        for (int i = 0; i < kRosterSlots; ++i) {
            if (watched != m_cmdRikishi[i])
                continue;
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (m_mode == Mode::Input)
                clickRikishi(i, mouse->button() == Qt::LeftButton);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TorikumiWindow::clickRikishi(int i, bool forward)
{
    if (m_slot[i] < 0 || !cycleMark(m_contest, m_slot[i], m_day, forward))
        return; // a confirmed day or a locked absence: ignored without a word
    if (m_day == m_fetchDay)
        m_changedSlots.erase(m_slot[i]); // the organiser's own mark now
    paintButton(i);
    refreshLno(i);
    m_cmdSave->setFocus();
}

void TorikumiWindow::confirmShownDay()
{
    ConfirmOutcome outcome = ConfirmOutcome::Refused;
    const bool done = runAction(
        m_contest,
        [&] {
            Prompter &previous = m_contest.prompter();
            WindowProgressPrompter progress(previous, *this);
            // The window's prompter comes back however the confirmation ends.
            struct Restore
            {
                Contest &contest;
                Prompter &prompter;
                ~Restore() { contest.setPrompter(prompter); }
            } restore {m_contest, previous};
            m_contest.setPrompter(progress);
            try {
                outcome = confirmDay(m_contest, m_day);
            } catch (...) {
                endProgress(); // before the message
                throw;
            }
        },
        {}, QStringLiteral("Kachikoshi Cup"));
    if (!done) {
        reject();
        return;
    }
    if (outcome == ConfirmOutcome::Confirmed) {
        accept();
        return;
    }
    // Refused or answered No: the marks may have been put back.
    showDay(m_day);
}

bool TorikumiWindow::importResultFile(const QString &path)
{
    ResultImportOutcome out;
    int read = 0;
    try {
        const ResultFile file = ResultFile::readFile(path, m_contest);
        read = int(file.marks.size());
        out = applyResultFile(m_contest, file, m_day);
    } catch (const StoreError &e) {
        out.refusal = e.message();
    }
    if (out.refusal) {
        m_contest.prompter().tell(
            {*out.refusal, QStringLiteral("結果ファイル読込"), Icon::Warning});
        return false;
    }
    showDay(m_day);
    QString text = QStringLiteral("%1日目の結果を %2 名分読み込みました。確認して結果確定を"
                                  "押してください。")
                       .arg(m_day)
                       .arg(read);
    if (!out.locked.isEmpty())
        text += QStringLiteral("\n次の力士は変更できません:\n") + out.locked.join(u'\n');
    m_contest.prompter().tell({text, QStringLiteral("結果ファイル読込"),
                               out.locked.isEmpty() ? Icon::Information : Icon::Warning});
    return true;
}

bool TorikumiWindow::isFetching() const
{
    return m_fetch && m_fetch->isRunning();
}

void TorikumiWindow::fetchShownDay()
{
    if (isFetching() || m_mode != Mode::Input)
        return;
    const QString title = QStringLiteral("結果取得");
    if (m_day <= m_contest.rules().currentDay) {
        m_contest.prompter().tell({markLockText(MarkLock::DayConfirmed), title, Icon::Warning});
        return;
    }
    FetchSettings settings;
    if (!runAction(
            m_contest, [&] { settings = FetchSettings::load(m_contest); }, {}, title))
        return;
    QString basho;
    if (settings.torikumiTemplate.contains(QStringLiteral("{basho}"))) {
        QString problem;
        const auto id = fetching::contestBasho(m_contest, problem);
        if (!id) {
            m_contest.prompter().tell({problem, title, Icon::Warning});
            return;
        }
        basho = *id;
    }
    m_fetchDay = m_day;
    m_changedSlots.clear();
    const QUrl url = expandTemplate(settings.torikumiTemplate, basho, m_day);
    m_status->showMessage(QStringLiteral("取得中: %1").arg(url.toDisplayString()));
    m_fetch->start(url);
}

void TorikumiWindow::showFetched(const FetchReply &reply)
{
    m_fetch->setText(QString());
    const QString title = QStringLiteral("結果取得");
    if (reply.aborted) {
        m_status->showMessage(QStringLiteral("取得を中止しました。何も変更していません。"));
        emit fetchFinished();
        return;
    }
    const FetchedDay fetched = fetching::applyDay(m_contest, reply, m_fetchDay);
    if (fetched.failure || fetched.refusal) {
        const QString message = fetched.failure ? *fetched.failure : *fetched.refusal;
        m_fetchReport->setPlainText(message);
        m_status->showMessage(
            QStringLiteral("取得できませんでした: %1").arg(fetched.url.toDisplayString()));
        m_contest.prompter().tell({message, title, Icon::Warning});
        emit fetchFinished();
        return;
    }
    const Roster &roster = m_contest.roster();
    auto names = [&](const std::vector<int> &which) {
        QStringList out;
        for (int s : which)
            out << roster.name(s);
        return out.join(QStringLiteral("、"));
    };
    QString text = QStringLiteral("%1日目: 取組 %2 番、%3 名の結果を読み込みました。\n")
                       .arg(m_fetchDay)
                       .arg(fetched.bouts)
                       .arg(fetched.read);
    text += QStringLiteral("\n変わった結果 %1 件（赤枠）:\n").arg(fetched.changes.size());
    for (const FetchedDay::Change &c : fetched.changes) {
        m_changedSlots.insert(c.slot);
        text += QStringLiteral("  %1  %2 → %3\n")
                    .arg(roster.name(c.slot), fetching::markName(c.before),
                         fetching::markName(c.after));
    }
    if (!fetched.absent.empty())
        text += QStringLiteral("\n休場（不戦敗）: %1\n").arg(names(fetched.absent));
    text += QStringLiteral("\n結果なし %1 名（休場か、取組にない）:\n  %2\n")
                .arg(fetched.noResult.size())
                .arg(fetched.noResult.empty() ? QStringLiteral("なし") : names(fetched.noResult));
    if (!fetched.locked.isEmpty())
        text += QStringLiteral("\n変更できない結果:\n  ")
            + fetched.locked.join(QStringLiteral("\n  ")) + u'\n';
    text += QStringLiteral("\n確認して結果確定を押してください。");
    m_fetchReport->setPlainText(text);
    m_status->showMessage(fetching::sourceText(fetched.url, fetched.at));
    showDay(m_fetchDay);
    emit fetchFinished();
}

void TorikumiWindow::beginProgress(int total)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_txRDays[m_day - 1]->setStyleSheet(QStringLiteral("background-color: #ff0000;"));
    m_progressTotal = std::max(1, total);
    m_progressDone = 0;
    repaint();
}

void TorikumiWindow::advanceProgress(int done)
{
    const int before = progressWidthTwips();
    m_progressDone = std::clamp(done, 0, m_progressTotal);
    // Painted only when the bar grows by a pixel or more.
    if (px(progressWidthTwips()) != px(before))
        repaint(px(kBarLeft - 40), px(kBarTop - 10), px(kBarSpan + 60),
                px(kBarBottom - kBarTop + 20));
}

void TorikumiWindow::endProgress()
{
    if (m_progressTotal == 0)
        return;
    m_progressTotal = 0;
    m_progressDone = 0;
    QApplication::restoreOverrideCursor();
    update();
}

int TorikumiWindow::progressWidthTwips() const
{
    if (m_progressTotal <= 0)
        return 0;
    return std::max(0, 290 + kBarSpan * m_progressDone / m_progressTotal - kBarLeft);
}

void TorikumiWindow::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (m_progressTotal <= 0)
        return;
    QPainter p(this);
    auto rect = [&](int x1, int y1, int x2, int y2) {
        return QRect(QPoint(px(x1), px(y1)), QPoint(px(x2), px(y2)));
    };
    // A white frame whose left and top edges are black, over a grey groove.
    p.setPen(Qt::white);
    p.drawRect(rect(272, 7862, 3308, 7958));
    p.setPen(Qt::black);
    p.drawLine(QPoint(px(272), px(7862)), QPoint(px(3308), px(7862)));
    p.drawLine(QPoint(px(272), px(7862)), QPoint(px(272), px(7958)));
    p.fillRect(rect(280, kBarTop, 3300, kBarBottom),
               palette().color(QPalette::Disabled, QPalette::WindowText));
    const int width = progressWidthTwips();
    if (width > 0)
        p.fillRect(rect(kBarLeft, kBarTop, kBarLeft + width, kBarBottom), QColor(0, 0, 255));
}

} // namespace kc::ui
