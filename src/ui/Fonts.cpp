#include "ui/Fonts.h"

#include <QLabel>

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

QLabel *makeTitleLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QStringLiteral("Label1"));
    QFont big = label->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    label->setFont(big);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace kc::ui
