#include "TestSupport.h"

#include "cli/Cli.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    m_contest->open();
    return *m_contest;
}

void TempContest::close()
{
    if (m_contest)
        m_contest->close(false);
    m_contest.reset();
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
