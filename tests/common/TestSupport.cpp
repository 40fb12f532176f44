#include "TestSupport.h"

#include "cli/Cli.h"
#include "publish/PrintDocument.h"
#include "scoring/StartUp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QtEndian>
#include <stdexcept>

namespace kc::test {

TempContest::TempContest()
{
    if (!m_dir.isValid())
        throw std::runtime_error("no temporary folder");
}

Contest &TempContest::open()
{
    close();
    m_contest = std::make_unique<Contest>(m_dir.path(), prompter);
    openContest(*m_contest);
    return *m_contest;
}

void TempContest::close()
{
    if (m_contest)
        m_contest->close(false);
    m_contest.reset();
}

QMap<QString, QByteArray> snapshotFiles(const QString &dir)
{
    QMap<QString, QByteArray> out;
    for (const QString &name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        if (!name.endsWith(QStringLiteral(".lock")))
            out.insert(name, readBytes(dir + u'/' + name));
    return out;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

int pdfPageCount(const QByteArray &pdf)
{
    int pages = 0;
    for (qsizetype at = pdf.indexOf("/Type /Page"); at >= 0;
         at = pdf.indexOf("/Type /Page", at + 1))
        if (pdf.mid(at + 11, 1) != "s")
            ++pages;
    return pages;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    f.write(bytes);
}

void setI16(QByteArray &bytes, int offset, qint16 value)
{
    qToLittleEndian<qint16>(value, bytes.data() + offset);
}

const PrintItem *textAt(const PrintDocument &doc, int x, int y)
{
    for (const PrintItem &item : doc.pages().front().items)
        if (item.kind == PrintItem::Kind::Text && item.x == x && item.y == y)
            return &item;
    return nullptr;
}

CliResult runCli(const QStringList &args)
{
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const int code = cli::run(args, out, err, nullptr, false);
    out.flush();
    err.flush();
    return {code, outText, errText};
}

} // namespace kc::test

namespace kc::test {

CliResult runExe(const QStringList &args)
{
    const QString exe = qEnvironmentVariable("KC_EXE");
    if (exe.isEmpty())
        return {-1, {}, QStringLiteral("KC_EXE not set (run through ctest)")};
    // As on a machine without a display, where every command must work.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(exe, args);
    if (!p.waitForFinished(120000))
        return {-1, {}, QStringLiteral("did not finish")};
    const QString err = QString::fromUtf8(p.readAllStandardError());
    if (p.exitStatus() != QProcess::NormalExit)
        return {-1, QString(), QStringLiteral("crashed: ") + err};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), err};
}

} // namespace kc::test
