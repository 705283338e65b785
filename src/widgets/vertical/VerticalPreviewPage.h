#pragma once

#include <QWebEnginePage>

// The preview's web page: passes the clicks its script reports ("olvek:line:N" on the console)
// on as lineClicked, and keeps the engine's other console output to itself.
class TVerticalPreviewPage : public QWebEnginePage
{
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

Q_SIGNALS:
    void lineClicked(int line);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int lineNumber,
                                  const QString &sourceId) override;
};
