#include "ClipboardFunctions.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMetaObject>
#include <QPlainTextEdit>
#include <QTextEdit>

void copyFromControl(QWidget *control)
{
    if (auto *line = qobject_cast<QLineEdit *>(control)) {
        if (line->hasSelectedText())
            QApplication::clipboard()->setText(line->selectedText());
        return;
    }
    if (auto *plain = qobject_cast<QPlainTextEdit *>(control)) {
        if (plain->textCursor().hasSelection())
            plain->copy();
        return;
    }
    if (auto *rich = qobject_cast<QTextEdit *>(control)) {
        if (rich->textCursor().hasSelection())
            rich->copy();
        return;
    }
    if (control)
        QMetaObject::invokeMethod(control, "copy");
}

void pasteIntoControl(QWidget *control)
{
    if (auto *line = qobject_cast<QLineEdit *>(control))
        line->paste();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(control))
        plain->paste();
    else if (auto *rich = qobject_cast<QTextEdit *>(control))
        rich->paste();
    else if (control)
        QMetaObject::invokeMethod(control, "paste");
}
