#include "ui/EntryWindow.h"
#include "store/EntryTable.h"
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

// The entry list of the window (m_grid): entry00 in ID order.
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
    m_table = std::make_unique<RecordSet>(m_contest.database(), entrytable::name);
    m_table->setSort(entrytable::byId);
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
        m_importWithRankingButton->setEnabled(false);
        m_importWithoutRankingButton->setEnabled(false);
    }
    m_inputStartOptions[1]->setChecked(true);
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

    m_memberNameField = lineEdit(QStringLiteral("txName"), 2400);
    m_birthDateField = lineEdit(QStringLiteral("txBirth"), 1500);
    m_mailField = lineEdit(QStringLiteral("txMail"), 3600);
    m_phoneField = lineEdit(QStringLiteral("txTel"), 1800);
    m_faxField = lineEdit(QStringLiteral("txFax"), 1800);
    m_shikonaField = lineEdit(QStringLiteral("txShikona"), 2400);
    m_furiganaField = lineEdit(QStringLiteral("txShiko"), 2400);
    m_reserveField = lineEdit(QStringLiteral("txYobi"), 600);
    m_idField = lineEdit(QStringLiteral("txIndex"), 700);
    m_idField->setReadOnly(true);
    m_idField->setFocusPolicy(Qt::NoFocus);
    m_idField->setAlignment(Qt::AlignCenter);

    auto *form = new QGridLayout;
    form->setHorizontalSpacing(6);
    form->setVerticalSpacing(3);
    int row = 0;
    form->addWidget(label(QStringLiteral("ID")), row, 0, Qt::AlignRight);
    form->addWidget(m_idField, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("会員名：")), row, 0, Qt::AlignRight);
    form->addWidget(m_memberNameField, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("生年月日")), row, 0, Qt::AlignRight);
    auto *birthRow = new QHBoxLayout;
    birthRow->addWidget(m_birthDateField);
    birthRow->addWidget(label(QStringLiteral("sample： 1962/09/27")));
    birthRow->addStretch();
    form->addLayout(birthRow, row++, 1, 1, 3);
    form->addWidget(label(QStringLiteral("ﾒｰﾙｱﾄﾞﾚｽ")), row, 0, Qt::AlignRight);
    form->addWidget(m_mailField, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("電話番号")), row, 0, Qt::AlignRight);
    form->addWidget(m_phoneField, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("FAX番号")), row, 0, Qt::AlignRight);
    form->addWidget(m_faxField, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("四股名：")), row, 0, Qt::AlignRight);
    form->addWidget(m_shikonaField, row++, 1, 1, 3, Qt::AlignLeft);
    form->addWidget(label(QStringLiteral("  ﾌﾘｶﾞﾅ")), row, 0, Qt::AlignRight);
    form->addWidget(m_furiganaField, row++, 1, 1, 3, Qt::AlignLeft);
    for (int i = 0; i < kMaxPicks; ++i) {
        m_pickLabels[i] = label(QString(), QStringLiteral("Rname_%1").arg(i));
        m_pickFields[i] = lineEdit(QStringLiteral("txRikishiNO_%1").arg(i), 600);
        m_pickNames[i] = label(QString(), QStringLiteral("RikishiName_%1").arg(i));
        m_pickNames[i]->setMinimumWidth(px(1500));
        form->addWidget(m_pickLabels[i], row, 0, Qt::AlignRight);
        form->addWidget(m_pickFields[i], row, 1, Qt::AlignLeft);
        form->addWidget(m_pickNames[i], row++, 2, 1, 2, Qt::AlignLeft);
        connect(m_pickFields[i], &QLineEdit::textEdited, this,
                [this, i] { showNameBeside(m_pickFields[i], m_pickNames[i], false); });
    }
    m_reserveLabel = label(QString(), QStringLiteral("Yname"));
    m_reserveName = label(QString(), QStringLiteral("YRname"));
    m_reserveName->setMinimumWidth(px(1500));
    form->addWidget(m_reserveLabel, row, 0, Qt::AlignRight);
    form->addWidget(m_reserveField, row, 1, Qt::AlignLeft);
    form->addWidget(m_reserveName, row++, 2, 1, 2, Qt::AlignLeft);
    connect(m_reserveField, &QLineEdit::textEdited, this,
            [this] { showNameBeside(m_reserveField, m_reserveName, true); });
    m_errorLabel = label(QString(), QStringLiteral("ErrMsg"));
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setMinimumHeight(px(500));
    QPalette errPalette = m_errorLabel->palette();
    errPalette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_errorLabel->setPalette(errPalette);

    form->addWidget(m_errorLabel, row++, 0, 1, 4);
    form->setColumnStretch(3, 1);
    form->setRowStretch(row, 1);

    auto *startFrame = new QGroupBox(QStringLiteral("入力開始位置"), this);
    auto *startLayout = new QVBoxLayout(startFrame);
    m_inputStartGroup = new QButtonGroup(this);
    const QString optTexts[3] = {QStringLiteral("会員名から"), QStringLiteral("四股名から"),
                                 QStringLiteral("力士番号から")};
    for (int n = 0; n < 3; ++n) {
        m_inputStartOptions[n] = new QRadioButton(optTexts[n], startFrame);
        m_inputStartOptions[n]->setObjectName(QStringLiteral("Opt_%1").arg(n));
        m_inputStartGroup->addButton(m_inputStartOptions[n], n);
        startLayout->addWidget(m_inputStartOptions[n]);
        connect(m_inputStartOptions[n], &QRadioButton::clicked, this,
                [this, n] { selectInputStart(n); });
    }

    m_addButton = button(QStringLiteral("cmdAdd"), QStringLiteral("追加"));
    m_updateButton = button(QStringLiteral("cmdUpdate"), QStringLiteral("更新"));
    m_deleteButton = button(QStringLiteral("cmdDel"), QStringLiteral("削除"));
    m_firstButton = button(QStringLiteral("cmdPP"), QStringLiteral("<<"));
    m_previousButton = button(QStringLiteral("cmdP"), QStringLiteral("<"));
    m_nextButton = button(QStringLiteral("cmdN"), QStringLiteral(">"));
    m_lastButton = button(QStringLiteral("cmdNN"), QStringLiteral(">>"));
    m_chartButton = button(QStringLiteral("cmd"), QStringLiteral("力士参照"));
    m_closeButton = button(QStringLiteral("cmdEXIT"), QStringLiteral("終了"));
    auto *importFrame = new QGroupBox(QStringLiteral("先場所ﾃﾞｰﾀ取り込み"), this);
    auto *importLayout = new QVBoxLayout(importFrame);
    m_importWithRankingButton
        = button(QStringLiteral("cmdTorikomi"), QStringLiteral("先場所ﾗﾝｷﾝｸﾞ反映"));
    m_importWithoutRankingButton
        = button(QStringLiteral("cmdTorikomi2"), QStringLiteral("ﾗﾝｷﾝｸﾞ反映しない"));
    importLayout->addWidget(m_importWithRankingButton);
    importLayout->addWidget(m_importWithoutRankingButton);
    m_importCsvButton = button(QStringLiteral("cmdCsv"), QStringLiteral("申込CSV読込"));
    m_importCsvButton->setToolTip(
        QStringLiteral("Web フォームなどの申込を CSV から一括登録します"));
    m_chooseCsv = [this] {
        return QFileDialog::getOpenFileName(
            this, QStringLiteral("申込ファイルを開く"), QString(),
            QStringLiteral("申込 (*.csv *.txt);;すべてのファイル (*)"));
    };
    connect(m_importCsvButton, &QPushButton::clicked, this,
            [this] { guarded([this] { importCsv(); }); });

    connect(m_addButton, &QPushButton::clicked, this, [this] { guarded([this] { add(); }); });
    connect(m_updateButton, &QPushButton::clicked, this, [this] { guarded([this] { update(); }); });
    connect(m_deleteButton, &QPushButton::clicked, this, [this] { guarded([this] { remove(); }); });
    connect(m_firstButton, &QPushButton::clicked, this,
            [this] { navigate(&EntryFormState::first, true); });
    connect(m_previousButton, &QPushButton::clicked, this,
            [this] { navigate(&EntryFormState::previous, true); });
    connect(m_nextButton, &QPushButton::clicked, this,
            [this] { navigate(&EntryFormState::next, true); });
    connect(m_lastButton, &QPushButton::clicked, this, [this] {
        navigate(&EntryFormState::last, false);
        // On the page for a new entry typing starts where it does after 追加.
        if (m_state.onBlankPage())
            focusByInputStart();
    });
    connect(m_chartButton, &QPushButton::clicked, this,
            [this] { guarded([this] { openChart(); }); });
    connect(m_closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(m_importWithRankingButton, &QPushButton::clicked, this,
            [this] { guarded([this] { importPrevious(true); }); });
    connect(m_importWithoutRankingButton, &QPushButton::clicked, this,
            [this] { guarded([this] { importPrevious(false); }); });

    auto *actions = new QGridLayout;
    actions->addWidget(startFrame, 0, 0, 1, 4);
    actions->addWidget(m_addButton, 1, 0, 1, 4);
    actions->addWidget(m_updateButton, 2, 0, 1, 4);
    actions->addWidget(m_deleteButton, 3, 0, 1, 4);
    actions->addWidget(m_firstButton, 4, 0);
    actions->addWidget(m_previousButton, 4, 1);
    actions->addWidget(m_nextButton, 4, 2);
    actions->addWidget(m_lastButton, 4, 3);
    actions->addWidget(m_chartButton, 5, 0, 1, 4);
    actions->addWidget(importFrame, 6, 0, 1, 4);
    actions->addWidget(m_importCsvButton, 7, 0, 1, 4);
    actions->setRowStretch(8, 1);
    actions->addWidget(m_closeButton, 9, 0, 1, 4);
    for (QPushButton *b : {m_firstButton, m_previousButton, m_nextButton, m_lastButton})
        b->setFixedWidth(px(500));

    m_formPanel = new QWidget(this);
    auto *panel = new QGridLayout(m_formPanel);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->addLayout(form, 0, 0);
    panel->addLayout(actions, 0, 1);
    panel->setColumnStretch(0, 1);
    m_formPanel->setFixedWidth(px(7700) - 24);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Read-only: Tab goes on to the next control instead of the next cell.
    m_grid->setTabKeyNavigation(false);
    m_grid->setFocusPolicy(Qt::NoFocus);
    m_grid->verticalHeader()->setDefaultSectionSize(20);
    m_grid->verticalHeader()->hide();

    auto *top = new QHBoxLayout(this);
    top->setContentsMargins(12, 12, 12, 12);
    top->addWidget(m_formPanel);
    top->addWidget(m_grid);
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
    QWidget *previous = m_shikonaField;
    for (int i = 0; i < pickCount; ++i) {
        m_pickLabels[i]->setText(QString::number(rules.slotPoints[i]) + QStringLiteral("点力士:"));
        setTabOrder(previous, m_pickFields[i]);
        previous = m_pickFields[i];
    }
    if (rules.reserveInUse()) {
        m_reserveField->setEnabled(true);
        m_reserveField->setFocusPolicy(Qt::StrongFocus);
        setBackground(m_reserveField, kWhite);
        m_reserveLabel->setText(QStringLiteral("予備力士:"));
        setTabOrder(previous, m_reserveField);
        previous = m_reserveField;
    } else {
        m_reserveField->setEnabled(false);
        m_reserveField->setFocusPolicy(Qt::NoFocus);
        setBackground(m_reserveField, light3D());
        m_reserveLabel->clear();
    }
    for (QWidget *w :
         {static_cast<QWidget *>(m_furiganaField), static_cast<QWidget *>(m_memberNameField),
          static_cast<QWidget *>(m_birthDateField), static_cast<QWidget *>(m_mailField),
          static_cast<QWidget *>(m_phoneField), static_cast<QWidget *>(m_faxField)}) {
        setTabOrder(previous, w);
        previous = w;
    }
    // Unused pick boxes stay enabled but are never read.
    for (int i = pickCount; i < kMaxPicks; ++i) {
        m_pickFields[i]->setFocusPolicy(Qt::ClickFocus);
        setBackground(m_pickFields[i], light3D());
    }
}

void EntryWindow::layoutEntryGrid()
{
    const int pickCount = std::clamp<int>(m_contest.rules().pickCount, 0, kMaxPicks);
    const int columns = m_model->columnCount();
    for (int c = 0; c < columns; ++c)
        m_grid->setColumnHidden(c, true);
    // Whole names and headings, never narrower than the window's own layout.
    int gridWidth = 0;
    const auto show = [&](int c, int twips, int chars) {
        m_grid->setColumnHidden(c, false);
        const int w = columnWidthFor(m_grid, c, chars, px(twips));
        m_grid->setColumnWidth(c, w);
        gridWidth += w;
    };
    show(1, 1000, kRingNameBytes);
    for (int c = 19; c <= 18 + pickCount; ++c)
        show(c, 700, kWrestlerNameBytes);
    show(30, 400, 0);
    gridWidth
        += m_grid->frameWidth() * 2 + m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    m_grid->setFixedWidth(gridWidth);
    resize(gridWidth + px(7700), std::max(height(), 680));
}

void EntryWindow::refreshGrid()
{
    m_model->requery();
}

void EntryWindow::applyButtons()
{
    m_addButton->setEnabled(m_state.addEnabled());
    m_updateButton->setEnabled(m_state.updateEnabled());
    m_deleteButton->setEnabled(m_state.deleteEnabled());
    m_firstButton->setEnabled(m_state.firstEnabled());
    m_previousButton->setEnabled(m_state.previousEnabled());
    m_nextButton->setEnabled(m_state.nextEnabled());
    m_lastButton->setEnabled(m_state.lastEnabled());
    setWindowTitle(m_state.caption());
    m_idField->setText(QString::number(m_state.shownId()));
}

void EntryWindow::showPage()
{
    const Roster &roster = m_contest.roster();
    if (m_state.onBlankPage()) {
        // NewEntryPage
        for (int i = 0; i < kMaxPicks; ++i) {
            m_pickFields[i]->clear();
            m_pickNames[i]->clear();
        }
        for (QLineEdit *e : {m_reserveField, m_memberNameField, m_birthDateField, m_mailField,
                             m_phoneField, m_faxField, m_shikonaField, m_furiganaField})
            e->clear();
        m_reserveName->clear();
        if (m_model->rowCount() > 0)
            m_grid->selectRow(m_model->rowCount() - 1);
    } else {
        // ShowEntry
        const int k = m_state.currentIndex();
        const EntryRecord &e = m_contest.entries().at(k);
        const int pickCount = std::clamp<int>(m_contest.rules().pickCount, 0, kMaxPicks);
        const EntryForm f = EntryForm::fromRecord(e, pickCount);
        for (int i = 0; i < pickCount; ++i) {
            m_pickFields[i]->setText(f.picks[i]);
            m_pickNames[i]->setText(roster.name(e.picks[i]));
        }
        m_reserveField->setText(f.reserve);
        m_reserveName->setText(roster.name(e.reserveList[0]));
        m_memberNameField->setText(f.memberName);
        m_birthDateField->setText(f.birth);
        m_mailField->setText(f.mail);
        m_phoneField->setText(f.tel);
        m_faxField->setText(f.fax);
        m_shikonaField->setText(f.shikona);
        m_furiganaField->setText(f.furigana);
        m_grid->selectRow(k);
    }
    applyButtons();
}

EntryForm EntryWindow::readForm() const
{
    EntryForm f;
    f.memberName = m_memberNameField->text();
    f.birth = m_birthDateField->text();
    f.mail = m_mailField->text();
    f.tel = m_phoneField->text();
    f.fax = m_faxField->text();
    f.shikona = m_shikonaField->text();
    f.furigana = m_furiganaField->text();
    for (int i = 0; i < kMaxPicks; ++i)
        f.picks[i] = m_pickFields[i]->text();
    f.reserve = m_reserveField->text();
    return f;
}

void EntryWindow::showError(const ValidationResult &error)
{
    // Only the latest problem is marked.
    clearErrorDisplay();
    QApplication::beep();
    m_errorLabel->setText(error.message);
    QLineEdit *box = nullptr;
    switch (error.box) {
    case EntryBox::Shikona:
        box = m_shikonaField;
        break;
    case EntryBox::Pick:
        box = m_pickFields[std::clamp(error.pickIndex, 0, kMaxPicks - 1)];
        break;
    case EntryBox::Reserve:
        box = m_reserveField;
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
        setBackground(m_shikonaField, kWhite);
        setBackground(m_furiganaField, kWhite);
        setBackground(m_reserveField, m_contest.rules().reserveInUse() ? kWhite : light3D());
        for (int i = 0; i < pickCount; ++i)
            setBackground(m_pickFields[i], kWhite);
        m_errorShown = false;
    }
    m_errorLabel->clear();
}

void EntryWindow::focusByInputStart()
{
    switch (m_state.inputStart()) {
    case InputStart::MemberName:
        m_memberNameField->setFocus();
        break;
    case InputStart::Shikona:
        m_shikonaField->setFocus();
        break;
    case InputStart::Picks:
        m_pickFields[0]->setFocus();
        break;
    }
}

void EntryWindow::focusAfterLastBox()
{
    if (m_updateButton->isEnabled())
        m_updateButton->setFocus();
    if (m_addButton->isEnabled())
        m_addButton->setFocus();
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
    if (!result.ok()) {
        showError(result);
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
        m_shikonaField->setFocus();
}

void EntryWindow::importPrevious(bool byRanking)
{
    const ImportResult r
        = kc::importPrevious(m_contest, byRanking ? ImportSource::Ranking : ImportSource::Ids);
    if (r.outcome == ImportResult::Refused && !r.message.isEmpty())
        m_contest.prompter().tell({r.message, QString(), Icon::Information});
    if (r.outcome != ImportResult::Imported)
        return;
    m_importWithRankingButton->setEnabled(false);
    m_importWithoutRankingButton->setEnabled(false);
    refreshGrid();
    m_state.afterImport(m_contest.participantCount());
    showPage();
    clearErrorDisplay();
    m_inputStartOptions[2]->setChecked(true);
    m_state.setInputStart(InputStart::Picks);
    layoutEntryGrid();
    m_pickFields[0]->setFocus();
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
        {&EntryWindow::m_memberNameField, &EntryWindow::m_birthDateField},
        {&EntryWindow::m_birthDateField, &EntryWindow::m_mailField},
        {&EntryWindow::m_mailField, &EntryWindow::m_phoneField},
        {&EntryWindow::m_phoneField, &EntryWindow::m_faxField},
        {&EntryWindow::m_faxField, &EntryWindow::m_shikonaField},
        {&EntryWindow::m_shikonaField, &EntryWindow::m_furiganaField},
    };
    for (const auto &[from, to] : chain) {
        if (this->*from == box) {
            (this->*to)->setFocus();
            return;
        }
    }
    if (box == m_furiganaField) {
        m_pickFields[0]->setFocus();
        return;
    }
    for (int i = 0; i < kMaxPicks; ++i) {
        if (box == m_pickFields[i]) {
            onPickEnter(i);
            return;
        }
    }
    if (box == m_reserveField)
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
    const EnterCheck check = checkPickEnter(m_pickFields[i]->text(), rules, m_contest.roster());
    if (check.outcome != EnterOutcome::Accepted) {
        refuseNumber(m_pickFields[i], m_pickNames[i], check.reason);
        return;
    }
    onKeyTyped(m_pickFields[i]);
    m_pickNames[i]->setText(m_contest.roster().name(check.slot));
    if (i + 1 < rules.pickCount)
        m_pickFields[i + 1]->setFocus();
    else if (rules.reserveInUse())
        m_reserveField->setFocus();
    else
        focusAfterLastBox();
}

void EntryWindow::onReserveEnter()
{
    const EnterCheck check = checkReserveEnter(m_reserveField->text(), m_contest.roster());
    if (check.outcome == EnterOutcome::Ignored)
        return;
    if (check.outcome == EnterOutcome::Rejected) {
        refuseNumber(m_reserveField, m_reserveName, check.reason);
        return;
    }
    onKeyTyped(m_reserveField);
    m_reserveName->setText(m_contest.roster().name(check.slot));
    focusAfterLastBox();
}

void EntryWindow::onKeyTyped(QLineEdit *box)
{
    const bool watched = box == m_shikonaField || box == m_furiganaField || box == m_reserveField
        || std::find(m_pickFields.begin(), m_pickFields.end(), box) != m_pickFields.end();
    if (!watched)
        return;
    if (box == m_reserveField && val(box->text()) < 10)
        return;
    setBackground(box, kWhite);
    m_errorLabel->clear();
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
