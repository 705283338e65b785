// The manual's table of keys and menu entries against the real window: every entry of the main
// menu and every key of an action outside the menus has its row, and every row names an entry
// the window has, with the window's key. A failure names each entry or row that differs.
#include "app/MainUnit.h"
#include "ui/MainFormU1.h"

#include <QAction>
#include <QFile>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QtTest>

namespace {
const QString arrow = QStringLiteral(" → ");
const QString noMenu = QStringLiteral("メニューなし");

// A row of the manual's table: its keys, and the menu entry as "ファイル → 開く", or empty for
// a key without a menu entry.
struct TableRow
{
    QStringList keys;
    QString menu;
    QString text;
};

// An entry of the window's main menu, or an action that has a key and no visible entry.
struct WindowEntry
{
    QString menu;
    QString key;
    QString caption;
};

// The entry's caption as the manual writes it: without the hot-key letter and the dots.
QString plainCaption(QString caption)
{
    caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    caption.remove(u'&');
    while (caption.endsWith(u'.'))
        caption.chop(1);
    return caption.trimmed();
}

// The manual's key names ("Ctrl+Shift+←") in the program's portable text ("Ctrl+Shift+Left").
QString portableKey(QString key)
{
    key.replace(u'←', QStringLiteral("Left"));
    key.replace(u'→', QStringLiteral("Right"));
    key.replace(u'↑', QStringLiteral("Up"));
    key.replace(u'↓', QStringLiteral("Down"));
    return QKeySequence::fromString(key, QKeySequence::PortableText).toString(QKeySequence::PortableText);
}

QString cellText(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

// The rows of the table with id "keytable" in the manual.
QList<TableRow> manualRows(QString *error)
{
    QFile file(QStringLiteral(OLVEK_SOURCE_DIR "/docs/manual.html"));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.fileName() + QStringLiteral(" cannot be read");
        return {};
    }
    const QString html = QString::fromUtf8(file.readAll());
    const QRegularExpression table(QStringLiteral("<table id=\"keytable\">(.*?)</table>"),
                                   QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch found = table.match(html);
    if (!found.hasMatch()) {
        *error = QStringLiteral("docs/manual.html has no <table id=\"keytable\">");
        return {};
    }
    const QRegularExpression rowPattern(QStringLiteral("<tr>(.*?)</tr>"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression cellPattern(QStringLiteral("<td>(.*?)</td>"), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpression keyPattern(QStringLiteral("<kbd>(.*?)</kbd>"));
    QList<TableRow> rows;
    for (const QRegularExpressionMatch &row : rowPattern.globalMatch(found.captured(1))) {
        QStringList cells;
        for (const QRegularExpressionMatch &cell : cellPattern.globalMatch(row.captured(1)))
            cells << cell.captured(1);
        if (cells.isEmpty())
            continue; // the heading row
        TableRow parsed;
        for (const QRegularExpressionMatch &key : keyPattern.globalMatch(cells.value(0)))
            parsed.keys << portableKey(key.captured(1));
        const QString menu = cellText(cells.value(2));
        parsed.menu = menu.startsWith(noMenu) ? QString() : menu;
        parsed.text = cellText(row.captured(1));
        rows << parsed;
    }
    return rows;
}

// Every visible entry of a menu, submenus included, with its path. Entries the program fills
// while it runs (recent files, plugins, viewers) have no object name and are left out.
void collectMenu(QMenu *menu, const QString &path, QList<WindowEntry> &entries)
{
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !action->isVisible())
            continue;
        const QString entryPath = path + arrow + plainCaption(action->text());
        if (QMenu *sub = action->menu()) {
            entries << WindowEntry{entryPath, QString(), action->text()};
            collectMenu(sub, entryPath, entries);
        } else if (!action->objectName().isEmpty()) {
            entries << WindowEntry{entryPath, action->shortcut().toString(QKeySequence::PortableText), action->text()};
        }
    }
}

QString describe(const WindowEntry &entry)
{
    return entry.key.isEmpty() ? entry.menu : entry.menu + QStringLiteral(" (") + entry.key + u')';
}
} // namespace

class TestManualKeys : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void everyMenuEntryHasItsRow();
    void everyRowNamesAnEntryOfTheWindow();
    void everyKeyWithoutMenuEntryHasItsRow();

private:
    QList<WindowEntry> menuEntries() const;
    // Actions that carry a key but have no visible entry in the main menu.
    QList<WindowEntry> keysWithoutEntry() const;

    QTemporaryDir m_dir;
    TMainForm *m_form = nullptr;
    TMain *m_main = nullptr;
    QList<TableRow> m_rows;
};

void TestManualKeys::init()
{
    m_form = new TMainForm(m_dir.filePath(QStringLiteral("olvek.ini")));
    m_main = new TMain(m_form, QStringLiteral(OLVEK_IMAGE_FILE));
    QVERIFY(!m_main->startupFailed());
    // The tree's keys are carried only while the tree has the focus; the table lists them.
    m_main->setTreeShortcutsActive(true);
    QString error;
    m_rows = manualRows(&error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(!m_rows.isEmpty());
}

void TestManualKeys::cleanup()
{
    delete m_main;
    delete m_form;
    m_main = nullptr;
    m_form = nullptr;
}

QList<WindowEntry> TestManualKeys::menuEntries() const
{
    QList<WindowEntry> entries;
    for (QAction *top : m_form->MainMenu1->actions()) {
        if (top->menu() && top->isVisible())
            collectMenu(top->menu(), plainCaption(top->text()), entries);
    }
    return entries;
}

QList<WindowEntry> TestManualKeys::keysWithoutEntry() const
{
    QList<QAction *> inMenus;
    const QList<QMenu *> menus = m_form->MainMenu1->findChildren<QMenu *>();
    for (QMenu *menu : menus) {
        for (QAction *action : menu->actions()) {
            if (action->isVisible())
                inMenus << action;
        }
    }
    QList<QAction *> candidates = m_main->actions();
    candidates += m_form->actions();
    QList<WindowEntry> keys;
    for (QAction *action : std::as_const(candidates)) {
        if (action->shortcut().isEmpty() || inMenus.contains(action))
            continue;
        const WindowEntry entry{QString(), action->shortcut().toString(QKeySequence::PortableText), action->text()};
        if (std::none_of(keys.cbegin(), keys.cend(), [&](const WindowEntry &e) { return e.key == entry.key; }))
            keys << entry;
    }
    return keys;
}

void TestManualKeys::everyMenuEntryHasItsRow()
{
    QStringList missing;
    for (const WindowEntry &entry : menuEntries()) {
        const auto row = std::find_if(m_rows.cbegin(), m_rows.cend(), [&](const TableRow &r) { return r.menu == entry.menu; });
        if (row == m_rows.cend())
            missing << QStringLiteral("the table has no row for the menu entry ") + describe(entry);
        else if (!entry.key.isEmpty() && !row->keys.contains(entry.key))
            missing << QStringLiteral("the row of ") + entry.menu + QStringLiteral(" lacks the key ") + entry.key;
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("docs/manual.html, table \"keytable\":\n  ")
                                           + missing.join(QStringLiteral("\n  "))));
}

void TestManualKeys::everyRowNamesAnEntryOfTheWindow()
{
    const QList<WindowEntry> entries = menuEntries();
    QStringList wrong;
    for (const TableRow &row : std::as_const(m_rows)) {
        if (row.menu.isEmpty()) {
            if (row.keys.isEmpty())
                wrong << QStringLiteral("the row \"") + row.text + QStringLiteral("\" has neither a key nor a menu entry");
            for (const WindowEntry &entry : entries) {
                if (!entry.key.isEmpty() && row.keys.contains(entry.key))
                    wrong << QStringLiteral("the row \"") + row.text + QStringLiteral("\" says its key has no menu entry, but ")
                                 + describe(entry) + QStringLiteral(" has it");
            }
            continue;
        }
        const auto entry = std::find_if(entries.cbegin(), entries.cend(), [&](const WindowEntry &e) { return e.menu == row.menu; });
        if (entry == entries.cend())
            wrong << QStringLiteral("the window's menus have no entry ") + row.menu;
        // The first key of a row is the entry's; others are further keys without an entry.
        else if (row.keys.value(0) != entry->key)
            wrong << row.menu + QStringLiteral(": the table's key is ") + row.keys.value(0, QStringLiteral("none"))
                         + QStringLiteral(", the window's is ") + (entry->key.isEmpty() ? QStringLiteral("none") : entry->key);
    }
    QVERIFY2(wrong.isEmpty(), qPrintable(QStringLiteral("docs/manual.html, table \"keytable\":\n  ")
                                         + wrong.join(QStringLiteral("\n  "))));
}

void TestManualKeys::everyKeyWithoutMenuEntryHasItsRow()
{
    QStringList missing;
    for (const WindowEntry &key : keysWithoutEntry()) {
        const bool listed = std::any_of(m_rows.cbegin(), m_rows.cend(),
                                        [&](const TableRow &r) { return r.menu.isEmpty() && r.keys.contains(key.key); });
        if (!listed)
            missing << QStringLiteral("the key ") + key.key + QStringLiteral(" (") + plainCaption(key.caption)
                           + QStringLiteral(") has no menu entry and no row saying so");
    }
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("docs/manual.html, table \"keytable\":\n  ")
                                           + missing.join(QStringLiteral("\n  "))));
}

QTEST_MAIN(TestManualKeys)
#include "tst_manualkeys.moc"
