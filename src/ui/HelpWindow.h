#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;

namespace kc {
class FileStore;
}

namespace kc::ui {

// The help viewer: shows the contest folder's help file (HTML) at a topic;
// 閉じる or Esc closes it.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Loads the file and scrolls to topic n (the anchor "topicN").
    void showTopic(const QString &helpFile, int topic);
    QTextBrowser *browser() const { return m_browser; }

    // Writes the built-in help to helpFile when it is missing. Throws
    // StoreError when it cannot be written.
    static void ensureHelpFile(FileStore &files, const QString &helpFile);
    // The built-in help text (resources/help/Kachiho.hlp).
    static QByteArray builtInHelp();
    static QString topicAnchor(int topic);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QTextBrowser *m_browser;
};

} // namespace kc::ui
