#pragma once

#include <QDialog>

class QLineEdit;

namespace kc {
class Contest;
}

namespace kc::ui {

// 取得設定: the two addresses 結果取得 and 番付取得 download from, saved with the
// contest. An address that cannot be used is refused with its reason and the
// dialog stays open.
class FetchSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    FetchSettingsDialog(Contest &contest, QWidget *parent = nullptr);

    // The dialog, modal; true when new addresses were saved.
    static bool edit(Contest &contest, QWidget *parent);

    void accept() override;

private:
    Contest &m_contest;
    QLineEdit *m_torikumiAddressField = nullptr;
    QLineEdit *m_banzukeAddressField = nullptr;
};

} // namespace kc::ui
