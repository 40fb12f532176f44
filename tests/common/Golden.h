#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace kc::test {

// One golden case: the folder tests/golden/<suite>/<case>/ holds what goes in
// (input.ini) beside what must come out (the expected files).
class GoldenCase
{
public:
    GoldenCase(const QString &suite, const QString &name);
    const QString &name() const { return m_name; }
    QString path(const QString &file) const;

    // input.ini: "key = value" lines, '#' comments, \n \r \t escaped.
    QString value(const QString &key, const QString &fallback = {}) const;
    int number(const QString &key, int fallback = 0) const;
    QStringList values(const QString &key) const; // a repeated key, in file order

    // Compares with the expected file: text files (CP932) first as text, so a
    // difference reads as a line diff, then byte for byte. KC_UPDATE_GOLDEN=1
    // rewrites the file instead, for a new output checked by eye.
    void expect(const QString &file, const QByteArray &actual) const;

private:
    QString m_name;
    QString m_dir;
    QList<QPair<QString, QString>> m_input;
};

} // namespace kc::test
