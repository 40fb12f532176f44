#pragma once

#include "store/Prompter.h"

#include <QPointer>
#include <QWidget>

namespace kc::ui {

// The windows' way of asking and telling: QMessageBox with the system's
// texts, icons, titles and default buttons.
class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget *parent = nullptr) : m_parent(parent) { }
    void setParent(QWidget *parent) { m_parent = parent; }

    bool ask(const Question &question) override;
    void tell(const Message &message) override;
    void inform(const QString &text) override;
    // With a button that opens the file in the desktop's viewer (a page in the browser).
    void tellFile(const Message &message, const QString &path) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace kc::ui
