#include "VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QTest>

TVirtualDisplay::~TVirtualDisplay()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate();
    if (!m_server.waitForFinished(10000))
        m_server.kill();
}

QString TVirtualDisplay::start()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("Xvfb and xdotool are needed (scripts/setup installs them)");
    // The server picks a free display and writes its number on descriptor 1. Without -noreset it
    // resets whenever its last client leaves (a closed or killed program), and a program started
    // in that moment cannot connect.
    m_server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"), QStringLiteral("0"),
                          QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                          QStringLiteral("-noreset")});
    if (!m_server.waitForStarted())
        return QStringLiteral("Xvfb did not start");
    QDeadlineTimer deadline(60000);
    while (!m_server.canReadLine() && m_server.state() == QProcess::Running && !deadline.hasExpired())
        m_server.waitForReadyRead(100);
    const QByteArray number = m_server.readLine().trimmed();
    if (number.isEmpty())
        return QStringLiteral("Xvfb gave no display");
    m_name = u':' + QString::fromLatin1(number);
    return QString();
}

QProcessEnvironment TVirtualDisplay::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_name);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

QString TVirtualDisplay::xdotool(const QStringList &arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(QStringLiteral("xdotool"), arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return QString();
    }
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QString TVirtualDisplay::waitForWindow(const QString &pattern, int timeout) const
{
    QDeadlineTimer deadline(timeout);
    do {
        const QString found = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), pattern});
        if (!found.isEmpty())
            return found.section(u'\n', 0, 0);
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return QString();
}
