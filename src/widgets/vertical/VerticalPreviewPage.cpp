#include "VerticalPreviewPage.h"

void TVerticalPreviewPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int,
                                                    const QString &)
{
    static const QLatin1String prefix("olvek:line:");
    if (!message.startsWith(prefix))
        return;
    bool ok = false;
    const int line = QStringView(message).sliced(prefix.size()).toInt(&ok);
    if (ok && line >= 0)
        Q_EMIT lineClicked(line);
}
