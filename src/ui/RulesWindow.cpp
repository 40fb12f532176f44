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
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    SSTab1->addTab(buildRulesTab(), kTabRules);
    SSTab1->addTab(buildPrizeTab(), kTabPrizes);
    layout->addWidget(SSTab1);

    m_form = loadRulesForm(m_contest, opening);
    showForm();
    SSTab1->setCurrentIndex(m_form.openOnPrizeTab ? 1 : 0);
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
    lblRikishiNum = label(QStringLiteral("選択力士数"), picks);
    lblRikishiNum->setObjectName(QStringLiteral("lblRikishiNum"));
    lblRikishiNum->setToolTip(QStringLiteral(
        "点数をつける力士の人数を決めます。選択力士が少ないと、力士の決め方が同じになるケースが増え"
        "、”同点”を招きます。逆に多いと、登録受け付けの手間が増えます。"));
    txRikishiNum = makeEdit(QStringLiteral("txRikishiNum"), 50);
    pg->addWidget(lblRikishiNum, 0, 0);
    pg->addWidget(txRikishiNum, 0, 1);
    pg->addWidget(label(QStringLiteral("名"), picks), 0, 2);
    static const QString digits = QStringLiteral("１２３４５６７８９");
    for (int i = 0; i < kMaxPicks; ++i) {
        const QString caption = i < 9 ? QStringLiteral("第") + digits.at(i) + QStringLiteral("力士")
                                      : QStringLiteral("第10力士");
        txPoint[i] = makeEdit(indexed("txPoint", i), 50);
        const int row = 1 + i % 5, col = (i / 5) * 3;
        pg->addWidget(label(caption, picks), row, col);
        pg->addWidget(txPoint[i], row, col + 1);
        pg->addWidget(label(QStringLiteral("点"), picks), row, col + 2);
    }
    ChkOzeki = new QCheckBox(QStringLiteral("横綱、大関を含める（1名のみ）"), picks);
    ChkOzeki->setObjectName(QStringLiteral("ChkOzeki"));
    ChkSpair = new QCheckBox(QStringLiteral("補充力士を設定する"), picks);
    ChkSpair->setObjectName(QStringLiteral("ChkSpair"));
    ChkSpair->setToolTip(QStringLiteral(
        "休場者が発生したときは、補充力士はその力士の代わりとなって以後のゲームに参加します。"));
    pg->addWidget(ChkOzeki, 6, 0, 1, 6);
    pg->addWidget(ChkSpair, 7, 0, 1, 6);
    grid->addWidget(picks, 0, 0, 2, 1);

    // 金星、銀星ﾎﾞｰﾅｽの取扱い
    auto *stars = new QGroupBox(QStringLiteral("金星、銀星ﾎﾞｰﾅｽの取扱い"), page);
    stars->setObjectName(QStringLiteral("fraStar"));
    stars->setToolTip(QStringLiteral("金星、銀星が出たとき通常より何らかの加算をしたいものです。"
                                     "このゲームでは２種類の加算方法を選択できます。"));
    auto *sg = new QGridLayout(stars);
    OptType[0] = new QRadioButton(QStringLiteral("単純加算ﾀｲﾌﾟ"), stars);
    OptType[0]->setToolTip(
        QStringLiteral("単純加算：力士の点数に関係なくそれぞれ一定の得点が加算されます。"));
    OptType[1] = new QRadioButton(QStringLiteral("倍数加算ﾀｲﾌﾟ"), stars);
    OptType[1]->setToolTip(QStringLiteral("倍数加算：力士の点数に倍率を掛け加算します。"));
    txKIN = makeEdit(QStringLiteral("txKIN"), 50);
    txGin = makeEdit(QStringLiteral("txGin"), 50);
    for (int k = 0; k < 2; ++k) {
        OptType[k]->setObjectName(indexed("OptType", k));
        Ltype[k] = label(QStringLiteral("点"), stars);
        Ltype[k]->setObjectName(indexed("Ltype", k));
        connect(OptType[k], &QRadioButton::clicked, this, [this, k] { bonusTypeClicked(k == 0); });
    }
    sg->addWidget(OptType[0], 0, 0, 1, 3);
    sg->addWidget(OptType[1], 1, 0, 1, 3);
    sg->addWidget(label(QStringLiteral("金星"), stars), 2, 0);
    sg->addWidget(txKIN, 2, 1);
    sg->addWidget(Ltype[0], 2, 2);
    sg->addWidget(label(QStringLiteral("銀星"), stars), 3, 0);
    sg->addWidget(txGin, 3, 1);
    sg->addWidget(Ltype[1], 3, 2);
    sg->setColumnStretch(3, 1);
    grid->addWidget(stars, 0, 1);

    // 連勝ﾎﾞｰﾅｽの取扱い
    auto *streak = new QGroupBox(QStringLiteral("連勝ﾎﾞｰﾅｽの取扱い"), page);
    streak->setObjectName(QStringLiteral("fraRepeat"));
    streak->setToolTip(QStringLiteral(
        "連勝を続ける力士を見ると拍手したくなります。このゲームでも連勝力士へのボーナスを設定でき"
        "ます。連勝ボーナスを加算する連賞数と勝ち続ける毎に受けられる得点を設定します。"));
    auto *rg = new QGridLayout(streak);
    chkRepeat = new QCheckBox(QStringLiteral("連勝ﾎﾞｰﾅｽを設定する"), streak);
    chkRepeat->setObjectName(QStringLiteral("chkRepeat"));
    chkRepeat->setToolTip(QStringLiteral("力士が連勝した場合のボーナス点を設定します。"));
    txRwin = makeEdit(QStringLiteral("txRwin"), 50);
    txRwin->setToolTip(QStringLiteral("得点が与えられる最小連勝数を設定します。"));
    txWpoint = makeEdit(QStringLiteral("txWpoint"), 50);
    txWpoint->setToolTip(QStringLiteral("連勝ボーナスの得点を書き入れます。"));
    rg->addWidget(chkRepeat, 0, 0, 1, 4);
    rg->addWidget(txRwin, 1, 0);
    rg->addWidget(label(QStringLiteral("連勝で"), streak), 1, 1);
    rg->addWidget(txWpoint, 1, 2);
    rg->addWidget(label(QStringLiteral("点、以後1勝毎に加算"), streak), 1, 3);
    rg->setColumnStretch(4, 1);
    grid->addWidget(streak, 1, 1);

    // 同点の場合の処理
    auto *tie = new QGroupBox(QStringLiteral("同点の場合の処理"), page);
    auto *tg = new QVBoxLayout(tie);
    Option1[0] = new QRadioButton(QStringLiteral("乱数で抽選"), tie);
    Option1[0]->setToolTip(QStringLiteral("ソフトウェア内の乱数を用いて同点者の順位を決定します。"
                                          "初めてゲームをする場合はこちらをお勧めします。\r\n"));
    Option1[1] = new QRadioButton(QStringLiteral("IDの小さい方を優先"), tie);
    Option1[1]->setToolTip(
        QStringLiteral("ある程度固定されたメンバーで行う場合、こちらの方が面白みがあります。\r\n"));
    for (int k = 0; k < 2; ++k) {
        Option1[k]->setObjectName(indexed("Option1", k));
        tg->addWidget(Option1[k]);
        connect(Option1[k], &QRadioButton::clicked, this, [this, k] { tieRuleClicked(k == 1); });
    }
    grid->addWidget(tie, 2, 0);

    auto *buttons = new QHBoxLayout;
    cmdRule = makeButton(QStringLiteral("cmdRule"), QStringLiteral("ルール決定"));
    cmdSave[0] = makeButton(QStringLiteral("cmdSave_0"), QStringLiteral("登　録"));
    buttons->addStretch();
    buttons->addWidget(cmdRule);
    buttons->addWidget(cmdSave[0]);
    grid->addLayout(buttons, 2, 1, Qt::AlignBottom);
    connect(cmdRule, &QPushButton::clicked, this, &RulesWindow::decideRulesClicked);
    connect(cmdSave[0], &QPushButton::clicked, this, &RulesWindow::saveClicked);
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
        opPrize[i] = new QCheckBox(ranks);
        opPrize[i]->setObjectName(indexed("opPrize", i));
        opPrize[i]->setTristate(true);
        txRank[i] = makeEdit(indexed("txRank", i), 50);
        txPname[i] = makeEdit(indexed("txPname", i), 170);
        txPrizePoint[i] = makeEdit(indexed("txPrizePoint", i), 80);
        txPrizePoint[i]->setAlignment(Qt::AlignRight);
        rg->addWidget(opPrize[i], i + 1, 0);
        rg->addWidget(txRank[i], i + 1, 1);
        rg->addWidget(txPname[i], i + 1, 2);
        rg->addWidget(txPrizePoint[i], i + 1, 3);
        connect(opPrize[i], &QCheckBox::clicked, this, [this, i] { prizeClicked(i); });
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
        opPrize2[d] = new QCheckBox(QString::fromUtf16(captions[d]), others);
        opPrize2[d]->setObjectName(indexed("opPrize2", d));
        Text1[d] = makeEdit(indexed("Text1", d), 70);
        Text1[d]->setAlignment(Qt::AlignRight);
        const int row = d == 0 ? 0 : d + 1;
        og->addWidget(opPrize2[d], row, 0);
        og->addWidget(Text1[d], row, 1);
        og->addWidget(label(QStringLiteral("ﾎﾟｲﾝﾄ"), others), row, 2);
        connect(opPrize2[d], &QCheckBox::clicked, this, [this, d] { dayPrizeClicked(d); });
    }
    og->addWidget(label(QStringLiteral("当日賞（最高点）"), others), 1, 0, 1, 3);
    og->setRowStretch(kDayPrizes + 1, 1);
    grid->addWidget(others, 0, 1, 3, 1);

    auto *totals = new QGroupBox(page);
    auto *tg = new QGridLayout(totals);
    txPrizeTotal = makeEdit(QStringLiteral("txPrizeTotal"), 100);
    txEmax = makeEdit(QStringLiteral("txEmax"), 100);
    txMotiten = makeEdit(QStringLiteral("txMotiten"), 100);
    for (QLineEdit *e : {txPrizeTotal, txEmax, txMotiten})
        e->setAlignment(Qt::AlignRight);
    tg->addWidget(label(QStringLiteral("賞位ﾎﾟｲﾝﾄ 合計"), totals), 0, 0);
    tg->addWidget(txPrizeTotal, 0, 1);
    tg->addWidget(label(QStringLiteral("参加人数"), totals), 1, 0);
    tg->addWidget(txEmax, 1, 1);
    tg->addWidget(label(QStringLiteral("一人あたりの配分ﾎﾟｲﾝﾄ"), totals), 2, 0);
    tg->addWidget(txMotiten, 2, 1);
    Command1 = makeButton(QStringLiteral("Command1"), QStringLiteral("再計算"));
    tg->addWidget(label(QStringLiteral("最後は必ず押してください--->>"), totals), 3, 0);
    tg->addWidget(Command1, 3, 1);
    connect(Command1, &QPushButton::clicked, this, &RulesWindow::recalcClicked);
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
    cmdPrize = makeButton(QStringLiteral("cmdPrize"), QStringLiteral("賞位決定"));
    cmdSave[1] = makeButton(QStringLiteral("cmdSave_1"), QStringLiteral("登　録"));
    buttons->addWidget(cmdPrize);
    buttons->addWidget(cmdSave[1]);
    grid->addLayout(buttons, 2, 2, Qt::AlignBottom);
    connect(cmdPrize, &QPushButton::clicked, this, &RulesWindow::decidePrizesClicked);
    connect(cmdSave[1], &QPushButton::clicked, this, &RulesWindow::saveClicked);
    return page;
}

void RulesWindow::readForm()
{
    m_form.pickCount = txRikishiNum->text();
    for (int i = 0; i < kMaxPicks; ++i)
        m_form.slotPoints[i] = txPoint[i]->text();
    m_form.includeTopRanks = ChkOzeki->isChecked();
    m_form.useReserve = ChkSpair->isChecked();
    m_form.simpleBonus = OptType[0]->isChecked();
    m_form.goldStar = txKIN->text();
    m_form.silverStar = txGin->text();
    m_form.streakOn = chkRepeat->isChecked();
    m_form.streakMin = txRwin->text();
    m_form.streakBonus = txWpoint->text();
    m_form.smallerIdFirst = !Option1[0]->isChecked();
    for (int i = 0; i < kPrizeRows; ++i) {
        m_form.prizes[i].on = opPrize[i]->checkState() == Qt::Checked;
        m_form.prizes[i].rank = txRank[i]->text();
        m_form.prizes[i].name = txPname[i]->text();
        m_form.prizes[i].points = txPrizePoint[i]->text();
    }
    for (int d = 0; d < kDayPrizes; ++d) {
        m_form.dayPrizes[d].on = opPrize2[d]->isChecked();
        m_form.dayPrizes[d].points = Text1[d]->text();
    }
    m_form.prizeTotal = txPrizeTotal->text();
    m_form.participants = txEmax->text();
    m_form.perParticipant = txMotiten->text();
}

void RulesWindow::showForm()
{
    const RulesForm &f = m_form;
    const bool rulesOpen = !f.rulesLocked;
    const QColor white(Qt::white);
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    setText(txRikishiNum, f.pickCount);
    for (int i = 0; i < kMaxPicks; ++i) {
        setText(txPoint[i], f.slotPoints[i]);
        txPoint[i]->setEnabled(f.slotActive[i] && rulesOpen);
        setBackground(txPoint[i], f.slotActive[i] ? white : buttonFace, Qt::black);
    }
    ChkOzeki->setChecked(f.includeTopRanks);
    ChkSpair->setChecked(f.useReserve);
    OptType[0]->setChecked(f.simpleBonus);
    OptType[1]->setChecked(!f.simpleBonus);
    for (QLabel *l : Ltype)
        l->setText(f.unitLabel());
    setText(txKIN, f.goldStar);
    setText(txGin, f.silverStar);
    chkRepeat->setChecked(f.streakOn);
    setText(txRwin, f.streakMin);
    setText(txWpoint, f.streakBonus);
    Option1[0]->setChecked(!f.smallerIdFirst);
    Option1[1]->setChecked(f.smallerIdFirst);
    for (QWidget *w : std::initializer_list<QWidget *> {
             txRikishiNum, ChkOzeki, ChkSpair, OptType[0], OptType[1], Option1[0], Option1[1],
             txKIN, txGin, chkRepeat, txRwin, txWpoint})
        w->setEnabled(rulesOpen);

    const bool prizesOpen = !f.prizesLocked;
    for (int i = 0; i < kPrizeRows; ++i) {
        opPrize[i]->setCheckState(f.prizes[i].on            ? Qt::Checked
                                      : f.prizes[i].waiting ? Qt::PartiallyChecked
                                                            : Qt::Unchecked);
        opPrize[i]->setToolTip(f.prizes[i].waiting
                                   ? QStringLiteral("参加人数がこの順位に届くと賞位になります。")
                                   : QString());
        setText(txRank[i], f.prizes[i].rank);
        setText(txPname[i], f.prizes[i].name);
        setText(txPrizePoint[i], f.prizes[i].points);
        for (QWidget *w :
             std::initializer_list<QWidget *> {opPrize[i], txRank[i], txPname[i], txPrizePoint[i]})
            w->setEnabled(prizesOpen);
    }
    for (int d = 0; d < kDayPrizes; ++d) {
        opPrize2[d]->setChecked(f.dayPrizes[d].on);
        setText(Text1[d], f.dayPrizes[d].points);
        opPrize2[d]->setEnabled(prizesOpen);
        Text1[d]->setEnabled(prizesOpen);
    }
    setText(txPrizeTotal, f.prizeTotal);
    setText(txEmax, f.participants);
    setText(txMotiten, f.perParticipant);
    const QColor shade = f.darkShade ? darkShade() : lightShade();
    for (QLineEdit *e : {txPrizeTotal, txEmax, txMotiten}) {
        setBackground(e, shade, Qt::white);
        e->setEnabled(prizesOpen);
    }
}

void RulesWindow::focusBox(QLineEdit *edit)
{
    for (int t = 0; t < SSTab1->count(); ++t)
        if (SSTab1->widget(t)->isAncestorOf(edit))
            SSTab1->setCurrentIndex(t);
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
    if (edit == txRikishiNum) {
        readForm();
        const bool outOfRange = val(m_form.pickCount) < 1 || val(m_form.pickCount) > 10;
        setPickCount(m_form);
        showForm();
        if (outOfRange)
            txRikishiNum->selectAll();
        if (txPoint[0]->isEnabled())
            focusBox(txPoint[0]);
        return;
    }
    for (int i = 0; i < kMaxPicks; ++i)
        if (edit == txPoint[i]) {
            readForm();
            focusBox(txPoint[nextSlotBox(m_form, i)]);
            return;
        }
    if (edit == txKIN)
        return focusBox(txGin);
    if (edit == txGin)
        return focusBox(txRwin);
    if (edit == txRwin)
        return focusBox(txWpoint);
    if (edit == txWpoint)
        return focusBox(txPrizePoint[0]);
    for (int i = 0; i < kPrizeRows; ++i) {
        if (edit == txRank[i])
            return focusBox(txPname[i]);
        if (edit == txPname[i])
            return focusBox(txPrizePoint[i]);
        if (edit == txPrizePoint[i]) {
            readForm();
            const int next = setPrizePoints(m_form, i);
            showForm();
            return focusBox(txRank[next]);
        }
    }
    for (int d = 0; d < kDayPrizes; ++d)
        if (edit == Text1[d]) {
            readForm();
            const int next = setDayPrizePoints(m_form, d);
            showForm();
            return focusBox(Text1[next]);
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
    setDayPrizeChecked(m_form, d, opPrize2[d]->isChecked());
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
