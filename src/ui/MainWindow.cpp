#include "ui/MainWindow.h"
#include "store/EntryTable.h"
#include "ui/ActionRunner.h"

#include "online/UploadPassword.h"
#include "online/Uploader.h"
#include "publish/BanzukeReport.h"
#include "publish/CsvExport.h"
#include "publish/EntryListReport.h"
#include "publish/Publisher.h"
#include "publish/ResultListReport.h"
#include "publish/RulesText.h"
#include "scoring/CompetitionStart.h"
#include "store/Contest.h"
#include "store/Database.h"
#include "store/Phase.h"
#include "store/StoreError.h"
#include "store/Text.h"
#include "store/UnitOfWork.h"
#include "ui/BanzukeWindow.h"
#include "ui/ColumnWidths.h"
#include "ui/EntryTableModel.h"
#include "ui/EntryWindow.h"
#include "ui/HelpWindow.h"
#include "ui/HoshiWindow.h"
#include "ui/InfoWindow.h"
#include "ui/PrintRenderer.h"
#include "ui/PrizeWindow.h"
#include "ui/ProgressWindow.h"
#include "ui/PublishSettingsWindow.h"
#include "ui/RenameWindow.h"
#include "ui/RulesWindow.h"
#include "ui/SelectAllOnFocus.h"
#include "ui/TorikumiWindow.h"
#include "ui/UploadProgressWindow.h"
#include "ui/WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kc::ui {

namespace {
constexpr int kTwipsPerInch = 1440;
constexpr int kMinGridWidthTwips = 8800;
constexpr int kMinWindowHeightTwips = 8000;
// The controls below the grid, the menu bar and the frame take this much of
// the window's height.
constexpr int kBelowGridTwips = 2000;
} // namespace

MainWindow::MainWindow(Contest &contest, QWidget *parent)
    : QMainWindow(parent), m_contest(contest), m_model(new EntryTableModel(contest, this)),
      m_printer(std::make_unique<PrintRenderer>(this))
{
    setObjectName(QStringLiteral("Main"));
    setWindowTitle(QStringLiteral("Kachikoshi Cup"));
    // Printed files land in the contest folder, named by what and when.
    m_printer->setFileNamer([this](const QString &title) {
        const int day = m_contest.rules().currentDay;
        const QString when = day > 0 ? QStringLiteral("%1日目").arg(day) : QStringLiteral("開始前");
        QString name = title.isEmpty() ? QStringLiteral("印刷") : title;
        name.replace(u'/', u'_');
        return QDir(m_contest.paths().root).filePath(name + u'-' + when + QStringLiteral(".pdf"));
    });
    buildControls();
    buildMenus();

    if (QScreen *s = screen())
        move(s->availableGeometry().topLeft());
    refreshState();
    applyStartHeight();
    showDay(m_contest.rules().currentDay);
    m_sortTotalDesc = m_sortNakabiDesc = m_sortDayDesc = true;
    setSupportMenuVisible(false);
}

MainWindow::~MainWindow() = default;

// ---- building ----

void MainWindow::buildControls()
{
    auto *central = new QWidget(this);
    setCentralWidget(central);

    m_grid = new QTableView(central);
    m_grid->setObjectName(QStringLiteral("DataGrid1"));
    m_grid->setModel(m_model);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Read-only: Tab goes on to the next control instead of the next cell.
    m_grid->setTabKeyNavigation(false);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setAlternatingRowColors(true);
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setMinimumSectionSize(8);

    m_sortBox = new QGroupBox(QStringLiteral("並替"), central);
    m_sortBox->setObjectName(QStringLiteral("Frame1"));
    auto makeButton = [&](QWidget *owner, const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, owner);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_sortByIdButton = makeButton(m_sortBox, "cmdsortid", QStringLiteral("I D"));
    m_sortByDayButton = makeButton(m_sortBox, "cmdSortDay", QStringLiteral("日々計"));
    m_sortDayField = new QLineEdit(m_sortBox);
    m_sortDayField->setObjectName(QStringLiteral("txUpDown"));
    SelectAllOnFocus::install(m_sortDayField);
    m_sortDayField->setAlignment(Qt::AlignRight);
    m_sortDayField->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
    m_sortDaySpinner = new QSpinBox(m_sortBox);
    m_sortDaySpinner->setObjectName(QStringLiteral("UpDown1"));
    m_sortDaySpinner->setRange(0, kDays);
    m_sortDaySpinner->setToolTip(QStringLiteral("日々計で並べる日"));
    // Only the arrows show: the day itself is in txUpDown beside it.
    m_sortDaySpinner->setFixedWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 6);
    m_sortDaySpinner->setFixedHeight(m_sortDayField->sizeHint().height());
    m_sortByMidTotalButton = makeButton(m_sortBox, "cmdSortNakabi", QStringLiteral("中日計"));
    m_sortByTotalButton = makeButton(m_sortBox, "cmdSortTotal", QStringLiteral("総合計"));
    auto *sortRow = new QHBoxLayout(m_sortBox);
    sortRow->addWidget(m_sortByIdButton);
    sortRow->addSpacing(6);
    sortRow->addWidget(m_sortByDayButton);
    sortRow->addWidget(m_sortDayField);
    sortRow->addWidget(m_sortDaySpinner);
    sortRow->addSpacing(6);
    sortRow->addWidget(m_sortByMidTotalButton);
    sortRow->addWidget(m_sortByTotalButton);

    m_entryCountLabel = new QLabel(QStringLiteral("参加人数"), central);
    m_entryCountLabel->setObjectName(QStringLiteral("Label1"));
    m_entryCountField = new QLineEdit(central);
    m_entryCountField->setObjectName(QStringLiteral("txEntryMax"));
    m_entryCountField->setReadOnly(true);
    m_entryCountField->setAlignment(Qt::AlignRight);
    m_entryCountField->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    m_entryCountUnit = new QLabel(QStringLiteral("名"), central);
    m_entryCountUnit->setObjectName(QStringLiteral("Label2"));
    m_nextStepButton = makeButton(central, "cmdNow", QString());
    m_nextStepButton->setMinimumWidth(
        fontMetrics().horizontalAdvance(QStringLiteral("取組結果入力")) + 32);
    m_closeButton = makeButton(central, "cmdEND", QStringLiteral("終了"));

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_sortBox);
    bottom->addStretch(1);
    bottom->addWidget(m_entryCountLabel);
    bottom->addWidget(m_entryCountField);
    bottom->addWidget(m_entryCountUnit);
    bottom->addSpacing(16);
    bottom->addWidget(m_nextStepButton);
    bottom->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(m_nextStepButton, &QPushButton::clicked, this, &MainWindow::onNextStepClicked);
    connect(m_closeButton, &QPushButton::clicked, this, &MainWindow::onCloseClicked);
    connect(m_sortByIdButton, &QPushButton::clicked, this, &MainWindow::onSortByIdClicked);
    connect(m_sortByDayButton, &QPushButton::clicked, this, &MainWindow::onSortByDayClicked);
    connect(m_sortByMidTotalButton, &QPushButton::clicked, this,
            &MainWindow::onSortByMidTotalClicked);
    connect(m_sortByTotalButton, &QPushButton::clicked, this, &MainWindow::onSortByTotalClicked);
    connect(m_sortDaySpinner, &QSpinBox::valueChanged, this, &MainWindow::onSortDayStepped);
    connect(m_sortDayField, &QLineEdit::textEdited, this, &MainWindow::onSortDayEdited);
    // Enter in the day box goes on to the next control, as in every text box here.
    connect(m_sortDayField, &QLineEdit::returnPressed, this, [this] { focusNextChild(); });
}

QAction *MainWindow::addItem(QMenu *menu, const QString &name, const QString &caption,
                             void (MainWindow::*slot)())
{
    auto *a = menu->addAction(caption);
    a->setObjectName(name);
    connect(a, &QAction::triggered, this, slot);
    return a;
}

void MainWindow::buildMenus()
{
    auto makeMenu = [&](const char *name, const QString &title) {
        QMenu *m = menuBar()->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto s = [](const char *text) { return QString::fromUtf8(text); };

    QMenu *file = makeMenu("mmFile", s("ﾌｧｲﾙ"));
    addItem(file, s("mmInit"), s("初期化"), &MainWindow::onResetContestTriggered);
    file->addSeparator();
    addItem(file, s("mmCrear"), s("取組結果の変更"), &MainWindow::onRestartResultsTriggered);
    file->addSeparator();
    addItem(file, s("mmRename"), s("力士名の変更"), &MainWindow::onRenameWrestlersTriggered);
    addItem(file, s("KillRename"), s("力士名ﾌｧｲﾙの削除"), &MainWindow::onDeleteRenameListTriggered);
    file->addSeparator();
    addItem(file, s("mmEnd"), s("終了"), &MainWindow::onQuitTriggered);

    QMenu *start = makeMenu("OsumoKyokai", s("初期処理"));
    addItem(start, s("MenuMakeBan"), s("番付表作成"), &MainWindow::onMakeBanzukeTriggered);
    addItem(start, s("MenuRules"), s("ﾙｰﾙの設定"), &MainWindow::onRulesTriggered);
    start->addSeparator();
    addItem(start, s("mmBanzukePrint"), s("番付表の出力(印刷)"),
            &MainWindow::onPrintBanzukeTriggered);

    QMenu *reception = makeMenu("Kyoukai", s("受付処理"));
    addItem(reception, s("KyokaiEntry"), s("投票受付"), &MainWindow::onOpenReceptionTriggered);
    addItem(reception, s("MenuGameStart"), s("受付終了"), &MainWindow::onCloseReceptionTriggered);
    addItem(reception, s("mmShoui"), s("賞位の設定"), &MainWindow::onSetPrizeRanksTriggered);
    reception->addSeparator();
    addItem(reception, s("mmEntryPrint"), s("参加者投票ﾘｽﾄ出力(印刷)"),
            &MainWindow::onPrintEntryListTriggered);

    QMenu *daily = makeMenu("mms10", s("日次処理"));
    addItem(daily, s("TorikumiKekka"), s("取組結果入力"), &MainWindow::onEnterResultsTriggered);
    daily->addSeparator();
    addItem(daily, s("mmResultPrint"), s("集計結果出力・得点順(印刷)"),
            &MainWindow::onPrintResultsByScoreTriggered);
    addItem(daily, s("mmResultPrint2"), s("集計結果出力・受付順(印刷)"),
            &MainWindow::onPrintResultsByEntryTriggered);
    addItem(daily, s("mmHoshitori"), s("星取表"), &MainWindow::onStarChartTriggered);
    daily->addSeparator();
    addItem(daily, s("mmResult"), s("結果発表"), &MainWindow::onPublishResultsTriggered);

    QMenu *exports = makeMenu("mmCVS", s("ｴｸｽﾎﾟｰﾄ"));
    addItem(exports, s("EntryCSV"), s("申込結果一覧（CSV)"),
            &MainWindow::onExportEntriesCsvTriggered);
    addItem(exports, s("PrintCSV"), s("集計結果出力(CSV)"),
            &MainWindow::onExportResultsCsvTriggered);
    addItem(exports, s("mmPrizeCSV"), s("賞位発表(CSV)"), &MainWindow::onExportPrizesCsvTriggered);
    exports->addSeparator();
    addItem(exports, s("mmHtmlEntry"), s("参加者一覧出力（HTML)"),
            &MainWindow::onWriteEntryPagesTriggered);
    addItem(exports, s("Htm_Shuukei"), s("集計結果出力（HTML)"),
            &MainWindow::onWriteResultPagesTriggered);
    exports->addSeparator();
    addItem(exports, s("mmUpload"), s("アップロード"), &MainWindow::onUploadTriggered);
    addItem(exports, s("mmPublishSettings"), s("公開設定"),
            &MainWindow::onPublishSettingsTriggered);

    // A preview of each printed report, enabled exactly when its print item is.
    QMenu *previews = exports->addMenu(s("印刷ﾌﾟﾚﾋﾞｭｰ"));
    previews->setObjectName(s("mmPreview"));
    for (const char *name : {"mmBanzukePrint", "mmEntryPrint", "mmResultPrint", "mmResultPrint2"}) {
        QAction *print = item(name);
        QAction *preview = previews->addAction(print->text().replace(s("(印刷)"), QString()));
        preview->setObjectName(print->objectName() + s("Preview"));
        preview->setEnabled(print->isEnabled());
        connect(print, &QAction::enabledChanged, preview, &QAction::setEnabled);
        connect(preview, &QAction::triggered, this, [this, name] {
            guarded([&] {
                if (const auto document = report(name))
                    m_printer->preview(*document);
            });
        });
    }

    QMenu *help = makeMenu("mmmHelp", s("ﾍﾙﾌﾟ"));
    addItem(help, s("mmInfomation"), s("インフォメーション"), &MainWindow::onShowInfoTriggered);
    addItem(help, s("HelpMenu"), s("ヘルプの表示"), &MainWindow::onShowHelpTriggered);
    addItem(help, s("RulesMake"), s("ルールの表示"), &MainWindow::onShowRulesTriggered);

    m_supportMenu = makeMenu("mmSupport", s("サポート"));
    addItem(m_supportMenu, s("msChange"), s("データ変換"),
            &MainWindow::onConvertEntryFileTriggered);
    addItem(m_supportMenu, s("mmFlag"), s("ﾌﾗｸﾞの状況"), &MainWindow::onShowPhaseFlagTriggered);
    addItem(m_supportMenu, s("mmRules0"), s("RulesStartを0にする"),
            &MainWindow::onResetRulesStartTriggered);
    addItem(m_supportMenu, s("mmPrintend"), s("ﾌﾟﾘﾝﾀｰend.doc"),
            &MainWindow::onEndPrintDocumentTriggered);
    addItem(m_supportMenu, s("mmtest"), s("テスト"), &MainWindow::onWriteTestPageTriggered);
    addItem(m_supportMenu, s("mmReRules"), s("ﾙｰﾙを変更する"), &MainWindow::onChangeRulesTriggered);
    addItem(m_supportMenu, s("mmRikishiName"), s("力士名を変更する"),
            &MainWindow::onSupportRenameTriggered);
    addItem(m_supportMenu, s("mmNameRecover"), s("力士名を初期力士名に変更する"),
            &MainWindow::onRestoreOriginalNamesTriggered);

    // The maintenance menu stays out of sight in normal use.
    auto *toggle = new QAction(this);
    toggle->setObjectName(QStringLiteral("actToggleSupport"));
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M));
    toggle->setShortcutContext(Qt::WindowShortcut);
    connect(toggle, &QAction::triggered, this, &MainWindow::toggleSupportMenu);
    addAction(toggle);
}

QAction *MainWindow::item(const char *name) const
{
    return findChild<QAction *>(QString::fromLatin1(name));
}

template<typename F> void MainWindow::guarded(F &&action)
{
    runAction(
        m_contest, std::forward<F>(action),
        [this] {
            if (m_contest.isOpen())
                refreshState();
        },
        QStringLiteral("Kachikoshi Cup"));
}

// ---- state ----

int MainWindow::entryCount() const
{
    return m_contest.isOpen() ? m_contest.database().rowCount(entrytable::name) : 0;
}

void MainWindow::showEntryCount()
{
    m_entryCountField->setText(QString::number(entryCount()));
}

void MainWindow::showDay(int day)
{
    m_sortDayField->setText(QString::number(day));
    const QSignalBlocker block(m_sortDaySpinner);
    m_sortDaySpinner->setValue(std::clamp(day, 0, kDays));
}

void MainWindow::refreshState()
{
    guarded([&] {
        m_model->setSort(entrytable::byRank);
        m_model->refresh();
        applyGridColumns();
        applyWindowWidth();
        showEntryCount();
        applyPhaseMenuState();
        // An open chart follows the confirmed days.
        if (auto *chart = findChild<HoshiWindow *>(QStringLiteral("frmHoshi")))
            chart->refresh();
    });
}

void MainWindow::applyPhaseMenuState()
{
    // Each item follows the action it offers.
    static const std::pair<const char *, Action> kItems[] {
        {"KillRename", Action::DeleteRenameList},  {"mmCrear", Action::RestartCompetition},
        {"MenuMakeBan", Action::RegisterBanzuke},  {"TorikumiKekka", Action::OfferResultInput},
        {"MenuRules", Action::OpenRules},          {"KyokaiEntry", Action::TakeEntries},
        {"MenuGameStart", Action::CloseReception}, {"EntryCSV", Action::ExportEntries},
        {"PrintCSV", Action::ExportResults},       {"mmPrizeCSV", Action::ExportResults},
        {"Htm_Shuukei", Action::ExportResults},    {"mmEntryPrint", Action::PrintEntries},
        {"mmResult", Action::AnnounceResults},     {"mmResultPrint", Action::PrintResults},
        {"mmResultPrint2", Action::PrintResults},  {"mmHoshitori", Action::PrintResults},
        {"mmBanzukePrint", Action::PrintBanzuke},  {"mmShoui", Action::SetPrizes},
        {"RulesMake", Action::ShowRulesText},
    };
    const Phase phase = Phase::of(m_contest.rules());
    const int entries = entryCount();
    for (const auto &[name, action] : kItems)
        item(name)->setEnabled(phase.allows(action, entries));

    // The rules item keeps its last caption while entries are taken.
    switch (phase.nextStep()) {
    case NextStep::Rules:
        item("MenuRules")->setText(QStringLiteral("ﾙｰﾙの設定"));
        m_nextStepButton->setText(QStringLiteral("ルール設定"));
        break;
    case NextStep::Entries:
        m_nextStepButton->setText(QStringLiteral("投票受付"));
        break;
    case NextStep::Prizes:
        m_nextStepButton->setText(QStringLiteral("賞位設定"));
        break;
    case NextStep::Results:
        item("MenuRules")->setText(QStringLiteral("ﾙｰﾙ/賞位"));
        m_nextStepButton->setText(QStringLiteral("取組結果入力"));
        break;
    }
}

void MainWindow::setSupportMenuVisible(bool visible)
{
    m_supportMenu->menuAction()->setVisible(visible);
}

void MainWindow::toggleSupportMenu()
{
    setSupportMenuVisible(!m_supportMenu->menuAction()->isVisible());
}

// ---- sizes ----

int MainWindow::twipsToPixels(int twips, qreal dpi)
{
    return int(std::lround(twips * dpi / kTwipsPerInch));
}

int MainWindow::pixelsToTwips(int pixels, qreal dpi)
{
    return dpi > 0 ? int(std::lround(pixels * kTwipsPerInch / dpi)) : 0;
}

int MainWindow::gridWidthTwips(const GridLayout &layout, int workWidthTwips, int leftTwips)
{
    int w = layout.runningWidthTwips + 600 + (layout.useReserve ? 800 : 0) + 520;
    w = std::min(w, workWidthTwips - leftTwips - 400);
    return std::max(w, kMinGridWidthTwips);
}

int MainWindow::startHeightTwips(int workHeightTwips, int topTwips)
{
    return std::max(workHeightTwips - topTwips, kMinWindowHeightTwips);
}

qreal MainWindow::dpiX() const
{
    const QScreen *s = screen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

qreal MainWindow::dpiY() const
{
    const QScreen *s = screen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

void MainWindow::applyGridColumns()
{
    const GridLayout &g = m_model->layout();
    // Number columns always show three digits whole, whatever the font size.
    const int digits = m_grid->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 10;
    for (int c = 0; c < int(g.columns.size()); ++c) {
        m_grid->setColumnHidden(c, !g.columns[c].visible);
        if (!g.columns[c].visible)
            continue;
        const QString name = Database::entryColumns().value(c);
        int width = twipsToPixels(g.columns[c].widthTwips, dpiX());
        const bool text = Database::isTextColumn(entrytable::name, name);
        if (!text)
            width = std::max(width, digits);
        // Names and headings whole, in the fonts this screen has.
        const bool person
            = name == entrytable::column::shikona || name == entrytable::column::furigana;
        width = columnWidthFor(m_grid, c, text ? (person ? kRingNameBytes : kWrestlerNameBytes) : 0,
                               width);
        m_grid->setColumnWidth(c, width);
    }
}

void MainWindow::applyWindowWidth()
{
    const QScreen *s = screen();
    if (!s || isMaximized() || isFullScreen())
        return;
    const QRect work = s->availableGeometry();
    const int left = pixelsToTwips(frameGeometry().left() - work.left(), dpiX());
    // Columns widened to show whole names widen the window by as much.
    GridLayout g = m_model->layout();
    int widened = 0;
    for (int c = 0; c < int(g.columns.size()); ++c)
        if (g.columns[c].visible)
            widened += m_grid->columnWidth(c) - twipsToPixels(g.columns[c].widthTwips, dpiX());
    g.runningWidthTwips += pixelsToTwips(std::max(widened, 0), dpiX());
    const int grid = gridWidthTwips(g, pixelsToTwips(work.width(), dpiX()), left);
    // The outer width is the grid's plus 400 twips; Qt sizes the inside.
    const int frame = frameGeometry().width() - geometry().width();
    m_adjusting = true;
    resize(twipsToPixels(grid + 400, dpiX()) - frame, height());
    m_adjusting = false;
}

void MainWindow::applyStartHeight()
{
    const QScreen *s = screen();
    if (!s || isMaximized() || isFullScreen())
        return;
    const QRect work = s->availableGeometry();
    const int top = pixelsToTwips(frameGeometry().top() - work.top(), dpiY());
    const int h = startHeightTwips(pixelsToTwips(work.height(), dpiY()), top);
    int frame = frameGeometry().height() - geometry().height();
    if (frame <= 0 && !isVisible())
        frame = style()->pixelMetric(QStyle::PM_TitleBarHeight) + 8;
    m_adjusting = true;
    resize(width(), twipsToPixels(h, dpiY()) - frame);
    m_adjusting = false;
}

void MainWindow::applyResizeRule()
{
    m_resizePending = false;
    if (isMinimized() || isMaximized() || isFullScreen() || !m_contest.isOpen())
        return;
    applyGridColumns();
    applyWindowWidth();
    const QScreen *s = screen();
    if (!s)
        return;
    const QRect work = s->availableGeometry();
    const int top = frameGeometry().top() - work.top();
    if (work.height() / 2 > top) {
        const int frame = frameGeometry().height() - geometry().height();
        m_adjusting = true;
        resize(width(), work.height() - top - frame);
        m_adjusting = false;
    }
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Only now does the window manager's frame have a size.
    if (!m_shownOnce) {
        m_shownOnce = true;
        QTimer::singleShot(0, this, [this] {
            applyWindowWidth();
            applyStartHeight();
        });
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    // Adjusting inside the event would fight the window manager; do it next.
    if (!m_adjusting && !m_resizePending && isVisible()) {
        m_resizePending = true;
        QTimer::singleShot(0, this, &MainWindow::applyResizeRule);
    }
}

// ---- buttons ----

void MainWindow::onNextStepClicked()
{
    const Phase phase = Phase::of(m_contest.rules());
    switch (phase.nextStep()) {
    case NextStep::Rules:
        onRulesTriggered();
        refreshState();
        if (Phase::of(m_contest.rules()).nextStep() == NextStep::Entries)
            writeRulesPage();
        break;
    case NextStep::Entries:
        onOpenReceptionTriggered();
        refreshState();
        break;
    case NextStep::Prizes:
        onSetPrizeRanksTriggered();
        refreshState();
        break;
    case NextStep::Results:
        // Between the named phases the button does nothing.
        if (phase.allows(Action::EnterResults)) {
            onEnterResultsTriggered();
            refreshState();
        }
        break;
    }
}

void MainWindow::closeContest(bool saveRules)
{
    guarded([&] {
        m_contest.close(saveRules);
        m_model->refresh();
        close();
    });
}

void MainWindow::onCloseClicked()
{
    closeContest(true);
}

void MainWindow::onQuitTriggered()
{
    closeContest(false);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_contest.isOpen()) {
        try {
            m_contest.close(false);
        } catch (const StoreError &e) {
            m_contest.prompter().tell(
                {e.message(), QStringLiteral("Kachikoshi Cup"), Icon::Critical});
        }
        m_model->refresh();
    }
    if (m_help)
        m_help->close();
    QMainWindow::closeEvent(event);
}

void MainWindow::onSortByIdClicked()
{
    guarded([&] { m_model->setSort(entrytable::byId); });
}

void MainWindow::onSortByTotalClicked()
{
    guarded([&] {
        m_model->setSort(entrytable::order(entrytable::column::rank, m_sortTotalDesc));
        m_sortTotalDesc = !m_sortTotalDesc;
    });
}

void MainWindow::onSortByMidTotalClicked()
{
    guarded([&] {
        m_model->setSort(entrytable::order(entrytable::column::midTotal, m_sortNakabiDesc));
        m_sortNakabiDesc = !m_sortNakabiDesc;
    });
}

void MainWindow::onSortByDayClicked()
{
    const auto day = cint(val(m_sortDayField->text()));
    if (!day || *day < 1 || *day > kDays)
        return;
    guarded([&] {
        m_model->setSort(entrytable::order(entrytable::column::day(*day), m_sortDayDesc));
        m_sortDayDesc = !m_sortDayDesc;
    });
}

void MainWindow::onSortDayStepped(int value)
{
    m_sortDayField->setText(QString::number(value));
    // The first sort after choosing a day is descending.
    m_sortDayDesc = true;
}

void MainWindow::onSortDayEdited(const QString &text)
{
    // Keep the spinner where the typed day is, so the arrows go on from there.
    const auto day = cint(val(text));
    if (day && *day >= 0 && *day <= kDays) {
        const QSignalBlocker block(m_sortDaySpinner);
        m_sortDaySpinner->setValue(*day);
    }
}

// ---- menu items ----

void MainWindow::onResetContestTriggered()
{
    guarded([&] {
        if (!m_contest.reset())
            return;
        refreshState();
        showDay(0);
        m_entryCountField->clear();
        applyPhaseMenuState();
        item("mmCrear")->setEnabled(false);
    });
}

void MainWindow::onDeleteRenameListTriggered()
{
    RenameWindow::killRenameList(m_contest);
}

void MainWindow::onShowInfoTriggered()
{
    const Paths &p = m_contest.paths();
    const QString text = QStringLiteral("ｲﾝｽﾄｰﾙ先：　")
        + QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + u'\n'
        + QStringLiteral("ｺﾝﾃｽﾄのﾌｫﾙﾀﾞ：　") + shownFolder(p.root) + u'\n'
        + QStringLiteral("HTMLﾌｧｲﾙ出力先：　") + shownFolder(p.html) + u'\n'
        + QStringLiteral("csvﾌｧｲﾙ出力先：　") + shownFolder(p.data);
    m_contest.prompter().tell({text, QStringLiteral("Kachikoshi Cup"), Icon::None});
}

void MainWindow::onShowHelpTriggered()
{
    const QString file = m_contest.paths().help;
    guarded([&] { HelpWindow::ensureHelpFile(m_contest.files(), file); });
    const bool opening = !m_help;
    if (opening)
        m_help = new HelpWindow(this);
    // A folder that cannot take the file still gets the built-in help.
    m_help->showTopic(QFileInfo::exists(file) ? file : QStringLiteral(":/help/Kachiho.hlp"), 1);
    m_help->show();
    if (opening)
        placeBeside(m_help, this, menuAndTitleHeight());
    m_help->raise();
    m_help->activateWindow();
}

void MainWindow::tellPagesWritten(const QString &page, bool several)
{
    const QString path = QDir(m_contest.paths().html).filePath(page);
    QString text = QStringLiteral("%1 に書き出しました。").arg(QDir::toNativeSeparators(path));
    if (several)
        text += QStringLiteral("\nほかのページも同じフォルダにあります。");
    m_contest.prompter().tellFile({text, QStringLiteral("Kachikoshi Cup"), Icon::Information},
                                  path);
}

int MainWindow::menuAndTitleHeight() const
{
    return geometry().top() - frameGeometry().top() + menuBar()->height();
}

void MainWindow::onConvertEntryFileTriggered()
{
    guarded([&] {
        const int count = entryCount();
        const qint64 length = m_contest.files().size(m_contest.paths().entry);
        // Converting a file that is already in the new layout would scramble every entry.
        if (!isLegacyEntryLength(length, count)) {
            m_contest.prompter().tell(
                {QStringLiteral("Entry.Dat は旧形式（1件 342 バイト）のファイルではないため、"
                                "変換しません。（参加者 %1 名、ファイルの長さ %2 バイト）")
                     .arg(count)
                     .arg(std::max<qint64>(length, 0)),
                 QStringLiteral("Kachikoshi Cup"), Icon::Information});
            return;
        }
        UnitOfWork work(m_contest);
        m_contest.convertLegacyEntries();
        work.commit();
        refreshState();
    });
}

void MainWindow::onShowPhaseFlagTriggered()
{
    m_contest.prompter().tell(
        {QStringLiteral("Rules.Flag = ") + QString::number(m_contest.rules().flag),
         QStringLiteral("Kachikoshi Cup"), Icon::None});
}

void MainWindow::onResetRulesStartTriggered()
{
    // In memory only: the next save of the rules writes it.
    Phase::reset(m_contest.rules());
}

// Windows and commands built elsewhere; each is wired here when it lands.
void MainWindow::onRestartResultsTriggered()
{
    guarded([&] {
        if (restartCompetition(m_contest) == PhaseOutcome::Done)
            showDay(0);
    });
    refreshState();
}
void MainWindow::onRenameWrestlersTriggered()
{
    RenameWindow::run(m_contest, this);
    refreshState();
}
void MainWindow::onMakeBanzukeTriggered()
{
    BanzukeWindow::run(m_contest, this);
    refreshState();
}
void MainWindow::onRulesTriggered()
{
    guarded([&] {
        RulesWindow window(m_contest, RulesWindow::Opening::Normal, this);
        window.exec();
    });
    refreshState();
}
std::optional<PrintDocument> MainWindow::report(const char *item)
{
    const QString name = QString::fromLatin1(item);
    if (name == u"mmBanzukePrint") {
        const QString refusal = banzukereport::refusal(m_contest.rules());
        if (!refusal.isEmpty()) {
            m_contest.prompter().tell({refusal, QStringLiteral("Kachikoshi Cup"), Icon::Warning});
            return std::nullopt;
        }
        return buildBanzukeReport(m_contest);
    }
    if (name == u"mmEntryPrint")
        return buildEntryList(m_contest);
    return buildResultList(m_contest,
                           name == u"mmResultPrint" ? ResultOrder::Rank : ResultOrder::Id);
}

void MainWindow::printReport(const char *item)
{
    guarded([&] {
        if (const auto document = report(item))
            m_printer->print(*document);
    });
}

void MainWindow::onPrintBanzukeTriggered()
{
    printReport("mmBanzukePrint");
}
void MainWindow::onOpenReceptionTriggered()
{
    if (!Phase::of(m_contest.rules()).allows(Action::OpenEntryWindow))
        return;
    guarded([&] {
        // Modeless: the entry window disables this one while it is open.
        auto *window = new EntryWindow(m_contest, this);
        window->setClosedCallback([this] { refreshState(); });
        window->setChartCallback([this](QWidget *owner) -> QWidget * {
            return TorikumiWindow::openChart(m_contest, owner);
        });
        window->show();
        refreshState();
    });
}
void MainWindow::onCloseReceptionTriggered()
{
    bool closed = false;
    guarded([&] {
        closed
            = closeReception(m_contest, publisher::publishOnReceptionClosed) == PhaseOutcome::Done;
    });
    refreshState();
    // Without participants only the rules page is written.
    if (closed)
        tellPagesWritten(m_contest.participantCount() > 0 ? QStringLiteral("Entry.html")
                                                          : QStringLiteral("Rules.html"),
                         m_contest.participantCount() > 0);
}
void MainWindow::onSetPrizeRanksTriggered()
{
    onRulesTriggered();
}
void MainWindow::onPrintEntryListTriggered()
{
    printReport("mmEntryPrint");
}
void MainWindow::onEnterResultsTriggered()
{
    const Phase phase = Phase::of(m_contest.rules());
    if (!phase.allows(Action::EnterResults)) {
        // Offered from 受付終了 on, it opens only after 賞位決定: say what comes first.
        const QString first = phase.receptionClosed()
            ? QStringLiteral(
                "先に 受付処理 → 賞位の設定 で賞位を確かめ、賞位決定 を押してください。")
            : QStringLiteral(
                "先に 受付処理 → 受付終了 で受付を終え、賞位の設定 → 賞位決定 を行ってください。");
        m_contest.prompter().tell(
            {phase.refusal(Action::EnterResults) + u'\n' + first, QString(), Icon::Information});
        return;
    }
    const int before = m_contest.rules().currentDay;
    guarded([&] {
        TorikumiWindow window(m_contest, TorikumiWindow::Mode::Input, this);
        connect(&window, &TorikumiWindow::unloaded, this, [this](int day) { showDay(day); });
        window.exec();
    });
    refreshState();
    // After a confirmed day a stray Enter must not open the next one: the grid ignores it.
    if (m_contest.isOpen() && m_contest.rules().currentDay != before)
        m_grid->setFocus(Qt::OtherFocusReason);
}
void MainWindow::onPrintResultsByScoreTriggered()
{
    printReport("mmResultPrint");
}
void MainWindow::onPrintResultsByEntryTriggered()
{
    printReport("mmResultPrint2");
}
void MainWindow::onStarChartTriggered()
{
    guarded([&] {
        const bool opening = !findChild<HoshiWindow *>(QStringLiteral("frmHoshi"));
        HoshiWindow *chart = HoshiWindow::open(m_contest, *m_printer, this);
        if (opening)
            placeBeside(chart, this, menuAndTitleHeight());
    });
}
void MainWindow::onPublishResultsTriggered()
{
    guarded([&] {
        PrizeWindow window(m_contest, *m_printer, this);
        window.exec();
    });
}
// The three exports write their file whole and say where it went.
static void exportAndTell(Contest &contest, CsvExport which, const QString &order)
{
    const QString path = exportCsv(contest, which, order);
    contest.prompter().inform(
        QStringLiteral("%1 に出力しました。").arg(QDir::toNativeSeparators(path)));
}
void MainWindow::onExportEntriesCsvTriggered()
{
    guarded([&] { exportAndTell(m_contest, CsvExport::Entries, QString()); });
}
void MainWindow::onExportResultsCsvTriggered()
{
    guarded([&] { exportAndTell(m_contest, CsvExport::Results, m_model->sort()); });
}
void MainWindow::onExportPrizesCsvTriggered()
{
    guarded([&] { exportAndTell(m_contest, CsvExport::Prizes, QString()); });
}
void MainWindow::onWriteEntryPagesTriggered()
{
    if (m_contest.participantCount() == 0)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool written = false;
    guarded([&] {
        ProgressWindow progress(this);
        written = publisher::publishEntries(m_contest, &progress);
    });
    QApplication::restoreOverrideCursor();
    if (written)
        tellPagesWritten(QStringLiteral("Entry.html"), false);
}
void MainWindow::onWriteResultPagesTriggered()
{
    if (!Phase::of(m_contest.rules()).allows(Action::ExportResults))
        return;
    // The main window steps aside while the pages are built, and comes back
    // however the build ends.
    hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    bool published = false;
    guarded([&] {
        ProgressWindow progress;
        publisher::publishAll(m_contest, &progress);
        published = true;
    });
    QApplication::restoreOverrideCursor();
    show();
    if (published)
        tellPagesWritten(QStringLiteral("Result.html"), true);
    bool thenUpload = false;
    guarded([&] { thenUpload = loadUploadSettings(m_contest).uploadAfterPublish; });
    if (published && thenUpload)
        onUploadTriggered();
}

void MainWindow::onPublishSettingsTriggered()
{
    PublishSettingsWindow window(m_contest, m_uploadPasswords, this);
    window.exec();
}

void MainWindow::onUploadTriggered()
{
    std::optional<UploadTarget> target;
    guarded([&] { target = loadUploadSettings(m_contest).target; });
    if (!target) {
        m_contest.prompter().tell({QStringLiteral("アップロード先が設定されていません。"
                                                  "公開設定で設定してください。"),
                                   QStringLiteral("アップロード"), Icon::Information});
        onPublishSettingsTriggered();
        return;
    }
    const QString address = target->address();
    bool typed = false;
    PasswordSource password = [&]() -> std::optional<QString> {
        if (m_uploadPasswords.contains(address))
            return m_uploadPasswords.value(address);
        if (auto p = uploadPassword::fromKeyring(address))
            return p;
        bool ok = false;
        const QString text = QInputDialog::getText(
            this, QStringLiteral("アップロード"),
            QStringLiteral("%1 のパスワード（ユーザー %2）:").arg(target->host, target->user),
            QLineEdit::Password, QString(), &ok);
        if (!ok || text.isEmpty())
            return std::nullopt;
        typed = true;
        m_uploadPasswords[address] = text;
        return text;
    };
    guarded([&] {
        UploadProgressWindow progress(target->place(), this);
        if (target->sendsPasswordInClear())
            progress.setToolTip(PlainFtpWarning);
        const UploadOutcome outcome = uploadPages(m_contest, *target, false, password, &progress);
        progress.hide();
        // A password that did not work is asked again next time.
        if (!outcome.ok() && typed)
            m_uploadPasswords.remove(address);
        QString text = outcome.summary(*target);
        if (target->sendsPasswordInClear())
            text += u'\n' + PlainFtpWarning;
        m_contest.prompter().tell({text, QStringLiteral("アップロード"),
                                   outcome.ok() ? Icon::Information : Icon::Warning});
    });
}
void MainWindow::onShowRulesTriggered()
{
    InfoWindow::showMessage(explainRules(m_contest.rules()).plain, this);
    writeRulesPage();
}
void MainWindow::onEndPrintDocumentTriggered()
{
    m_printer->endDocument();
}
void MainWindow::onWriteTestPageTriggered()
{
    guarded([&] {
        publisher::publishTestPage(m_contest);
        tellPagesWritten(QStringLiteral("test.html"), false);
    });
}
void MainWindow::onChangeRulesTriggered()
{
    RulesWindow *window = RulesWindow::openForRuleChange(m_contest, this);
    if (window)
        connect(window, &QDialog::finished, this, [this] { refreshState(); });
}
void MainWindow::onSupportRenameTriggered()
{
    onRenameWrestlersTriggered();
}
void MainWindow::onRestoreOriginalNamesTriggered()
{
    RenameWindow::recoverNames(m_contest);
    refreshState();
}
void MainWindow::writeRulesPage()
{
    guarded([&] { publisher::publishRules(m_contest); });
}

} // namespace kc::ui
