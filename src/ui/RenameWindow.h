#pragma once

#include "banzuke/Renaming.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kc {
class Contest;
}

namespace kc::ui {

// frmReName, 力士名の変更: one label "10:name" and one box per roster slot.
// 登録終了 saves through the session (Rename.Dat, roster, Rikishi.Dat, entry
// table); キャンセル closes without writing. Arrays are named "Ini_0", "tx_0", …
class RenameWindow : public QDialog
{
    Q_OBJECT
public:
    RenameWindow(renaming::RenameSession &session, QWidget *parent = nullptr);

    // mmRename / mmRikishiName: the reference question, then this window,
    // modal. True when names changed (NamesChanged).
    static bool run(Contest &contest, QWidget *parent);
    // KillRename: the question, then Rename.Dat deleted.
    static bool killRenameList(Contest &contest);
    // mmNameRecover: the default roster names back, day results kept.
    static void recoverNames(Contest &contest);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill();
    void saveNames(); // cmdReName

    renaming::RenameSession &m_session;
    std::array<QLabel *, kRosterSlots> m_slotLabels {};
    std::array<QLineEdit *, kRosterSlots> m_nameFields {};
    QPushButton *m_renameButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};

} // namespace kc::ui
