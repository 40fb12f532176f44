#pragma once

#include "entries/EntryValidation.h"
#include "ui/EntryFormState.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace kc {
class Contest;
class RecordSet;
} // namespace kc

namespace kc::ui {

class EntryGridModel;
class MessageBoxPrompter;

// frmEntry2, the entry window: member data, ring name, picks and reserve of
// one participant per page, the entry list beside them, and the import of
// the previous tournament's participants. Opened without blocking; the main
// window is disabled while it is open. Indexed controls are named
// txRikishiNO_0 .. txRikishiNO_9, Rname_0.., RikishiName_0.., Opt_0 .. Opt_2.
class EntryWindow : public QWidget
{
    Q_OBJECT
public:
    // Disables mainWindow until this window closes. Deletes itself on close.
    EntryWindow(Contest &contest, QWidget *mainWindow);
    ~EntryWindow() override;

    // Called once the window has closed and saved (the main window refreshes).
    void setClosedCallback(std::function<void()> callback) { m_onClosed = std::move(callback); }
    // 力士参照: opens the numbered banzuke chart, owned by this window; the
    // returned window is closed together with this one.
    void setChartCallback(std::function<QWidget *(QWidget *owner)> callback)
    {
        m_openChart = std::move(callback);
    }

    const EntryFormState &formState() const { return m_state; }
    // Test seam: what the file dialog of 申込CSV読込 returns.
    void setCsvChooser(std::function<QString()> chooser) { m_chooseCsv = std::move(chooser); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void applyRules();
    void layoutEntryGrid();
    void refreshGrid();
    void showPage(); // ShowEntry or NewEntryPage, as the state says
    void applyButtons();
    EntryForm readForm() const;

    void showError(const ValidationResult &error);
    void clearErrorDisplay();
    void setBackground(QLineEdit *box, const QColor &colour);
    void focusByInputStart();
    void focusAfterLastBox();
    // Runs a handler; a file or database failure is shown, not thrown.
    template<typename F> void guarded(F &&handler);

    void importCsv(); // 申込CSV読込
    void onEnter(QLineEdit *box);
    void showNameBeside(const QLineEdit *box, QLabel *name, bool reserve);
    // Enter refused the number: the box is emptied and the message line says why.
    void refuseNumber(QLineEdit *box, QLabel *name, const QString &reason);
    void onPickEnter(int i);
    void onReserveEnter();
    void onKeyTyped(QLineEdit *box);

    void add();
    void update();
    void remove();
    void navigate(void (EntryFormState::*move)(), bool focusShikona);
    void importPrevious(bool byRanking);
    void openChart();
    void selectInputStart(int n);

    Contest &m_contest;
    QPointer<QWidget> m_mainWindow;
    QPointer<QWidget> m_chart;
    MessageBoxPrompter *m_boxPrompter = nullptr;
    QWidget *m_boxPrompterParent = nullptr;
    std::unique_ptr<RecordSet> m_table;
    EntryGridModel *m_model = nullptr;
    EntryFormState m_state;
    bool m_errorShown = false;
    bool m_closed = false;
    std::function<void()> m_onClosed;
    std::function<QWidget *(QWidget *)> m_openChart;

    QLineEdit *m_memberNameField = nullptr;
    QLineEdit *m_birthDateField = nullptr;
    QLineEdit *m_mailField = nullptr;
    QLineEdit *m_phoneField = nullptr;
    QLineEdit *m_faxField = nullptr;
    QLineEdit *m_shikonaField = nullptr;
    QLineEdit *m_furiganaField = nullptr;
    std::array<QLineEdit *, kMaxPicks> m_pickFields {};
    std::array<QLabel *, kMaxPicks> m_pickLabels {};
    std::array<QLabel *, kMaxPicks> m_pickNames {};
    QLineEdit *m_reserveField = nullptr;
    QLabel *m_reserveLabel = nullptr;
    QLabel *m_reserveName = nullptr;
    QLineEdit *m_idField = nullptr;
    QLabel *m_errorLabel = nullptr;
    std::array<QRadioButton *, 3> m_inputStartOptions {};
    QButtonGroup *m_inputStartGroup = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_updateButton = nullptr;
    QPushButton *m_deleteButton = nullptr;
    QPushButton *m_firstButton = nullptr;
    QPushButton *m_previousButton = nullptr;
    QPushButton *m_nextButton = nullptr;
    QPushButton *m_lastButton = nullptr;
    QPushButton *m_chartButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_importWithRankingButton = nullptr;
    QPushButton *m_importWithoutRankingButton = nullptr;
    QPushButton *m_importCsvButton = nullptr;
    std::function<QString()> m_chooseCsv;
    QTableView *m_grid = nullptr;
    QWidget *m_formPanel = nullptr;
};

} // namespace kc::ui
