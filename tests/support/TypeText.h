#pragma once

#include <QString>

class QWidget;

// Types text into widget one character at a time as key presses carrying the character, the way
// a keyboard or a committed input-method string arrives; QTest::keyClicks handles ASCII only.
// A line feed is typed as the Return key.
void typeText(QWidget *widget, const QString &text);
