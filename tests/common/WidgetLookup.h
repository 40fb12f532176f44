#pragma once

#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace kc::test {

// A window's control by objectName; a missing one fails the test.
template<typename T> T *child(QWidget &w, const QString &name)
{
    T *c = w.findChild<T *>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
}

// Clicks a window's button by objectName.
inline void click(QWidget &w, const QString &name)
{
    QTest::mouseClick(child<QPushButton>(w, name), Qt::LeftButton);
}

} // namespace kc::test
