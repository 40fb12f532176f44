#pragma once

#include "publish/PrintDocument.h"

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <memory>
#include <optional>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTableView;

namespace kc {
class Contest;
}

namespace kc::ui {

class EntryTableModel;
class HelpWindow;
class PrintRenderer;
struct GridLayout;

// Main: the standings grid, the sort buttons, the entry count and the menus
// that lead through the contest. Menus and the next-step button follow the
// contest phase (Flag); the window itself never changes the phase except
// through the contest reset.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Contest &contest, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Re-applies the phase menu state, lays out the grid afresh (sorted by
    // rank) and shows the entry count. Windows call it after they close.
    void refreshState();
    void applyPhaseMenuState();
    void setSupportMenuVisible(bool visible);

    EntryTableModel *entryModel() const { return m_model; }
    PrintRenderer &printer() const { return *m_printer; }

    // Size rules in twips (1/1440 inch).
    // Grid width from the layout's running width, capped to the free work area
    // right of the window but never below 8800; the window is 400 wider.
    static int gridWidthTwips(const GridLayout &layout, int workWidthTwips, int leftTwips);
    // Start-up height: the work area below the window's top, at least 8000.
    static int startHeightTwips(int workHeightTwips, int topTwips);
    static int twipsToPixels(int twips, qreal dpi);
    static int pixelsToTwips(int pixels, qreal dpi);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    // Buttons.
    void onCmdNow();
    void onCmdEnd();
    void onCmdSortId();
    void onCmdSortDay();
    void onCmdSortNakabi();
    void onCmdSortTotal();
    void onUpDownChanged(int value);
    void onTxUpDownEdited(const QString &text);

    // Menu items that work here.
    void onMmInit();
    void onKillRename();
    void onMmEnd();
    void onMmInfomation();
    void onHelpMenu();
    void onMsChange();
    void onMmFlag();
    void onMmRules0();
    void toggleSupportMenu();

    // Menu items whose windows and commands are built elsewhere.
    void onMmCrear();
    void onMmRename();
    void onMenuMakeBan();
    void onMenuRules();
    // The printed report of a print item, or nothing after telling its refusal.
    std::optional<PrintDocument> report(const char *item);
    void printReport(const char *item);
    void onMmBanzukePrint();
    void onKyokaiEntry();
    void onMenuGameStart();
    void onMmShoui();
    void onMmEntryPrint();
    void onTorikumiKekka();
    void onMmResultPrint();
    void onMmResultPrint2();
    void onMmHoshitori();
    void onMmResult();
    void onEntryCsv();
    void onPrintCsv();
    void onMmPrizeCsv();
    void onMmHtmlEntry();
    void onHtmShuukei();
    void onMmUpload();
    void onMmPublishSettings();
    void onRulesMake();
    void onMmPrintend();
    void onMmTest();
    void onMmReRules();
    void onMmRikishiName();
    void onMmNameRecover();
    void writeRulesPage();

private:
    void buildControls();
    void buildMenus();
    QAction *addItem(QMenu *menu, const QString &name, const QString &caption,
                     void (MainWindow::*slot)());
    QAction *item(const char *name) const;
    template<typename F> void guarded(F &&action);

    int entryCount() const;
    void showEntryCount();
    void showDay(int day);
    // Column visibility, captions and widths; the window width follows.
    void applyGridColumns();
    void applyWindowWidth();
    void applyStartHeight();
    void applyResizeRule();
    void closeContest(bool saveRules);
    // Where the pages went, with the page to open in the browser.
    void tellPagesWritten(const QString &page, bool several);
    // What a window opened beside this one must leave free at its top.
    int menuAndTitleHeight() const;
    qreal dpiX() const;
    qreal dpiY() const;

    Contest &m_contest;
    EntryTableModel *m_model;

    QTableView *m_dataGrid1 = nullptr;
    QLineEdit *m_txEntryMax = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_label2 = nullptr;
    QPushButton *m_cmdNow = nullptr;
    QPushButton *m_cmdEND = nullptr;
    QGroupBox *m_frame1 = nullptr;
    QPushButton *m_cmdsortid = nullptr;
    QPushButton *m_cmdSortDay = nullptr;
    QLineEdit *m_txUpDown = nullptr;
    QSpinBox *m_upDown1 = nullptr;
    QPushButton *m_cmdSortNakabi = nullptr;
    QPushButton *m_cmdSortTotal = nullptr;
    QMenu *m_mmSupport = nullptr;
    QPointer<HelpWindow> m_help;
    // One printer for the print commands, so ﾌﾟﾘﾝﾀｰend.doc can end what they left open.
    std::unique_ptr<PrintRenderer> m_printer;
    // Upload passwords typed this session (no keyring), never written to disk.
    QMap<QString, QString> m_uploadPasswords;

    // Sort directions: true sorts descending next.
    bool m_sortTotalDesc = true;
    bool m_sortNakabiDesc = true;
    bool m_sortDayDesc = true;

    bool m_adjusting = false;
    bool m_resizePending = false;
    bool m_shownOnce = false;
};

} // namespace kc::ui
