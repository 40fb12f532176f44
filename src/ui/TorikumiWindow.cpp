#include "ui/TorikumiWindow.h"

#include "banzuke/Renaming.h"
#include "banzuke/Roster.h"
#include "store/Contest.h"
#include "store/StoreError.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QScreen>

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
    setWindowTitle(QStringLiteral("取組結果入力"));
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
    try {
        renaming::reloadKeepingResults(contest);
    } catch (const StoreError &e) {
        contest.prompter().tell({e.message(), QString(), Icon::Critical});
        return nullptr;
    }
    auto *w = new TorikumiWindow(contest, Mode::Chart, owner);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setModal(false);
    w->show();
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
    for (QPushButton *b : {m_cmdDOWN, m_cmdUP, m_cmdDecite, m_cmdSave})
        b->setAutoDefault(false);
    connect(m_cmdSave, &QPushButton::clicked, this, &TorikumiWindow::saveAndClose);

    setFixedSize(px(kSideLeft + kSideWidth + 120), px(kDaysTop + 260 + 240));
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
    const WrestlerRecord &w = m_contest.roster().wrestlers[slot];
    int wins = 0;
    for (int d = 0; d < m_day && d < kDays; ++d)
        if (isWinningMark(w.dayResult[d]))
            ++wins;
    return wins;
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
    b->setStyleSheet(colourStyle(markColour(mark, palette())));
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
    try {
        m_contest.saveWrestlers();
    } catch (const StoreError &e) {
        m_contest.prompter().tell({e.message(), QString(), Icon::Critical});
        return;
    }
    accept();
}

void TorikumiWindow::done(int result)
{
    emit unloaded(m_contest.rules().currentDay);
    QDialog::done(result);
}

} // namespace kc::ui
