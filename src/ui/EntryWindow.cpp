#include "ui/EntryWindow.h"
#include "ui/ActionRunner.h"
#include "ui/ColumnWidths.h"

#include "entries/EntryImport.h"
#include "entries/EntryRegistration.h"
#include "entries/PreviousImport.h"
#include "store/Contest.h"
#include "store/Phase.h"
#include "store/RecordSet.h"
#include "store/Roster.h"
#include "store/StoreError.h"
#include "store/Text.h"
#include "ui/MessageBoxPrompter.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace kc::ui {

namespace {
// The form's sizes are in twips, as the layout rules give them.
int px(int twips)
{
    return twips / 15;
}

const QColor kYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);

// The 3-D light face of boxes that are not in use.
QColor light3D()
{
    return QColor(227, 227, 227);
}
} // namespace

// The entry list of the window (DataGrid1): entry00 in ID order.
class EntryGridModel : public QAbstractTableModel
{
public:
    EntryGridModel(RecordSet &table, QObject *parent) : QAbstractTableModel(parent), m_table(table)
    {
    }
    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_table.count();
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_table.columns().size());
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        return m_table.valueAt(index.row(), index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Horizontal && section >= 0 && section < m_table.columns().size())
            return m_table.columns()[section];
        return orientation == Qt::Vertical ? QVariant(section + 1) : QVariant();
    }
    void requery()
    {
        beginResetModel();
        m_table.requery();
        endResetModel();
    }

private:
    RecordSet &m_table;
};

EntryWindow::EntryWindow(Contest &contest, QWidget *mainWindow)
    : QWidget(nullptr), m_contest(contest), m_mainWindow(mainWindow)
{
    setObjectName(QStringLiteral("frmEntry2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("参加者登録フォーム"));
    m_table = std::make_unique<RecordSet>(m_contest.database(), QStringLiteral("entry00"));
    m_table->setSort(QStringLiteral("ID ASC"));
    m_model = new EntryGridModel(*m_table, this);
    buildControls();

    // Window load.
    m_table->setFilter(QString());
    // The entry array and entry00 agree after start-up; the array is what a page shows.
    m_state.load(m_contest.participantCount());
    showPage();
    // A message box owned by the disabled main window would be disabled too.
    m_boxPrompter = dynamic_cast<MessageBoxPrompter *>(&m_contest.prompter());
    if (m_boxPrompter) {
        m_boxPrompterParent = m_mainWindow;
        m_boxPrompter->setParent(this);
    }
    if (m_mainWindow)
        m_mainWindow->setEnabled(false);
    applyRules();
    if (!Phase::of(m_contest.rules()).beforeFirstEntry()) {
        cmdTorikomi->setEnabled(false);
        cmdTorikomi2->setEnabled(false);
    }
    Opt[1]->setChecked(true);
    selectInputStart(1);
    layoutEntryGrid();
}

EntryWindow::~EntryWindow()
{
    if (m_mainWindow)
        m_mainWindow->setEnabled(true);
    if (m_boxPrompter)
        m_boxPrompter->setParent(m_boxPrompterParent);
}

void EntryWindow::buildControls()
{
    auto lineEdit = [this](const QString &name, int widthTwips) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        if (widthTwips > 0)
            e->setFixedWidth(px(widthTwips));
        e->installEventFilter(this);
        setBackground(e, kWhite);
        return e;
    };
    auto label = [this](const QString &text, const QString &name = QString()) {
        auto *l = new QLabel(text, this);
        if (!name.isEmpty())
            l->setObjectName(name);
        return l;
    };
    auto button = [this](const QString &name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        // Enter on a focused button presses it, as after the last box.
        b->setAutoDefault(true);
        return b;
    };

    txName = lineEdit(QStringLiteral("txName"), 2400);
    txBirth = lineEdit(QStringLiteral("txBirth"), 1500);
    txMail = lineEdit(QStringLiteral("txMail"), 3600);
    txTel = lineEdit(QStringLiteral("txTel"), 1800);
    txFax = lineEdit(QStringLiteral("txFax"), 1800);
    txShikona = lineEdit(QStringLiteral("txShikona"), 2400);
    txShiko = lineEdit(QStringLiteral("txShiko"), 2400);
    txYobi = lineEdit(QStringLiteral("txYobi"), 600);
    txIndex = lineEdit(QStringLiteral("txIndex"), 700);
    txIndex->setReadOnly(true);
    txIndex->setFocusPolicy(Qt::NoFocus);
    txIndex->setAlignment(Qt::AlignCenter);

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(3);
    int row = 0;
    form->addWidget(label(QStringLiteral("ID")), row, 0, Qt::AlignRight);
    form->addWidget(txIndex, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("会員名：")), row, 0, Qt::AlignRight);
    form->addWidget(txName, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("生年月日")), row, 0, Qt::AlignRight);
    auto *birthRow = new QHBoxLayout;
    birthRow->addWidget(txBirth);
    birthRow->addWidget(label(QStringLiteral("sample： 1962/09/27")));
    birthRow->addStretch();
    form->addLayout(birthRow, row++, 1, 1, 3);
    form->addWidget(label(QStringLiteral("ﾒｰﾙｱﾄﾞﾚｽ")), row, 0, Qt::AlignRight);
    form->addWidget(txMail, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("電話番号")), row, 0, Qt::AlignRight);
    form->addWidget(txTel, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("FAX番号")), row, 0, Qt::AlignRight);
    form->addWidget(txFax, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("四股名：")), row, 0, Qt::AlignRight);
    form->addWidget(txShikona, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("  ﾌﾘｶﾞﾅ")), row, 0, Qt::AlignRight);
    form->addWidget(txShiko, row++, 1, 1, 3, Qt::AlignLeft);
    for (int i = 0; i < kMaxPicks; ++i) {
        Rname[i] = label(QString(), QStringLiteral("Rname_%1").arg(i));
        txRikishiNO[i] = lineEdit(QStringLiteral("txRikishiNO_%1").arg(i), 600);
        RikishiName[i] = label(QString(), QStringLiteral("RikishiName_%1").arg(i));
        RikishiName[i]->setMinimumWidth(px(1500));
        form->addWidget(Rname[i], row, 0, Qt::AlignRight);
        form->addWidget(txRikishiNO[i], row, 1, Qt::AlignLeft);
        form->addWidget(RikishiName[i], row++, 2, 1, 2, Qt::AlignLeft);
        connect(txRikishiNO[i], &QLineEdit::textEdited, this,
                [this, i] { showNameBeside(txRikishiNO[i], RikishiName[i], false); });
    }
    Yname = label(QString(), QStringLiteral("Yname"));
    YRname = label(QString(), QStringLiteral("YRname"));
    YRname->setMinimumWidth(px(1500));
    form->addWidget(Yname, row, 0, Qt::AlignRight);
    form->addWidget(txYobi, row, 1, Qt::AlignLeft);
    form->addWidget(YRname, row++, 2, 1, 2, Qt::AlignLeft);
    connect(txYobi, &QLineEdit::textEdited, this, [this] { showNameBeside(txYobi, YRname, true); });
    ErrMsg = label(QString(), QStringLiteral("ErrMsg"));
    ErrMsg->setWordWrap(true);
    ErrMsg->setMinimumHeight(px(500));
    QPalette errPalette = ErrMsg->palette();
    errPalette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    ErrMsg->setPalette(errPalette);

    form->addWidget(ErrMsg, row++, 0, 1, 4);
    form->setColumnStretch(3, 1);
    form->setRowStretch(row, 1);

    auto *startFrame = new QGroupBox(QStringLiteral("入力開始位置"), this);
    auto *startLayout = new QVBoxLayout(startFrame);
    m_optGroup = new QButtonGroup(this);
    const QString optTexts[3] = {QStringLiteral("会員名から"), QStringLiteral("四股名から"),
                                 QStringLiteral("力士番号から")};
    for (int n = 0; n < 3; ++n) {
        Opt[n] = new QRadioButton(optTexts[n], startFrame);
        Opt[n]->setObjectName(QStringLiteral("Opt_%1").arg(n));
        m_optGroup->addButton(Opt[n], n);
        startLayout->addWidget(Opt[n]);
        connect(Opt[n], &QRadioButton::clicked, this, [this, n] { selectInputStart(n); });
    }

    cmdAdd = button(QStringLiteral("cmdAdd"), QStringLiteral("追加"));
    cmdUpdate = button(QStringLiteral("cmdUpdate"), QStringLiteral("更新"));
    cmdDel = button(QStringLiteral("cmdDel"), QStringLiteral("削除"));
    cmdPP = button(QStringLiteral("cmdPP"), QStringLiteral("<<"));
    cmdP = button(QStringLiteral("cmdP"), QStringLiteral("<"));
    cmdN = button(QStringLiteral("cmdN"), QStringLiteral(">"));
    cmdNN = button(QStringLiteral("cmdNN"), QStringLiteral(">>"));
    cmd = button(QStringLiteral("cmd"), QStringLiteral("力士参照"));
    cmdEXIT = button(QStringLiteral("cmdEXIT"), QStringLiteral("終了"));
    auto *importFrame = new QGroupBox(QStringLiteral("先場所ﾃﾞｰﾀ取り込み"), this);
    auto *importLayout = new QVBoxLayout(importFrame);
    cmdTorikomi = button(QStringLiteral("cmdTorikomi"), QStringLiteral("先場所ﾗﾝｷﾝｸﾞ反映"));
    cmdTorikomi2 = button(QStringLiteral("cmdTorikomi2"), QStringLiteral("ﾗﾝｷﾝｸﾞ反映しない"));
    importLayout->addWidget(cmdTorikomi);
    importLayout->addWidget(cmdTorikomi2);
    cmdCsv = button(QStringLiteral("cmdCsv"), QStringLiteral("申込CSV読込"));
    cmdCsv->setToolTip(QStringLiteral("Web フォームなどの申込を CSV から一括登録します"));
    m_chooseCsv = [this] {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("申込ファイルを開く"), QString(),
            QStringLiteral("申込 (*.csv *.txt);;すべてのファイル (*)"));
    };
    connect(cmdCsv, &QPushButton::clicked, this, [this] { guarded([this] { importCsv(); }); });

    connect(cmdAdd, &QPushButton::clicked, this, [this] { guarded([this] { add(); }); });
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { guarded([this] { update(); }); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { guarded([this] { remove(); }); });
    connect(cmdPP, &QPushButton::clicked, this, [this] { navigate(&EntryFormState::first, true); });
    connect(cmdP, &QPushButton::clicked, this,
            [this] { navigate(&EntryFormState::previous, true); });
    connect(cmdN, &QPushButton::clicked, this, [this] { navigate(&EntryFormState::next, true); });
    connect(cmdNN, &QPushButton::clicked, this, [this] {
        navigate(&EntryFormState::last, false);
        // On the page for a new entry typing starts where it does after 追加.
        if (m_state.onBlankPage())
            focusByInputStart();
    });
    connect(cmd, &QPushButton::clicked, this, [this] { guarded([this] { openChart(); }); });
    connect(cmdEXIT, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdTorikomi, &QPushButton::clicked, this,
            [this] { guarded([this] { importPrevious(true); }); });
    connect(cmdTorikomi2, &QPushButton::clicked, this,
            [this] { guarded([this] { importPrevious(false); }); });

    auto *actions = new QGridLayout;
    actions->addWidget(startFrame, 0, 0, 1, 4);
    actions->addWidget(cmdAdd, 1, 0, 1, 4);
    actions->addWidget(cmdUpdate, 2, 0, 1, 4);
    actions->addWidget(cmdDel, 3, 0, 1, 4);
    actions->addWidget(cmdPP, 4, 0);
    actions->addWidget(cmdP, 4, 1);
    actions->addWidget(cmdN, 4, 2);
    actions->addWidget(cmdNN, 4, 3);
    actions->addWidget(cmd, 5, 0, 1, 4);
    actions->addWidget(importFrame, 6, 0, 1, 4);
    actions->addWidget(cmdCsv, 7, 0, 1, 4);
    actions->setRowStretch(8, 1);
    actions->addWidget(cmdEXIT, 9, 0, 1, 4);
    for (QPushButton *b : {cmdPP, cmdP, cmdN, cmdNN})
        b->setFixedWidth(px(500));

    m_formPanel = new QWidget(this);
    auto *panel = new QGridLayout(m_formPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(form, 0, 0);
    panel->addLayout(actions, 0, 1);
    panel->setColumnStretch(0, 1);
    m_formPanel->setFixedWidth(px(7700) - 24);

    DataGrid1 = new QTableView(this);
    DataGrid1->setObjectName(QStringLiteral("DataGrid1"));
    DataGrid1->setModel(m_model);
    DataGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    DataGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    DataGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Read-only: Tab goes on to the next control instead of the next cell.
    DataGrid1->setTabKeyNavigation(false);
    DataGrid1->setFocusPolicy(Qt::NoFocus);
    DataGrid1->verticalHeader()->setDefaultSectionSize(20);
    DataGrid1->verticalHeader()->hide();

    auto *top = new QHBoxLayout(this);
    top->setContentsMargins(12, 12, 12, 12);
    top->addWidget(m_formPanel);
    top->addWidget(DataGrid1);
}

void EntryWindow::setBackground(QLineEdit *box, const QColor &colour)
{
    QPalette p = box->palette();
    p.setColor(QPalette::Base, colour);
    box->setPalette(p);
}

void EntryWindow::applyRules()
{
    const RulesRecord &rules = m_contest.rules();
    const int pickCount = std::clamp<int>(rules.pickCount, 0, kMaxPicks);
    // Tab order: the ring name, the picks in use, then the reserve.
    QWidget *previous = txShikona;
    for (int i = 0; i < pickCount; ++i) {
        Rname[i]->setText(QString::number(rules.slotPoints[i]) + QStringLiteral("点力士:"));
        setTabOrder(previous, txRikishiNO[i]);
        previous = txRikishiNO[i];
    }
    if (rules.reserveInUse()) {
        txYobi->setEnabled(true);
        txYobi->setFocusPolicy(Qt::StrongFocus);
        setBackground(txYobi, kWhite);
        Yname->setText(QStringLiteral("予備力士:"));
        setTabOrder(previous, txYobi);
        previous = txYobi;
    } else {
        txYobi->setEnabled(false);
        txYobi->setFocusPolicy(Qt::NoFocus);
        setBackground(txYobi, light3D());
        Yname->clear();
    }
    for (QWidget *w : {static_cast<QWidget *>(txShiko), static_cast<QWidget *>(txName),
                       static_cast<QWidget *>(txBirth), static_cast<QWidget *>(txMail),
                       static_cast<QWidget *>(txTel), static_cast<QWidget *>(txFax)}) {
        setTabOrder(previous, w);
        previous = w;
    }
    // Unused pick boxes stay enabled but are never read.
    for (int i = pickCount; i < kMaxPicks; ++i) {
        txRikishiNO[i]->setFocusPolicy(Qt::ClickFocus);
        setBackground(txRikishiNO[i], light3D());
    }
}

void EntryWindow::layoutEntryGrid()
{
    const int pickCount = std::clamp<int>(m_contest.rules().pickCount, 0, kMaxPicks);
    const int columns = m_model->columnCount();
    for (int c = 0; c < columns; ++c)
        DataGrid1->setColumnHidden(c, true);
    // Whole names and headings, never narrower than the window's own layout.
    int gridWidth = 0;
    const auto show = [&](int c, int twips, int chars) {
        DataGrid1->setColumnHidden(c, false);
        const int w = columnWidthFor(DataGrid1, c, chars, px(twips));
        DataGrid1->setColumnWidth(c, w);
        gridWidth += w;
    };
    show(1, 1000, kRingNameBytes);
    for (int c = 19; c <= 18 + pickCount; ++c)
        show(c, 700, kWrestlerNameBytes);
    show(30, 400, 0);
    gridWidth += DataGrid1->frameWidth() * 2
        + DataGrid1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    DataGrid1->setFixedWidth(gridWidth);
    resize(gridWidth + px(7700), std::max(height(), 680));
}

void EntryWindow::refreshGrid()
{
    m_model->requery();
}

void EntryWindow::applyButtons()
{
    cmdAdd->setEnabled(m_state.addEnabled());
    cmdUpdate->setEnabled(m_state.updateEnabled());
    cmdDel->setEnabled(m_state.deleteEnabled());
    cmdPP->setEnabled(m_state.firstEnabled());
    cmdP->setEnabled(m_state.previousEnabled());
    cmdN->setEnabled(m_state.nextEnabled());
    cmdNN->setEnabled(m_state.lastEnabled());
    setWindowTitle(m_state.caption());
    txIndex->setText(QString::number(m_state.shownId()));
}

void EntryWindow::showPage()
{
    const Roster &roster = m_contest.roster();
    if (m_state.onBlankPage()) {
        // NewEntryPage
        for (int i = 0; i < kMaxPicks; ++i) {
            txRikishiNO[i]->clear();
            RikishiName[i]->clear();
        }
        for (QLineEdit *e : {txYobi, txName, txBirth, txMail, txTel, txFax, txShikona, txShiko})
            e->clear();
        YRname->clear();
        if (m_model->rowCount() > 0)
            DataGrid1->selectRow(m_model->rowCount() - 1);
    } else {
        // ShowEntry
        const int k = m_state.currentIndex();
        const EntryRecord &e = m_contest.entries().at(k);
        const int pickCount = std::clamp<int>(m_contest.rules().pickCount, 0, kMaxPicks);
        const EntryForm f = EntryForm::fromRecord(e, pickCount);
        for (int i = 0; i < pickCount; ++i) {
            txRikishiNO[i]->setText(f.picks[i]);
            RikishiName[i]->setText(roster.name(e.picks[i]));
        }
        txYobi->setText(f.reserve);
        YRname->setText(roster.name(e.reserveList[0]));
        txName->setText(f.memberName);
        txBirth->setText(f.birth);
        txMail->setText(f.mail);
        txTel->setText(f.tel);
        txFax->setText(f.fax);
        txShikona->setText(f.shikona);
        txShiko->setText(f.furigana);
        DataGrid1->selectRow(k);
    }
    applyButtons();
}

EntryForm EntryWindow::readForm() const
{
    EntryForm f;
    f.memberName = txName->text();
    f.birth = txBirth->text();
    f.mail = txMail->text();
    f.tel = txTel->text();
    f.fax = txFax->text();
    f.shikona = txShikona->text();
    f.furigana = txShiko->text();
    for (int i = 0; i < kMaxPicks; ++i)
        f.picks[i] = txRikishiNO[i]->text();
    f.reserve = txYobi->text();
    return f;
}

void EntryWindow::showError(const ValidationResult &error)
{
    // Only the latest problem is marked.
    clearErrorDisplay();
    QApplication::beep();
    ErrMsg->setText(error.message);
    QLineEdit *box = nullptr;
    switch (error.box) {
    case EntryBox::Shikona:
        box = txShikona;
        break;
    case EntryBox::Pick:
        box = txRikishiNO[std::clamp(error.pickIndex, 0, kMaxPicks - 1)];
        break;
    case EntryBox::Reserve:
        box = txYobi;
        break;
    case EntryBox::None:
        break;
    }
    if (box) {
        setBackground(box, kYellow);
        box->setFocus();
    }
    m_errorShown = true;
}

void EntryWindow::clearErrorDisplay()
{
    if (m_errorShown) {
        const int pickCount = std::clamp<int>(m_contest.rules().pickCount, 0, kMaxPicks);
        setBackground(txShikona, kWhite);
        setBackground(txShiko, kWhite);
        setBackground(txYobi, m_contest.rules().reserveInUse() ? kWhite : light3D());
        for (int i = 0; i < pickCount; ++i)
            setBackground(txRikishiNO[i], kWhite);
        m_errorShown = false;
    }
    ErrMsg->clear();
}

void EntryWindow::focusByInputStart()
{
    switch (m_state.inputStart()) {
    case InputStart::MemberName:
        txName->setFocus();
        break;
    case InputStart::Shikona:
        txShikona->setFocus();
        break;
    case InputStart::Picks:
        txRikishiNO[0]->setFocus();
        break;
    }
}

void EntryWindow::focusAfterLastBox()
{
    if (cmdUpdate->isEnabled())
        cmdUpdate->setFocus();
    if (cmdAdd->isEnabled())
        cmdAdd->setFocus();
}

void EntryWindow::selectInputStart(int n)
{
    m_state.setInputStart(InputStart(n));
    focusByInputStart();
}

template<typename F> void EntryWindow::guarded(F &&handler)
{
    runAction(
        m_contest, std::forward<F>(handler),
        [this] {
            m_state.load(m_contest.participantCount());
            refreshGrid();
            showPage();
        },
        QStringLiteral("Kachikoshi Cup"));
}

void EntryWindow::add()
{
    EntryRegistration reg(m_contest);
    const auto result = reg.add(readForm());
    if (!result.validation.ok()) {
        showError(result.validation);
        return;
    }
    refreshGrid();
    m_state.afterAdd(reg.participantCount());
    showPage();
    clearErrorDisplay();
    focusByInputStart();
    layoutEntryGrid();
}

void EntryWindow::update()
{
    EntryRegistration reg(m_contest);
    const int index = m_state.currentIndex();
    const auto result = reg.update(index, readForm());
    if (!result.validation.ok()) {
        showError(result.validation);
        return;
    }
    refreshGrid();
    layoutEntryGrid();
    m_state.afterUpdate(index);
    showPage();
    clearErrorDisplay();
    focusByInputStart();
}

void EntryWindow::remove()
{
    EntryRegistration reg(m_contest);
    if (!reg.remove(m_state.currentIndex()))
        return;
    refreshGrid();
    layoutEntryGrid();
    m_state.afterDelete(reg.participantCount());
    showPage();
    clearErrorDisplay();
    focusByInputStart();
}

void EntryWindow::navigate(void (EntryFormState::*move)(), bool focusShikona)
{
    (m_state.*move)();
    showPage();
    clearErrorDisplay();
    if (focusShikona)
        txShikona->setFocus();
}

void EntryWindow::importPrevious(bool byRanking)
{
    const ImportResult r
        = kc::importPrevious(m_contest, byRanking ? ImportSource::Ranking : ImportSource::Ids);
    if (r.outcome == ImportResult::Refused && !r.message.isEmpty())
        m_contest.prompter().tell({r.message, QString(), Icon::Information});
    if (r.outcome != ImportResult::Imported)
        return;
    cmdTorikomi->setEnabled(false);
    cmdTorikomi2->setEnabled(false);
    refreshGrid();
    m_state.afterImport(m_contest.participantCount());
    showPage();
    clearErrorDisplay();
    Opt[2]->setChecked(true);
    m_state.setInputStart(InputStart::Picks);
    layoutEntryGrid();
    txRikishiNO[0]->setFocus();
}

void EntryWindow::importCsv()
{
    const QString path = m_chooseCsv ? m_chooseCsv() : QString();
    if (path.isEmpty())
        return;
    const EntryImportOutcome out = importEntries(m_contest, path);
    if (!out.refusal.isEmpty()) {
        m_contest.prompter().tell({out.refusal, QStringLiteral("申込CSV読込"), Icon::Warning});
        return;
    }
    const int added = int(out.read.forms.size());
    if (added > 0) {
        refreshGrid();
        m_state.afterAdd(m_contest.participantCount());
        showPage();
        clearErrorDisplay();
        layoutEntryGrid();
    }
    QString text = added > 0 ? QStringLiteral("%1 名を登録しました（ID %2〜%3）。")
                                   .arg(added)
                                   .arg(out.firstId)
                                   .arg(out.firstId + added - 1)
                             : QStringLiteral("登録できる申込はありませんでした。");
    if (!out.read.refusals.isEmpty())
        text += QStringLiteral("\n\n受け付けなかった行:\n") + out.read.refusals.join(u'\n');
    m_contest.prompter().tell({text, QStringLiteral("申込CSV読込"),
                               out.read.refusals.isEmpty() ? Icon::Information : Icon::Warning});
}

void EntryWindow::openChart()
{
    // One chart: an open one comes to the front.
    if (m_chart && m_chart->isVisible()) {
        m_chart->raise();
        m_chart->activateWindow();
        return;
    }
    // The chart reloads the stored banzuke itself, keeping the day results.
    if (m_openChart) {
        if (QWidget *chart = m_openChart(this))
            m_chart = chart;
    }
}

void EntryWindow::onEnter(QLineEdit *box)
{
    static const std::pair<QLineEdit * EntryWindow::*, QLineEdit * EntryWindow::*> chain[] = {
        {&EntryWindow::txName, &EntryWindow::txBirth},
        {&EntryWindow::txBirth, &EntryWindow::txMail},
        {&EntryWindow::txMail, &EntryWindow::txTel},
        {&EntryWindow::txTel, &EntryWindow::txFax},
        {&EntryWindow::txFax, &EntryWindow::txShikona},
        {&EntryWindow::txShikona, &EntryWindow::txShiko},
    };
    for (const auto &[from, to] : chain) {
        if (this->*from == box) {
            (this->*to)->setFocus();
            return;
        }
    }
    if (box == txShiko) {
        txRikishiNO[0]->setFocus();
        return;
    }
    for (int i = 0; i < kMaxPicks; ++i) {
        if (box == txRikishiNO[i]) {
            onPickEnter(i);
            return;
        }
    }
    if (box == txYobi)
        onReserveEnter();
}

void EntryWindow::showNameBeside(const QLineEdit *box, QLabel *name, bool reserve)
{
    // A name shows only beside a number that Enter would accept.
    const Roster &roster = m_contest.roster();
    const EnterCheck check = reserve ? checkReserveEnter(box->text(), roster)
                                     : checkPickEnter(box->text(), m_contest.rules(), roster);
    name->setText(check.outcome == EnterOutcome::Accepted ? roster.name(check.slot) : QString());
}

void EntryWindow::refuseNumber(QLineEdit *box, QLabel *name, const QString &reason)
{
    box->clear();
    name->clear();
    showError(ValidationResult::fail(3, reason, EntryBox::None));
    setBackground(box, kYellow);
    box->setFocus();
}

void EntryWindow::onPickEnter(int i)
{
    const RulesRecord &rules = m_contest.rules();
    const EnterCheck check = checkPickEnter(txRikishiNO[i]->text(), rules, m_contest.roster());
    if (check.outcome != EnterOutcome::Accepted) {
        refuseNumber(txRikishiNO[i], RikishiName[i], check.reason);
        return;
    }
    onKeyTyped(txRikishiNO[i]);
    RikishiName[i]->setText(m_contest.roster().name(check.slot));
    if (i + 1 < rules.pickCount)
        txRikishiNO[i + 1]->setFocus();
    else if (rules.reserveInUse())
        txYobi->setFocus();
    else
        focusAfterLastBox();
}

void EntryWindow::onReserveEnter()
{
    const EnterCheck check = checkReserveEnter(txYobi->text(), m_contest.roster());
    if (check.outcome == EnterOutcome::Ignored)
        return;
    if (check.outcome == EnterOutcome::Rejected) {
        refuseNumber(txYobi, YRname, check.reason);
        return;
    }
    onKeyTyped(txYobi);
    YRname->setText(m_contest.roster().name(check.slot));
    focusAfterLastBox();
}

void EntryWindow::onKeyTyped(QLineEdit *box)
{
    const bool watched = box == txShikona || box == txShiko || box == txYobi
        || std::find(txRikishiNO.begin(), txRikishiNO.end(), box) != txRikishiNO.end();
    if (!watched)
        return;
    if (box == txYobi && val(box->text()) < 10)
        return;
    setBackground(box, kWhite);
    ErrMsg->clear();
}

bool EntryWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (!box)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            guarded([&] { onEnter(box); });
            return true; // Enter never reaches the box
        }
        if (!key->text().isEmpty())
            onKeyTyped(box);
    } else if (event->type() == QEvent::FocusIn) {
        // Select the text without its trailing blanks, once the click that
        // brought the focus has been handled.
        QPointer<QLineEdit> target(box);
        QTimer::singleShot(0, this, [target] {
            if (target)
                target->setSelection(0, int(trimRight(target->text()).size()));
        });
    }
    return QWidget::eventFilter(watched, event);
}

void EntryWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closed) {
        runAction(
            m_contest, [this] { EntryRegistration(m_contest).close(); }, {},
            QStringLiteral("Kachikoshi Cup"));
        m_closed = true;
        if (m_mainWindow)
            m_mainWindow->setEnabled(true);
        if (m_chart)
            m_chart->close();
        if (m_boxPrompter) {
            m_boxPrompter->setParent(m_boxPrompterParent);
            m_boxPrompter = nullptr;
        }
        if (m_onClosed)
            m_onClosed();
    }
    event->accept();
}

} // namespace kc::ui
