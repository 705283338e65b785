#pragma once

#include <QString>

class TDocumentTree;
class TTreeNode;

// The first item in pre-order whose title is title, or null.
TTreeNode *titled(const TDocumentTree &tree, const QString &title);
