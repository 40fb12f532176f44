#pragma once

#include "banzuke/BanzukeRegistration.h"
#include "banzuke/WrestlerNames.h"
#include "store/Records.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kc {
class Contest;
struct BanzukeImport;
struct FetchReply;
} // namespace kc

namespace kc::ui {

class FetchProgress;

// frmRentry, 番付登録: the counts step, then the names step with the east/west
// panel placed in twips like the printed banzuke. Only names confirmed with
// Enter go into the window's record; 保存 writes Banzuke.Dat after its question.
// Control arrays are named "txR_0", "txNinzu_4", "Yaku_21" and so on.
class BanzukeWindow : public QDialog
{
    Q_OBJECT
public:
    explicit BanzukeWindow(Contest &contest, QWidget *parent = nullptr);

    // MenuMakeBan: the window, modal. True when the banzuke was saved.
    static bool run(Contest &contest, QWidget *parent);

    // ファイルから読込 asks this for the file; tests replace it.
    void setFileChooser(std::function<QString()> chooser) { m_chooseFile = std::move(chooser); }
    // Fills the title, counts and names from a banzuke file (as `banzuke set`
    // reads it) for the organiser to check; a refusal is shown and changes nothing.
    bool importFromFile(const QString &path);

    // 番付取得: the banzuke of the basho typed in the code box (202609), or else
    // of the coming basho, downloaded from the address in 取得設定 and shown in
    // the boxes for checking, as ファイルから読込 shows a file; fetchFinished() follows.
    void fetchBanzuke();
    bool isFetching() const;

    // The window's record as it would be saved (for tests and the import).
    const BanzukeRecord &record() const { return m_record; }
    bool saved() const { return m_saved; }

signals:
    void fetchFinished();

public slots:
    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void clearAll();
    void loadStored();
    void layOutNamesPanel(const RankCounts &counts);
    void showNamesStep();
    void updateSum();
    void toNamesStep(); // cmdOK
    void backToCounts(); // cmdCancel
    void saveBanzuke(); // cmdOKOK
    void chooseAndImport();
    void showRead(const BanzukeImport &read);
    void showFetched(const FetchReply &reply);
    bool enterPressed(QObject *watched);
    RankCounts typedCounts() const;

    int px(int twips) const;
    void place(QWidget *w, int leftTwips, int topTwips, int widthTwips, int heightTwips) const;

    Contest &m_contest;
    BanzukeRecord m_record;
    // Latin names of a file read with ファイルから読込, saved with the banzuke.
    std::optional<EnglishNames> m_english;
    RankCounts m_panelCounts; // the counts the names panel is laid out for
    bool m_saved = false;
    std::function<QString()> m_chooseFile;

    QLineEdit *m_bashoNameField = nullptr;
    QLineEdit *m_bashoCodeField = nullptr;
    std::array<QLineEdit *, 5> m_rankCountFields {};
    QLineEdit *m_totalField = nullptr;
    QPushButton *m_nextButton = nullptr;
    QPushButton *m_backButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QPushButton *m_importButton = nullptr;
    QPushButton *m_fetchButton = nullptr;
    QPushButton *m_fetchSettingsButton = nullptr;
    FetchProgress *m_fetch = nullptr;
    bool m_codeTyped = false; // the organiser typed a tournament code here
    QFrame *m_namesPanel = nullptr;
    std::array<QLabel *, 22> m_rankLabels {};
    std::array<QLineEdit *, kRosterSlots> m_nameFields {};
};

} // namespace kc::ui
