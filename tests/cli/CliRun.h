#pragma once

// Runs halvern-th-cli as a separate program.
#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <functional>
#include <sys/resource.h>

struct CliRun {
    int code;
    QString out;
    QString err;
};

inline QString CliProgram()
{
    return QStringLiteral(HALVERN_BINARY_DIR "/halvern-th-cli");
}

// fileSizeLimit > 0: the program may write files of that many bytes only
// (with SIGXFSZ at its default, so the program must guard itself).
// setup adjusts the process before it starts (working folder, standard output).
// A run that outlasts timeoutMs is killed and reported with code -1.
// program: the CLI or a copy of it (see StagedProgram).
inline CliRun CliAt(const QString& program, const QStringList& args, rlim_t fileSizeLimit = 0,
                    const std::function<void(QProcess&)>& setup = {}, int timeoutMs = 40000)
{
    QProcess p;
    if (fileSizeLimit > 0) {
        p.setChildProcessModifier([fileSizeLimit] {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_DFL);
        });
    }
    if (setup)
        setup(p);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return {-1, {}, QStringLiteral("did not finish")};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

inline CliRun Cli(const QStringList& args, rlim_t fileSizeLimit = 0,
                  const std::function<void(QProcess&)>& setup = {}, int timeoutMs = 40000)
{
    return CliAt(CliProgram(), args, fileSizeLimit, setup, timeoutMs);
}

// The lines of the CLI's own error messages (status lines do not start so).
inline QStringList ErrorLines(const CliRun& run)
{
    QStringList lines;
    for (const QString& line : run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (line.startsWith(QLatin1String("halvern-th-cli")))
            lines << line;
    return lines;
}

// stderr without the lines that say an action could not be entered in the
// audit trail (as under a file-size limit, which the archive meets too).
inline QString WithoutAuditNotes(const QString& err)
{
    QStringList kept;
    for (const QString& line : err.split(QLatin1Char('\n')))
        if (!line.contains(QLatin1String(": not recorded in the audit trail: ")))
            kept << line;
    return kept.join(QLatin1Char('\n'));
}
