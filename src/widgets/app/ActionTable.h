#pragma once

#include <span>

class QAction;
class TMain;

// One row of the data module's action list. Texts are UTF-8; an empty shortcut or hint means none.
struct TActionRow
{
    QAction *TMain::*member;
    const char *name;
    const char *category;
    const char *caption;
    // Key names as QKeySequence reads them in portable text ("Ctrl+Shift+Left").
    const char *shortcut;
    const char *hint;
    // The shortcut is carried only while the tree has the focus; in the editors these keys keep
    // their editing meaning.
    bool treeOnly;
};

std::span<const TActionRow> actionTable();
