#include "ui/RulesWindow.h"
#include "ui/ActionRunner.h"

#include "store/Contest.h"
#include "store/StoreError.h"
#include "store/Text.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kc::ui {

namespace {

const QString kTabRules = QStringLiteral("ルールの設定");
const QString kTabPrizes = QStringLiteral("賞位の設定");

QString indexed(const char *name, int i)
{
    return QString::fromLatin1(name) + u'_' + QString::number(i);
}

QLabel *label(const QString &text, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    return l;
}

void setText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

void setBackground(QLineEdit *edit, const QColor &colour, const QColor &textColour)
{
    QPalette p = edit->palette();
    p.setColor(QPalette::Base, colour);
    // A locked box keeps its background but shows its text greyed, so it does
    // not look editable.
    p.setColor(QPalette::Active, QPalette::Text, textColour);
    p.setColor(QPalette::Inactive, QPalette::Text, textColour);
    edit->setPalette(p);
}

} // namespace

RulesWindow::RulesWindow(Contest &contest, Opening opening, QWidget *parent)
    : QDialog(parent), m_contest(contest)
{
    setObjectName(QStringLiteral("frmRules"));
    setWindowTitle(QStringLiteral("ﾙｰﾙの設定"));
    auto *layout = new QVBoxLayout(this);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("SSTab1"));
    m_tabs->addTab(buildRulesTab(), kTabRules);
    m_tabs->addTab(buildPrizeTab(), kTabPrizes);
    layout->addWidget(m_tabs);

    m_form = loadRulesForm(m_contest, opening);
    showForm();
    m_tabs->setCurrentIndex(m_form.openOnPrizeTab ? 1 : 0);
}

RulesWindow *RulesWindow::openForRuleChange(Contest &contest, QWidget *parent)
{
    auto *w = new RulesWindow(contest, Opening::RuleChange, parent);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setModal(false);
    w->show();
    return w;
}

QLineEdit *RulesWindow::makeEdit(const QString &name, int width)
{
    auto *e = new QLineEdit(this);
    e->setObjectName(name);
    e->setFixedWidth(width);
    e->installEventFilter(this);
    return e;
}

QPushButton *RulesWindow::makeButton(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QWidget *RulesWindow::buildRulesTab()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);

    // 選択力士の取扱い
    auto *picks = new QGroupBox(QStringLiteral("選択力士の取扱い"), page);
    auto *pg = new QGridLayout(picks);
    m_pickCountLabel = label(QStringLiteral("選択力士数"), picks);
    m_pickCountLabel->setObjectName(QStringLiteral("lblRikishiNum"));
    m_pickCountLabel->setToolTip(QStringLiteral(
        "点数をつける力士の人数を決めます。選択力士が少ないと、力士の決め方が同じになるケースが増え"
        "、”同点”を招きます。逆に多いと、登録受け付けの手間が増えます。"));
    m_pickCountField = makeEdit(QStringLiteral("txRikishiNum"), 50);
    pg->addWidget(m_pickCountLabel, 0, 0);
    pg->addWidget(m_pickCountField, 0, 1);
    pg->addWidget(label(QStringLiteral("名"), picks), 0, 2);
    static const QString digits = QStringLiteral("１２３４５６７８９");
    for (int i = 0; i < kMaxPicks; ++i) {
        const QString caption = i < 9 ? QStringLiteral("第") + digits.at(i) + QStringLiteral("力士")
                                      : QStringLiteral("第10力士");
        m_pickPointFields[i] = makeEdit(indexed("txPoint", i), 50);
        const int row = 1 + i % 5, col = (i / 5) * 3;
        pg->addWidget(label(caption, picks), row, col);
        pg->addWidget(m_pickPointFields[i], row, col + 1);
        pg->addWidget(label(QStringLiteral("点"), picks), row, col + 2);
    }
    m_includeOzekiCheck = new QCheckBox(QStringLiteral("横綱、大関を含める（1名のみ）"), picks);
    m_includeOzekiCheck->setObjectName(QStringLiteral("ChkOzeki"));
    m_reserveCheck = new QCheckBox(QStringLiteral("補充力士を設定する"), picks);
    m_reserveCheck->setObjectName(QStringLiteral("ChkSpair"));
    m_reserveCheck->setToolTip(QStringLiteral(
        "休場者が発生したときは、補充力士はその力士の代わりとなって以後のゲームに参加します。"));
    pg->addWidget(m_includeOzekiCheck, 6, 0, 1, 6);
    pg->addWidget(m_reserveCheck, 7, 0, 1, 6);
    grid->addWidget(picks, 0, 0, 2, 1);

    // 金星、銀星ﾎﾞｰﾅｽの取扱い
    auto *stars = new QGroupBox(QStringLiteral("金星、銀星ﾎﾞｰﾅｽの取扱い"), page);
    stars->setObjectName(QStringLiteral("fraStar"));
    stars->setToolTip(QStringLiteral("金星、銀星が出たとき通常より何らかの加算をしたいものです。"
                                     "このゲームでは２種類の加算方法を選択できます。"));
    auto *sg = new QGridLayout(stars);
    m_bonusTypeOptions[0] = new QRadioButton(QStringLiteral("単純加算ﾀｲﾌﾟ"), stars);
    m_bonusTypeOptions[0]->setToolTip(
        QStringLiteral("単純加算：力士の点数に関係なくそれぞれ一定の得点が加算されます。"));
    m_bonusTypeOptions[1] = new QRadioButton(QStringLiteral("倍数加算ﾀｲﾌﾟ"), stars);
    m_bonusTypeOptions[1]->setToolTip(
        QStringLiteral("倍数加算：力士の点数に倍率を掛け加算します。"));
    m_kinboshiField = makeEdit(QStringLiteral("txKIN"), 50);
    m_ginboshiField = makeEdit(QStringLiteral("txGin"), 50);
    for (int k = 0; k < 2; ++k) {
        m_bonusTypeOptions[k]->setObjectName(indexed("OptType", k));
        m_bonusUnitLabels[k] = label(QStringLiteral("点"), stars);
        m_bonusUnitLabels[k]->setObjectName(indexed("Ltype", k));
        connect(m_bonusTypeOptions[k], &QRadioButton::clicked, this,
                [this, k] { bonusTypeClicked(k == 0); });
    }
    sg->addWidget(m_bonusTypeOptions[0], 0, 0, 1, 3);
    sg->addWidget(m_bonusTypeOptions[1], 1, 0, 1, 3);
    sg->addWidget(label(QStringLiteral("金星"), stars), 2, 0);
    sg->addWidget(m_kinboshiField, 2, 1);
    sg->addWidget(m_bonusUnitLabels[0], 2, 2);
    sg->addWidget(label(QStringLiteral("銀星"), stars), 3, 0);
    sg->addWidget(m_ginboshiField, 3, 1);
    sg->addWidget(m_bonusUnitLabels[1], 3, 2);
    sg->setColumnStretch(3, 1);
    grid->addWidget(stars, 0, 1);

    // 連勝ﾎﾞｰﾅｽの取扱い
    auto *streak = new QGroupBox(QStringLiteral("連勝ﾎﾞｰﾅｽの取扱い"), page);
    streak->setObjectName(QStringLiteral("fraRepeat"));
    streak->setToolTip(QStringLiteral(
        "連勝を続ける力士を見ると拍手したくなります。このゲームでも連勝力士へのボーナスを設定でき"
        "ます。連勝ボーナスを加算する連賞数と勝ち続ける毎に受けられる得点を設定します。"));
    auto *rg = new QGridLayout(streak);
    m_streakCheck = new QCheckBox(QStringLiteral("連勝ﾎﾞｰﾅｽを設定する"), streak);
    m_streakCheck->setObjectName(QStringLiteral("chkRepeat"));
    m_streakCheck->setToolTip(QStringLiteral("力士が連勝した場合のボーナス点を設定します。"));
    m_streakWinsField = makeEdit(QStringLiteral("txRwin"), 50);
    m_streakWinsField->setToolTip(QStringLiteral("得点が与えられる最小連勝数を設定します。"));
    m_streakPointsField = makeEdit(QStringLiteral("txWpoint"), 50);
    m_streakPointsField->setToolTip(QStringLiteral("連勝ボーナスの得点を書き入れます。"));
    rg->addWidget(m_streakCheck, 0, 0, 1, 4);
    rg->addWidget(m_streakWinsField, 1, 0);
    rg->addWidget(label(QStringLiteral("連勝で"), streak), 1, 1);
    rg->addWidget(m_streakPointsField, 1, 2);
    rg->addWidget(label(QStringLiteral("点、以後1勝毎に加算"), streak), 1, 3);
    rg->setColumnStretch(4, 1);
    grid->addWidget(streak, 1, 1);

    // 同点の場合の処理
    auto *tie = new QGroupBox(QStringLiteral("同点の場合の処理"), page);
    auto *tg = new QVBoxLayout(tie);
    m_tieRuleOptions[0] = new QRadioButton(QStringLiteral("乱数で抽選"), tie);
    m_tieRuleOptions[0]->setToolTip(
        QStringLiteral("ソフトウェア内の乱数を用いて同点者の順位を決定します。"
                       "初めてゲームをする場合はこちらをお勧めします。\r\n"));
    m_tieRuleOptions[1] = new QRadioButton(QStringLiteral("IDの小さい方を優先"), tie);
    m_tieRuleOptions[1]->setToolTip(
        QStringLiteral("ある程度固定されたメンバーで行う場合、こちらの方が面白みがあります。\r\n"));
    for (int k = 0; k < 2; ++k) {
        m_tieRuleOptions[k]->setObjectName(indexed("Option1", k));
        tg->addWidget(m_tieRuleOptions[k]);
        connect(m_tieRuleOptions[k], &QRadioButton::clicked, this,
                [this, k] { tieRuleClicked(k == 1); });
    }
    grid->addWidget(tie, 2, 0);

    auto *buttons = new QHBoxLayout;
    m_decideRulesButton = makeButton(QStringLiteral("cmdRule"), QStringLiteral("ルール決定"));
    m_saveButtons[0] = makeButton(QStringLiteral("cmdSave_0"), QStringLiteral("登　録"));
    buttons->addStretch();
    buttons->addWidget(m_decideRulesButton);
    buttons->addWidget(m_saveButtons[0]);
    grid->addLayout(buttons, 2, 1, Qt::AlignBottom);
    connect(m_decideRulesButton, &QPushButton::clicked, this, &RulesWindow::decideRulesClicked);
    connect(m_saveButtons[0], &QPushButton::clicked, this, &RulesWindow::saveClicked);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget *RulesWindow::buildPrizeTab()
{
    auto *page = new QWidget(this);
    auto *grid = new QGridLayout(page);

    auto *ranks = new QGroupBox(QStringLiteral("明確な順位によるもの"), page);
    auto *rg = new QGridLayout(ranks);
    rg->setVerticalSpacing(1);
    rg->addWidget(label(QStringLiteral("　　　順位　　賞位名　　　　　　　　ﾎﾟｲﾝﾄ"), ranks), 0, 0,
                  1, 4);
    for (int i = 0; i < kPrizeRows; ++i) {
        m_prizeChecks[i] = new QCheckBox(ranks);
        m_prizeChecks[i]->setObjectName(indexed("opPrize", i));
        m_prizeChecks[i]->setTristate(true);
        m_prizeRankFields[i] = makeEdit(indexed("txRank", i), 50);
        m_prizeNameFields[i] = makeEdit(indexed("txPname", i), 170);
        m_prizePointFields[i] = makeEdit(indexed("txPrizePoint", i), 80);
        m_prizePointFields[i]->setAlignment(Qt::AlignRight);
        rg->addWidget(m_prizeChecks[i], i + 1, 0);
        rg->addWidget(m_prizeRankFields[i], i + 1, 1);
        rg->addWidget(m_prizeNameFields[i], i + 1, 2);
        rg->addWidget(m_prizePointFields[i], i + 1, 3);
        connect(m_prizeChecks[i], &QCheckBox::clicked, this, [this, i] { prizeClicked(i); });
    }
    grid->addWidget(ranks, 0, 0, 3, 1);

    auto *others = new QGroupBox(QStringLiteral("その他"), page);
    auto *og = new QGridLayout(others);
    og->setVerticalSpacing(1);
    static const char16_t *const captions[kDayPrizes] = {u"中日累計賞賞（最高点）",
                                                         u"初日",
                                                         u"2日目",
                                                         u"3日目",
                                                         u"4日目",
                                                         u"5日目",
                                                         u"6日目",
                                                         u"7日目",
                                                         u"中日",
                                                         u"9日目",
                                                         u"10日目",
                                                         u"11日目",
                                                         u"12日目",
                                                         u"13日目",
                                                         u"14日目",
                                                         u"千秋楽"};
    for (int d = 0; d < kDayPrizes; ++d) {
        m_dayPrizeChecks[d] = new QCheckBox(QString::fromUtf16(captions[d]), others);
        m_dayPrizeChecks[d]->setObjectName(indexed("opPrize2", d));
        m_dayPrizePointFields[d] = makeEdit(indexed("Text1", d), 70);
        m_dayPrizePointFields[d]->setAlignment(Qt::AlignRight);
        const int row = d == 0 ? 0 : d + 1;
        og->addWidget(m_dayPrizeChecks[d], row, 0);
        og->addWidget(m_dayPrizePointFields[d], row, 1);
        og->addWidget(label(QStringLiteral("ﾎﾟｲﾝﾄ"), others), row, 2);
        connect(m_dayPrizeChecks[d], &QCheckBox::clicked, this, [this, d] { dayPrizeClicked(d); });
    }
    og->addWidget(label(QStringLiteral("当日賞（最高点）"), others), 1, 0, 1, 3);
    og->setRowStretch(kDayPrizes + 1, 1);
    grid->addWidget(others, 0, 1, 3, 1);

    auto *totals = new QGroupBox(page);
    auto *tg = new QGridLayout(totals);
    m_prizeTotalField = makeEdit(QStringLiteral("txPrizeTotal"), 100);
    m_entryCountField = makeEdit(QStringLiteral("txEmax"), 100);
    m_pointsPerEntryField = makeEdit(QStringLiteral("txMotiten"), 100);
    for (QLineEdit *e : {m_prizeTotalField, m_entryCountField, m_pointsPerEntryField})
        e->setAlignment(Qt::AlignRight);
    tg->addWidget(label(QStringLiteral("賞位ﾎﾟｲﾝﾄ 合計"), totals), 0, 0);
    tg->addWidget(m_prizeTotalField, 0, 1);
    tg->addWidget(label(QStringLiteral("参加人数"), totals), 1, 0);
    tg->addWidget(m_entryCountField, 1, 1);
    tg->addWidget(label(QStringLiteral("一人あたりの配分ﾎﾟｲﾝﾄ"), totals), 2, 0);
    tg->addWidget(m_pointsPerEntryField, 2, 1);
    m_recalcButton = makeButton(QStringLiteral("Command1"), QStringLiteral("再計算"));
    tg->addWidget(label(QStringLiteral("最後は必ず押してください--->>"), totals), 3, 0);
    tg->addWidget(m_recalcButton, 3, 1);
    connect(m_recalcButton, &QPushButton::clicked, this, &RulesWindow::recalcClicked);
    grid->addWidget(totals, 0, 2);

    auto *advice = new QLabel(
        QStringLiteral(
            "50名～200名を対象にしていますので、下位に重点を置くのは禁物です。"
            "下位は1位、2位までが妥当でしょう。\r\n"
            "　当日賞の設定では、初日では取組相手が比較的推定しやすく当日賞狙いが発生しま"
            "す。また、千秋楽では横綱大関同士が予想され、金星や銀星による波乱が少なく面白"
            "みが無いような気がします。\r\n"
            "　とにかく、参加人数からみてあくまで高得点を目指すような賞位設定がよろしいか"
            "と思います。"),
        page);
    advice->setObjectName(QStringLiteral("lblAdvice"));
    advice->setWordWrap(true);
    advice->setMaximumWidth(260);
    grid->addWidget(advice, 1, 2, Qt::AlignTop);

    auto *buttons = new QHBoxLayout;
    m_decidePrizesButton = makeButton(QStringLiteral("cmdPrize"), QStringLiteral("賞位決定"));
    m_saveButtons[1] = makeButton(QStringLiteral("cmdSave_1"), QStringLiteral("登　録"));
    buttons->addWidget(m_decidePrizesButton);
    buttons->addWidget(m_saveButtons[1]);
    grid->addLayout(buttons, 2, 2, Qt::AlignBottom);
    connect(m_decidePrizesButton, &QPushButton::clicked, this, &RulesWindow::decidePrizesClicked);
    connect(m_saveButtons[1], &QPushButton::clicked, this, &RulesWindow::saveClicked);
    return page;
}

void RulesWindow::readForm()
{
    m_form.pickCount = m_pickCountField->text();
    for (int i = 0; i < kMaxPicks; ++i)
        m_form.slotPoints[i] = m_pickPointFields[i]->text();
    m_form.includeTopRanks = m_includeOzekiCheck->isChecked();
    m_form.useReserve = m_reserveCheck->isChecked();
    m_form.simpleBonus = m_bonusTypeOptions[0]->isChecked();
    m_form.goldStar = m_kinboshiField->text();
    m_form.silverStar = m_ginboshiField->text();
    m_form.streakOn = m_streakCheck->isChecked();
    m_form.streakMin = m_streakWinsField->text();
    m_form.streakBonus = m_streakPointsField->text();
    m_form.smallerIdFirst = !m_tieRuleOptions[0]->isChecked();
    for (int i = 0; i < kPrizeRows; ++i) {
        m_form.prizes[i].on = m_prizeChecks[i]->checkState() == Qt::Checked;
        m_form.prizes[i].rank = m_prizeRankFields[i]->text();
        m_form.prizes[i].name = m_prizeNameFields[i]->text();
        m_form.prizes[i].points = m_prizePointFields[i]->text();
    }
    for (int d = 0; d < kDayPrizes; ++d) {
        m_form.dayPrizes[d].on = m_dayPrizeChecks[d]->isChecked();
        m_form.dayPrizes[d].points = m_dayPrizePointFields[d]->text();
    }
    m_form.prizeTotal = m_prizeTotalField->text();
    m_form.participants = m_entryCountField->text();
    m_form.perParticipant = m_pointsPerEntryField->text();
}

void RulesWindow::showForm()
{
    const RulesForm &f = m_form;
    const bool rulesOpen = !f.rulesLocked;
    const QColor white(Qt::white);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    setText(m_pickCountField, f.pickCount);
    for (int i = 0; i < kMaxPicks; ++i) {
        setText(m_pickPointFields[i], f.slotPoints[i]);
        m_pickPointFields[i]->setEnabled(f.slotActive[i] && rulesOpen);
        setBackground(m_pickPointFields[i], f.slotActive[i] ? white : buttonFace, Qt::black);
    }
    m_includeOzekiCheck->setChecked(f.includeTopRanks);
    m_reserveCheck->setChecked(f.useReserve);
    m_bonusTypeOptions[0]->setChecked(f.simpleBonus);
    m_bonusTypeOptions[1]->setChecked(!f.simpleBonus);
    for (QLabel *l : m_bonusUnitLabels)
        l->setText(f.unitLabel());
    setText(m_kinboshiField, f.goldStar);
    setText(m_ginboshiField, f.silverStar);
    m_streakCheck->setChecked(f.streakOn);
    setText(m_streakWinsField, f.streakMin);
    setText(m_streakPointsField, f.streakBonus);
    m_tieRuleOptions[0]->setChecked(!f.smallerIdFirst);
    m_tieRuleOptions[1]->setChecked(f.smallerIdFirst);
    for (QWidget *w : std::initializer_list<QWidget *> {
             m_pickCountField, m_includeOzekiCheck, m_reserveCheck, m_bonusTypeOptions[0],
             m_bonusTypeOptions[1], m_tieRuleOptions[0], m_tieRuleOptions[1], m_kinboshiField,
             m_ginboshiField, m_streakCheck, m_streakWinsField, m_streakPointsField})
        w->setEnabled(rulesOpen);

    const bool prizesOpen = !f.prizesLocked;
    for (int i = 0; i < kPrizeRows; ++i) {
        m_prizeChecks[i]->setCheckState(f.prizes[i].on            ? Qt::Checked
                                            : f.prizes[i].waiting ? Qt::PartiallyChecked
                                                                  : Qt::Unchecked);
        m_prizeChecks[i]->setToolTip(
            f.prizes[i].waiting ? QStringLiteral("参加人数がこの順位に届くと賞位になります。")
                                : QString());
        setText(m_prizeRankFields[i], f.prizes[i].rank);
        setText(m_prizeNameFields[i], f.prizes[i].name);
        setText(m_prizePointFields[i], f.prizes[i].points);
        for (QWidget *w :
             std::initializer_list<QWidget *> {m_prizeChecks[i], m_prizeRankFields[i],
                                               m_prizeNameFields[i], m_prizePointFields[i]})
            w->setEnabled(prizesOpen);
    }
    for (int d = 0; d < kDayPrizes; ++d) {
        m_dayPrizeChecks[d]->setChecked(f.dayPrizes[d].on);
        setText(m_dayPrizePointFields[d], f.dayPrizes[d].points);
        m_dayPrizeChecks[d]->setEnabled(prizesOpen);
        m_dayPrizePointFields[d]->setEnabled(prizesOpen);
    }
    setText(m_prizeTotalField, f.prizeTotal);
    setText(m_entryCountField, f.participants);
    setText(m_pointsPerEntryField, f.perParticipant);
    const QColor shade = f.darkShade ? darkShade() : lightShade();
    for (QLineEdit *e : {m_prizeTotalField, m_entryCountField, m_pointsPerEntryField}) {
        setBackground(e, shade, Qt::white);
        e->setEnabled(prizesOpen);
    }
}

void RulesWindow::focusBox(QLineEdit *edit)
{
    for (int t = 0; t < m_tabs->count(); ++t)
        if (m_tabs->widget(t)->isAncestorOf(edit))
            m_tabs->setCurrentIndex(t);
    edit->setFocus(Qt::OtherFocusReason);
}

bool RulesWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (!edit)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            enterPressed(edit);
            return true; // Enter never reaches the dialog's buttons
        }
    } else if (event->type() == QEvent::FocusIn) {
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, edit, [edit] {
            if (edit->objectName().startsWith(QStringLiteral("txPname_")))
                edit->setSelection(0, int(trimRight(edit->text()).size()));
            else
                edit->selectAll();
        });
    }
    return QDialog::eventFilter(watched, event);
}

void RulesWindow::enterPressed(QLineEdit *edit)
{
    if (edit == m_pickCountField) {
        readForm();
        const bool outOfRange = val(m_form.pickCount) < 1 || val(m_form.pickCount) > 10;
        setPickCount(m_form);
        showForm();
        if (outOfRange)
            m_pickCountField->selectAll();
        if (m_pickPointFields[0]->isEnabled())
            focusBox(m_pickPointFields[0]);
        return;
    }
    for (int i = 0; i < kMaxPicks; ++i)
        if (edit == m_pickPointFields[i]) {
            readForm();
            focusBox(m_pickPointFields[nextSlotBox(m_form, i)]);
            return;
        }
    if (edit == m_kinboshiField)
        return focusBox(m_ginboshiField);
    if (edit == m_ginboshiField)
        return focusBox(m_streakWinsField);
    if (edit == m_streakWinsField)
        return focusBox(m_streakPointsField);
    if (edit == m_streakPointsField)
        return focusBox(m_prizePointFields[0]);
    for (int i = 0; i < kPrizeRows; ++i) {
        if (edit == m_prizeRankFields[i])
            return focusBox(m_prizeNameFields[i]);
        if (edit == m_prizeNameFields[i])
            return focusBox(m_prizePointFields[i]);
        if (edit == m_prizePointFields[i]) {
            readForm();
            const int next = setPrizePoints(m_form, i);
            showForm();
            return focusBox(m_prizeRankFields[next]);
        }
    }
    for (int d = 0; d < kDayPrizes; ++d)
        if (edit == m_dayPrizePointFields[d]) {
            readForm();
            const int next = setDayPrizePoints(m_form, d);
            showForm();
            return focusBox(m_dayPrizePointFields[next]);
        }
}

void RulesWindow::prizeClicked(int i)
{
    // A row waiting for the field to grow goes off with one click, as a ticked one does.
    const bool on = !(m_form.prizes[i].on || m_form.prizes[i].waiting);
    readForm();
    m_form.prizes[i].on = !on;
    setPrizeChecked(m_form, i, on);
    showForm();
}

void RulesWindow::dayPrizeClicked(int d)
{
    readForm();
    setDayPrizeChecked(m_form, d, m_dayPrizeChecks[d]->isChecked());
    showForm();
}

void RulesWindow::bonusTypeClicked(bool simple)
{
    readForm();
    selectBonusType(m_form, simple);
    showForm();
}

void RulesWindow::tieRuleClicked(bool smallerIdFirst)
{
    readForm();
    selectTieRule(m_form, smallerIdFirst);
    showForm();
}

void RulesWindow::recalcClicked()
{
    readForm();
    recalculate(m_form);
    showForm();
}

template<typename F> void RulesWindow::guarded(F &&action)
{
    runAction(m_contest, std::forward<F>(action), [this] { showForm(); });
}

void RulesWindow::saveClicked()
{
    readForm();
    // 登録 closes the window whatever the save came to, as the organiser expects.
    guarded([this] { saveRules(m_contest, settingsOf(m_form)); });
    accept();
}

void RulesWindow::decideRulesClicked()
{
    readForm();
    guarded([this] {
        if (decideRules(m_contest, settingsOf(m_form)).done())
            accept();
    });
}

void RulesWindow::decidePrizesClicked()
{
    readForm();
    guarded([this] {
        if (decidePrizes(m_contest, settingsOf(m_form)).done())
            accept();
    });
}

} // namespace kc::ui
