#include "ui/Fonts.h"

#include "publish/Fonts.h"

#include <QApplication>
#include <QFont>

namespace kc::ui {

void installUiFonts()
{
    installFontSubstitutes();
    const QString gothic = gothicSubstitute();
    if (gothic.isEmpty())
        return; // keep the platform font; fontconfig still finds fallbacks
    QFont font(gothic);
    font.setPointSize(9);
    QApplication::setFont(font);
}

} // namespace kc::ui
