#include "TypeText.h"

#include <QTest>

void typeText(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') {
            QTest::keyClick(widget, Qt::Key_Return);
            continue;
        }
        // A character outside the basic plane arrives as one key carrying both surrogates.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}
