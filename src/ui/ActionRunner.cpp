#include "ui/ActionRunner.h"

#include "store/Contest.h"

namespace kc::ui {

void recoverFromFailure(Contest &contest, const StoreError &error, const QString &title)
{
    contest.prompter().tell({error.message(), title, Icon::Critical});
    if (!contest.isOpen() || !contest.journal().interrupted())
        return;
    try {
        contest.reload();
    } catch (const StoreError &again) {
        contest.prompter().tell({again.message(), title, Icon::Critical});
    }
}

} // namespace kc::ui
