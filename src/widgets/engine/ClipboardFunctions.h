#pragma once

class QWidget;

// Copy and paste on whatever control has them: the Insert-key bindings of the body editor and
// the edit commands use these so that text boxes and editors behave alike.

// Puts the control's selected text on the clipboard; an empty selection leaves the clipboard as
// it was.
void copyFromControl(QWidget *control);
// Pastes the clipboard's text at the control's caret.
void pasteIntoControl(QWidget *control);
