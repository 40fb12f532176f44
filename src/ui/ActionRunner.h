#pragma once

#include "store/Prompter.h"
#include "store/StoreError.h"

#include <QString>
#include <functional>

namespace kc {
class Contest;
}

namespace kc::ui {

// After a failed action: the message is shown, and an action that failed past
// its commit point (its files not all in place) is finished by reading the
// contest again. Anything else the unit of work has already put back.
void recoverFromFailure(Contest &contest, const StoreError &error, const QString &title);

// The one way a window runs an action of the core: a StoreError is shown with
// the window's title, the contest is brought back to a consistent state and
// `refresh` redraws the window from it. False when the action failed.
template<typename F>
bool runAction(Contest &contest, F &&action, const std::function<void()> &refresh = {},
               const QString &title = QString())
{
    try {
        action();
        return true;
    } catch (const StoreError &e) {
        recoverFromFailure(contest, e, title);
    }
    if (refresh)
        refresh();
    return false;
}

} // namespace kc::ui
