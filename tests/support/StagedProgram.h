#pragma once

// A program staged for a test that runs it as another user (nobody): the
// build folder may lie inside a folder only its owner can enter (a clone in
// a mktemp -d folder), so the program, and the sanitizer suppression files
// its environment names, are copied into a fresh folder every user can
// reach. Run the copy with environment(), from root() as working folder.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

class StagedProgram {
public:
    static constexpr uid_t kNobody = 65534;

    explicit StagedProgram(const QString& program)
        : m_dir(QDir::tempPath() + QStringLiteral("/staged-XXXXXX"))
    {
        if (!m_dir.isValid() || !QFile::setPermissions(m_dir.path(), kReachable)) {
            m_error = QStringLiteral("cannot make a folder in %1").arg(QDir::tempPath());
            return;
        }
        m_path = Stage(program, kReachable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        m_environment = StagedEnvironment();
        if (m_error.isEmpty() && !ReachableByNobody(m_path))
            m_error = QStringLiteral("user nobody cannot run programs in %1 (set TMPDIR to a folder every user can enter)")
                          .arg(m_dir.path());
    }

    // Empty when the copy is ready, else why it is not.
    QString error() const { return m_error; }
    QString path() const { return m_path; }
    QString root() const { return m_dir.path(); }
    QProcessEnvironment environment() const { return m_environment; }

    // For QProcess::setChildProcessModifier: the child becomes nobody, or
    // exits with 99.
    static void BecomeNobody()
    {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(99);
    }

private:
    static constexpr QFile::Permissions kReachable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
        | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

    QString Stage(const QString& file, QFile::Permissions permissions)
    {
        const QString copy = m_dir.filePath(QFileInfo(file).fileName());
        if (QFile::exists(copy))
            return copy;
        if (!QFile::copy(file, copy) || !QFile::setPermissions(copy, permissions))
            m_error = QStringLiteral("cannot copy %1 to %2").arg(file, m_dir.path());
        return copy;
    }

    // The sanitizers read their suppression files as the user the program
    // runs as: the copy's environment names staged copies.
    QProcessEnvironment StagedEnvironment()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        static const QRegularExpression suppressions(QStringLiteral("(^|:)suppressions=([^:]+)"));
        for (const QString& name : env.keys()) {
            if (!name.endsWith(QLatin1String("SAN_OPTIONS")))
                continue;
            QString value = env.value(name);
            const QRegularExpressionMatch m = suppressions.match(value);
            if (!m.hasMatch())
                continue;
            const QString copy = Stage(m.captured(2), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            value.replace(m.capturedStart(2), m.capturedLength(2), copy);
            env.insert(name, value);
        }
        return env;
    }

    // Whether a child that became nobody may execute path.
    static bool ReachableByNobody(const QString& path)
    {
        const QByteArray name = path.toLocal8Bit();
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(2);
            ::_exit(::access(name.constData(), X_OK) == 0 ? 0 : 1);
        }
        int status = 0;
        return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    QTemporaryDir m_dir;
    QString m_path;
    QString m_error;
    QProcessEnvironment m_environment;
};
