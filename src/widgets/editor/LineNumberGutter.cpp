#include "editor/LineNumberGutter.h"

#include "editor/OlvekCompo.h"

TLineNumberGutter::TLineNumberGutter(TOlvekEditor *editor)
    : QWidget(editor)
    , m_editor(editor)
{
    setObjectName(QStringLiteral("lineNumberGutter"));
}

QSize TLineNumberGutter::sizeHint() const
{
    return QSize(m_editor->gutterWidth(), 0);
}

void TLineNumberGutter::paintEvent(QPaintEvent *event)
{
    m_editor->paintGutter(event);
}
