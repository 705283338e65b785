#pragma once

#include "app/Prompt.h"

class QWidget;

// The program's prompt: QMessageBox boxes with Japanese button texts and QFileDialog dialogs,
// modal to the active window.
class TMessageBoxPrompt : public TPrompt
{
public:
    // The caption of the boxes when the prompt has none of its own: the application's title.
    static const QString ApplicationTitle;

    // The Qt name filter for one entry; "*.*" means every file.
    static QString nameFilter(const FileFilter &filter);

protected:
    Answer ask(Kind kind, const QString &text) override;
    FileChoice chooseFile(Kind kind, const FileRequest &request) override;
    Answer execDialog(QObject &dialog) override;

private:
    QString boxCaption() const;
};
