#include "MainUnit.h"

#include "ActionTable.h"
#include "document/DocumentState.h"
#include "document/DocumentTree.h"
#include "ui/MainFormU1.h"

#include <QAction>
#include <QKeySequence>

namespace {
const char CategoryProperty[] = "category";
const char HintProperty[] = "hint";
// The key a tree-only action gets back when the tree takes the focus.
const char TreeShortcutProperty[] = "treeShortcut";
} // namespace

TMain::TMain(TMainForm *form, QObject *parent)
    : QObject(parent)
    , m_form(form)
    , m_state(new TDocumentState(this))
{
    setObjectName(QStringLiteral("Main"));
    createActions();
    m_form->installActions(*this);

    m_form->document()->createRootFolders();
    m_form->setWindowTitle(QStringLiteral("おるべく - ") + m_state->fileName());
}

TMain::~TMain() = default;

QAction *TMain::action(const QString &name) const
{
    for (QAction *a : m_actions) {
        if (a->objectName() == name)
            return a;
    }
    return nullptr;
}

QString TMain::categoryOf(const QAction *action)
{
    return action->property(CategoryProperty).toString();
}

QString TMain::hintOf(const QAction *action)
{
    return action->property(HintProperty).toString();
}

void TMain::setTreeShortcutsActive(bool active)
{
    m_treeShortcutsActive = active;
    for (QAction *a : m_treeOnly) {
        a->setShortcut(active ? a->property(TreeShortcutProperty).value<QKeySequence>()
                              : QKeySequence());
    }
}

void TMain::createActions()
{
    for (const TActionRow &row : actionTable()) {
        auto *a = new QAction(QString::fromUtf8(row.caption), this);
        a->setObjectName(QString::fromUtf8(row.name));
        a->setProperty(CategoryProperty, QString::fromUtf8(row.category));

        const QString hint = QString::fromUtf8(row.hint);
        a->setProperty(HintProperty, hint);
        if (!hint.isEmpty()) {
            const qsizetype bar = hint.indexOf(u'|');
            a->setToolTip(bar < 0 ? hint : hint.left(bar));
            a->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
        }

        const QKeySequence key = QKeySequence::fromString(QString::fromUtf8(row.shortcut),
                                                          QKeySequence::PortableText);
        if (row.treeOnly) {
            a->setProperty(TreeShortcutProperty, key);
            m_treeOnly.append(a);
        } else {
            a->setShortcut(key);
        }
        this->*row.member = a;
        m_actions.append(a);
    }

    // The check marks of the two pane entries, which the pane tool buttons show as pressed.
    ViewShowNavigator->setCheckable(true);
    ViewShowNavigator->setChecked(true);
    ViewShowEditor->setCheckable(true);
    ViewShowEditor->setChecked(true);
}
