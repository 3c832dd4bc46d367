#pragma once

#include <QProcess>
#include <QStringList>
#include <functional>

// Runs a program to its end and keeps what it printed; the tests that drive the built
// executable, the installed one and the desktop's own tools share it.
namespace ProgramRun {

struct Result {
    int exitCode = -1; // -1 also when it did not end normally within the time given
    QString out;
    QString err;
};

// `setUp` may redirect the output or change the environment before the start.
inline Result Run(
    const QString& program, const QStringList& arguments,
    const std::function<void(QProcess&)>& setUp = [](QProcess&) {}, int timeoutMs = 120000) {
    QProcess process;
    setUp(process);
    process.start(program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QString(), process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A set-up that starts the program in this process's environment with the variables named in
// `removed` taken out and those of `set` (NAME=VALUE) put in.
inline std::function<void(QProcess&)> WithEnvironment(const QStringList& set,
                                                      const QStringList& removed = {}) {
    return [set, removed](QProcess& process) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : removed)
            environment.remove(name);
        for (const QString& pair : set)
            environment.insert(pair.section(u'=', 0, 0), pair.section(u'=', 1));
        process.setProcessEnvironment(environment);
    };
}

// The executable this build made.
inline Result Sigilon(
    const QStringList& arguments, const std::function<void(QProcess&)>& setUp = [](QProcess&) {}) {
    return Run(QStringLiteral(SIGILON_EXECUTABLE), arguments, setUp);
}

} // namespace ProgramRun
