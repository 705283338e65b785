#pragma once

#include <QStringList>

class TDocumentTree;
class TTreeNode;
class TLumenoTreeList;

// The conversion between a subtree of the document and the dotted text the text mode edits.
// Plain logic on the tree and on lines: the text-mode bridge feeds the editor with TreeToText,
// parses the editor's lines (read as ParseLines says) and hands the heading list to TextToTree.
//
// Together they keep every body: for any text, TextToTree of its parse, then TreeToText, read
// and parsed again, gives back the same tree. A title that begins with "." loses those dots and
// a body line that begins with "." becomes a heading, since the syntax has no way to quote them.
namespace TreeText {

// The text form of item's subtree, in pre-order: for each item a heading line (one dot for item,
// two for its children, and so on, then the title), its body lines, and one empty line. The
// empty line after the last item is what the editor's final line break stands for, so that a
// last body ending in empty lines keeps all of them.
QStringList TreeToText(const TTreeNode *item);

// The lines a parse reads from the editor's lines: the last one is left out when it is empty,
// since a final line break ends the last line rather than starting an empty one.
QStringList ParseLines(QStringList editorLines);

// Rebuilds item's subtree from headings, a parse of lines read as ParseLines says. The children
// of item are deleted; a level-0 heading gives item its title and body (its payload object stays),
// every deeper heading becomes a new descendant with a new payload (Expand set, and expanded once
// it has children). A body gives its item its lines without the one empty line that separates
// it from the next heading; the last heading's body, which has none, is taken whole.
//
// Several level-0 headings cannot all become item, so every heading goes one level deeper: a
// top-level item stays as "[タイトル未定] " with an empty body above them; any other item is
// deleted and the headings become its parent's last children. Returns the item that
// now stands for the text: item itself, or its parent in that case, or, when that parent is a
// folder root (which has no text form), the first item made from the text; its own expanded
// state is the caller's (deleting its children collapses it). An empty list deletes the children and
// leaves item's title and body. A folder root is never rebuilt: the result is null and nothing
// changes. headings is not modified.
TTreeNode *TextToTree(TDocumentTree &tree, TTreeNode *item, const TLumenoTreeList &headings);

} // namespace TreeText
