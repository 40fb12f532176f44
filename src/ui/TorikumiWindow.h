#pragma once

#include "store/Records.h"

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>
#include <set>

class QLabel;
class QLineEdit;
class QPalette;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace kc {
class Contest;
struct FetchReply;
} // namespace kc

namespace kc::ui {

class FetchProgress;

// frmTorikumi, 取組結果入力: 44 wrestler buttons in the banzuke layout (22 rows,
// even index east, odd west) with row labels and a number beside each button.
// In chart mode (力士参照) it is a read-only numbered banzuke; in input mode the
// marks of the shown day colour the buttons, a click steps a mark (left button
// forward, any other back, under the core's locks), << and >> change the shown
// day and 結果確定 confirms it, with the hourglass and the progress bar.
// Arrays are named "cmdRikishi_0", "Lno_0", "Yaku_0", "Text1_0", "txRDays_0", …
class TorikumiWindow : public QDialog
{
    Q_OBJECT
public:
    enum class Mode { Input, Chart };

    TorikumiWindow(Contest &contest, Mode mode, QWidget *parent = nullptr);

    // 力士参照: the roster reloaded (day results kept) and the chart opened
    // without blocking, owned by `owner`, deleted when closed.
    static TorikumiWindow *openChart(Contest &contest, QWidget *owner);

    Mode mode() const { return m_mode; }
    int shownDay() const { return m_day; }
    // Button map: wrestler number (slot + 10) or 999, and roster slot or -1.
    int numberAt(int button) const { return m_number[button]; }
    int slotAt(int button) const { return m_slot[button]; }

    // Button colour of a result mark (the legend uses the same).
    static QColor markColour(int mark, const QPalette &palette);

    // Shows day d (1..15): every button repainted, every number refreshed.
    void showDay(int day);

    // The progress bar of 結果確定 (the core's progress sink draws through these).
    void beginProgress(int total);
    void advanceProgress(int done);
    void endProgress();
    int progressWidthTwips() const; // the blue bar's width, 0 when none is shown
    // 結果ファイル読込: the shown day's marks from a downloaded file, under the
    // same locks as a click; nothing is confirmed. False when refused.
    bool importResultFile(const QString &path);
    // 結果取得: the shown day's bouts downloaded from the address in 取得設定 and
    // put in as 結果ファイル読込 does, while the window stays responsive (中止,
    // Esc). fetchFinished() follows; the panel on the right then lists what
    // changed (framed in red on the buttons) and who got no result, and the
    // status bar says where the data came from and when.
    void fetchShownDay();
    bool isFetching() const;
    // Test seam: what the file dialog of 結果ファイル読込 returns.
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }

signals:
    // Unload: the opener sets its day box to CurrentDay and refreshes its grid.
    void unloaded(int currentDay);
    void fetchFinished();

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();
    void clickRikishi(int i, bool forward);
    void confirmShownDay(); // cmdDecite
    void buildButtonMap();
    void applyMode();
    void paintButton(int i);
    void refreshNumberLabel(int i);
    void paintDayCells();
    void saveAndClose(); // cmdSave
    int winsUpToShownDay(int slot) const;
    void buildFetchControls();
    void showFetched(const FetchReply &reply);

    int px(int twips) const;
    void place(QWidget *w, int leftTwips, int topTwips, int widthTwips, int heightTwips) const;

    Contest &m_contest;
    Mode m_mode;
    int m_day = 1;
    int m_progressTotal = 0;
    int m_progressDone = 0;
    std::array<int, kRosterSlots> m_number {};
    std::array<int, kRosterSlots> m_slot {};
    std::array<QString, kRosterSlots> m_caption;
    std::array<QString, 22> m_rowLabel;

    std::array<QPushButton *, kRosterSlots> m_wrestlerButtons {};
    std::array<QLabel *, kRosterSlots> m_numberLabels {};
    std::array<QLabel *, 22> m_rankLabels {};
    QLabel *m_sidesLabel = nullptr;
    std::array<QLineEdit *, 5> m_legendFields {};
    QLineEdit *m_dayField = nullptr;
    QLabel *m_dayUnitLabel = nullptr;
    QPushButton *m_previousDayButton = nullptr;
    QPushButton *m_nextDayButton = nullptr;
    std::array<QLineEdit *, kDays> m_dayCells {};
    QPushButton *m_confirmDayButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_importResultsButton = nullptr;
    QPushButton *m_fetchButton = nullptr;
    QPushButton *m_fetchSettingsButton = nullptr;
    QPlainTextEdit *m_fetchReport = nullptr;
    FetchProgress *m_fetch = nullptr;
    QStatusBar *m_status = nullptr;
    int m_fetchDay = 0;
    std::set<int> m_changedSlots; // marks the last fetch changed on m_fetchDay
    std::function<QString()> m_chooseFile;
};

} // namespace kc::ui
