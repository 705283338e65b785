#include "SaveTarget.h"

#include <QFileInfo>

namespace {
// As many links as the system itself follows before it gives up on a path.
constexpr int MaxLinks = 40;
} // namespace

TSaveTarget::TSaveTarget(const QString &path) : m_path(path)
{
    QFileInfo info(m_path);
    for (int links = 0; info.isSymLink(); ++links) {
        if (links == MaxLinks) {
            m_error = QStringLiteral("シンボリックリンクをたどりきれないため保存できません: %1").arg(path);
            return;
        }
        m_path = info.symLinkTarget();
        info = QFileInfo(m_path);
    }
    m_exists = info.exists();
    if (info.isDir())
        m_error = QStringLiteral("フォルダには保存できません: %1").arg(path);
    else if (m_exists && !info.isFile())
        m_error = QStringLiteral("通常のファイルではないため保存できません: %1").arg(path);
}
