#include "WebEngineSetup.h"

#include <QCoreApplication>

#include <unistd.h>

void WebEngineSetup::prepare(bool headless)
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (headless && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY")
        && !qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a GPU the engine lists every OpenGL attempt at length; it works without.
    if (!qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
        qputenv("QT_LOGGING_RULES", "qt.webenginecontext.debug=false");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
