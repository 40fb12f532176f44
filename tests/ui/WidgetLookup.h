#pragma once

#include <QString>
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

} // namespace kc::test
