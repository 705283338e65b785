#pragma once

#include <QList>
#include <functional>

class QAction;
class QLineEdit;
class QObject;
class QWidget;
class TDocumentState;
class TFindRecordList;
class TOlvekEditor;
class TOlvekEngine;
class TStatusPanels;

// What the command refresh updates besides the actions. None is owned; a null member is skipped.
struct TRefreshTargets
{
    // The actions, found by their object names among this object's children.
    QObject *actions = nullptr;
    TOlvekEngine *engine = nullptr;
    TDocumentState *state = nullptr;
    QWidget *window = nullptr;
    TStatusPanels *treeStatus = nullptr;
    QLineEdit *title = nullptr;
    // The text mode's heading list, usable exactly where the editor is.
    QWidget *headingBox = nullptr;
    TOlvekEditor *editor1 = nullptr;
    TOlvekEditor *editor2 = nullptr;
    QList<QWidget *> expandButtons;
    // FindNext and FindPrev follow the hit list.
    const TFindRecordList *findHits = nullptr;
};

// After every operation and many events: decides which commands the selected item and the
// focused control allow, and shows the position, the window caption and the unsaved mark.
class TCommandRefresh
{
public:
    explicit TCommandRefresh(const TRefreshTargets &targets) : m_targets(targets) {}

    void run();

    // "おるべく - " + the file name, with " *" while modified.
    static QString caption(const QString &fileName, bool modified);

private:
    QAction *action(const char *name) const;
    void setEnabled(const char *name, bool enabled) const;
    void refreshEditCommands(bool treeCut, bool treePaste) const;
    static void showControl(QWidget *control, bool visible);

    TRefreshTargets m_targets;
};
