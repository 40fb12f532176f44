#pragma once

#include "ui/RulesFormState.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kc {
class Contest;
}

namespace kc::ui {

// frmRules (ﾙｰﾙの設定): the rule settings and the prize settings on two tabs.
//
// The main window opens it modally from MenuRules, mmShoui and cmdNow:
//     RulesWindow w(contest, RulesWindow::Opening::Normal, this); w.exec();
// and, from mmReRules, without blocking and with every control unlocked:
//     auto *w = RulesWindow::openForRuleChange(contest, this);
// Control arrays are named with their index: txPoint_0 … txPoint_9, opPrize_0 …
class RulesWindow : public QDialog
{
    Q_OBJECT

public:
    using Opening = RulesOpening;

    explicit RulesWindow(Contest &contest, Opening opening = Opening::Normal,
                         QWidget *parent = nullptr);

    // mmReRules: opens the window without blocking; it deletes itself when closed.
    static RulesWindow *openForRuleChange(Contest &contest, QWidget *parent);

    const RulesForm &form() const { return m_form; }

    static QColor darkShade() { return QColor(0, 100, 0); }
    static QColor lightShade() { return QColor(0, 128, 0); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildRulesTab();
    QWidget *buildPrizeTab();
    QLineEdit *makeEdit(const QString &name, int width);
    QPushButton *makeButton(const QString &name, const QString &caption);

    // The controls into the form, and the form onto the controls.
    void readForm();
    void showForm();
    void enterPressed(QLineEdit *edit);
    void focusBox(QLineEdit *edit);

    void prizeClicked(int i);
    void dayPrizeClicked(int d);
    void bonusTypeClicked(bool simple);
    void tieRuleClicked(bool smallerIdFirst);
    void recalcClicked();
    void saveClicked();
    void decideRulesClicked();
    void decidePrizesClicked();
    // Runs an action of the core; a file or database failure is shown, not thrown.
    template<typename F> void guarded(F &&action);

    Contest &m_contest;
    RulesForm m_form;

    QTabWidget *SSTab1 = nullptr;
    // ルールの設定
    QLabel *lblRikishiNum = nullptr;
    QLineEdit *txRikishiNum = nullptr;
    std::array<QLineEdit *, kMaxPicks> txPoint {};
    QCheckBox *ChkOzeki = nullptr;
    QCheckBox *ChkSpair = nullptr;
    std::array<QRadioButton *, 2> OptType {};
    QLineEdit *txKIN = nullptr;
    QLineEdit *txGin = nullptr;
    std::array<QLabel *, 2> Ltype {};
    QCheckBox *chkRepeat = nullptr;
    QLineEdit *txRwin = nullptr;
    QLineEdit *txWpoint = nullptr;
    std::array<QRadioButton *, 2> Option1 {};
    QPushButton *cmdRule = nullptr;
    std::array<QPushButton *, 2> cmdSave {};
    // 賞位の設定
    std::array<QCheckBox *, kPrizeRows> opPrize {};
    std::array<QLineEdit *, kPrizeRows> txRank {};
    std::array<QLineEdit *, kPrizeRows> txPname {};
    std::array<QLineEdit *, kPrizeRows> txPrizePoint {};
    std::array<QCheckBox *, kDayPrizes> opPrize2 {};
    std::array<QLineEdit *, kDayPrizes> Text1 {};
    QLineEdit *txPrizeTotal = nullptr;
    QLineEdit *txEmax = nullptr;
    QLineEdit *txMotiten = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *cmdPrize = nullptr;
};

} // namespace kc::ui
