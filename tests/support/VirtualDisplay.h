#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// An X server of the test's own (Xvfb) on which the real program runs, and xdotool to drive it as
// a user would. The server lives as long as the object.
class TVirtualDisplay
{
public:
    TVirtualDisplay() = default;
    ~TVirtualDisplay();
    TVirtualDisplay(const TVirtualDisplay &) = delete;
    TVirtualDisplay &operator=(const TVirtualDisplay &) = delete;

    // Starts the server on a free display; an empty text on success, else what went wrong.
    QString start();
    // ":N" once started.
    const QString &name() const { return m_name; }
    // The test's environment with the program sent to this display.
    QProcessEnvironment environment() const;
    // Runs xdotool with these arguments on the display; its standard output, trimmed.
    QString xdotool(const QStringList &arguments) const;
    // The id of the first visible window whose caption matches the pattern, waiting for it up to
    // timeout milliseconds; empty when none came.
    QString waitForWindow(const QString &pattern, int timeout) const;

private:
    QProcess m_server;
    QString m_name;
};
