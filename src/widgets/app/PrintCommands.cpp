#include "PrintCommands.h"

#include "DocumentFiles.h"
#include "EditingSession.h"
#include "MainUnit.h"
#include "app/Prompt.h"
#include "TreeCurrentScope.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "engine/OlvekEngine.h"
#include "ui/MainFormU1.h"
#include "ui/PreviewFormU1.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

TPrintCommands::TPrintCommands(TEditingSession &session, TMain &main, TMainForm &form)
    : QObject(&session), m_session(session), m_main(main), m_preview(new TPreviewForm(form.settingsFile(), &form))
{
    connect(m_preview, &TPreviewForm::helpRequested, main.HelpTopic, &QAction::trigger);
    connect(main.FilePrint, &QAction::triggered, this, &TPrintCommands::FilePrint);
}

TPrintCommands::~TPrintCommands() = default;

QString TPrintCommands::pdfFileName() const
{
    const TDocumentState *state = m_main.documentState();
    const QFileInfo document(state->fileName());
    const TTreeNode *root = m_session.engine()->document().MainTitleNode();
    QString base = document.completeBaseName();
    if (state->isUntitled() || base.isEmpty())
        base = TDocumentFiles::SanitizeFileName(root ? root->title() : QString());
    if (base.isEmpty())
        base = TDocumentState::UntitledName;
    const QString folder = document.isAbsolute() ? document.absolutePath() : QDir::currentPath();
    return QDir(folder).filePath(base + QStringLiteral(".pdf"));
}

void TPrintCommands::FilePrint()
{
    TTreeCurrentScope current(m_session);
    const TDocumentTree &tree = m_session.engine()->document();
    const TTreeNode *root = tree.MainTitleNode();
    m_preview->setDocument(&tree, root ? root->title() : QString(), pdfFileName());
    TPrompt::current().runDialog(*m_preview);
    m_preview->setDocument(nullptr, QString(), QString());
}
