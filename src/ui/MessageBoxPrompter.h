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

private:
    QPointer<QWidget> m_parent;
};

} // namespace kc::ui
