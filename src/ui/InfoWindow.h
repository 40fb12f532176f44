#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace kc::ui {

// frmINFO: the message window ("Information") with the text box Msg and the
// button cmdOK. Used for longer texts such as the rules explanation and the
// notice that older files are being converted.
class InfoWindow : public QDialog
{
    Q_OBJECT
public:
    explicit InfoWindow(const QString &text, QWidget *parent = nullptr);

    QString text() const;

    // Shows the window modally with the text.
    static void showMessage(const QString &text, QWidget *parent = nullptr);

private:
    QPlainTextEdit *m_textBox;
    QPushButton *m_okButton;
};

} // namespace kc::ui
