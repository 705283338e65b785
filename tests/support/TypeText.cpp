#include "TypeText.h"

#include <QTest>

void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text) {
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
