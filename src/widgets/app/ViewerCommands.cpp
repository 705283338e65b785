#include "ViewerCommands.h"

#include "EditingSession.h"
#include "ImageLoader.h"
#include "MainUnit.h"
#include "ModeController.h"
#include "document/TreeNode.h"
#include "editor/OlvekCompo.h"
#include "ui/MainFormU1.h"
#include "ui/OlvekTreeView.h"
#include "ui/TextViewer.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

#include <utility>

TViewerCommands::TViewerCommands(TEditingSession &session, TMain &main, TMainForm &form)
    : QObject(&session), m_session(session), m_main(main), m_form(form)
{
    connect(main.ViewViewerOpen, &QAction::triggered, this, &TViewerCommands::ViewViewerOpen);
}

TViewerCommands::~TViewerCommands()
{
    // Taken out first, so that closing them does not come back into the list.
    const QList<TTextViewer *> viewers = std::exchange(m_viewers, {});
    for (TTextViewer *viewer : viewers) {
        viewer->disconnect(this);
        delete viewer;
    }
}

TTextViewer *TViewerCommands::ViewViewerOpen()
{
    using ImageLayout::TPicture;
    TTextViewer::Pictures pictures;
    if (const TOlvekImageLoader *images = m_main.images()) {
        pictures.onTop = images->Picture(TPicture::ViewerOnTop);
        pictures.shade = images->Picture(TPicture::ViewerShade);
        pictures.shaded = images->Picture(TPicture::ViewerShaded);
    }
    const TTreeNode *selected = m_form.TreeView1->selectedNode();
    auto *viewer = new TTextViewer(m_session.modes().Mode(), m_form.Editor1->lines(),
                                   selected ? selected->title() : QString(), pictures);
    m_viewers.append(viewer);
    viewer->setIndex(int(m_viewers.size()) - 1);
    const QString tag = viewer->mode() == TModeController::TextMode ? QStringLiteral("T") : QStringLiteral("O");
    QAction *entry = m_form.W1->addAction(tag + QStringLiteral(" : ") + viewer->Label1->text());
    connect(entry, &QAction::triggered, viewer, [viewer] {
        viewer->showNormal();
        viewer->raise();
        viewer->activateWindow();
    });
    connect(viewer, &TTextViewer::closing, this, &TViewerCommands::viewerClosing);
    // The marks follow the settings (RetVisible, EofVisible) as the main editor does.
    viewer->Editor1->setSpecialCharsVisible(m_form.Editor1->specialCharsVisible());
    viewer->placeOver(&m_form);
    viewer->show();
    return viewer;
}

void TViewerCommands::viewerClosing(TTextViewer *viewer)
{
    const int index = viewer->index();
    if (index < 0 || index >= m_viewers.size() || m_viewers.at(index) != viewer)
        return;
    delete m_form.W1->actions().at(index);
    m_viewers.removeAt(index);
    for (int i = 0; i < m_viewers.size(); ++i)
        m_viewers.at(i)->setIndex(i);
}
