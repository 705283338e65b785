#include "VerticalPreviewPane.h"

#include "VerticalPreviewPage.h"
#include "vertical/VerticalPreviewHtml.h"

#include <QUrl>
#include <QWebEngineSettings>

namespace {
// Replacing a few lines is cheaper than the whole text; beyond this many, the whole text.
constexpr qsizetype MaxSingleChanges = 16;
}

TVerticalPreviewPane::TVerticalPreviewPane(QWidget *parent)
    : QWebEngineView(parent), m_page(new TVerticalPreviewPage(this))
{
    setObjectName(QStringLiteral("VerticalPreview"));
    setPage(m_page);
    setContextMenuPolicy(Qt::NoContextMenu);
    // The writer keeps typing in the editor: neither showing nor loading the page takes the focus.
    m_page->settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    connect(m_page, &TVerticalPreviewPage::lineClicked, this, &TVerticalPreviewPane::lineClicked);
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_loaded = ok;
        if (ok)
            send();
    });
}

void TVerticalPreviewPane::setPageStyle(const TVerticalPageStyle &style)
{
    m_loaded = false;
    // Everything goes into the new page.
    if (m_pending.isEmpty())
        m_pending = m_shown;
    m_shown.clear();
    m_page->setHtml(TVerticalPreviewHtml::skeleton(style), QUrl(QStringLiteral("file:///olvek-preview/")));
}

void TVerticalPreviewPane::showLines(const QStringList &lines, bool dottedHeadings, int current)
{
    QStringList html;
    html.reserve(lines.size());
    for (const QString &line : lines)
        html.append(TVerticalPreviewHtml::lineHtml(line, dottedHeadings));
    m_pending = html;
    m_current = current;
    if (m_loaded)
        send();
}

void TVerticalPreviewPane::send()
{
    if (m_pending.isEmpty() && !m_shown.isEmpty())
        return;
    const QStringList next = m_pending;
    m_pending.clear();
    QString script;
    if (next.size() == m_shown.size()) {
        QStringList changes;
        for (qsizetype i = 0; i < next.size() && changes.size() <= MaxSingleChanges; ++i) {
            if (next[i] != m_shown[i])
                changes.append(QStringLiteral("[%1,%2]").arg(i).arg(TVerticalPreviewHtml::scriptString(next[i])));
        }
        if (changes.size() <= MaxSingleChanges)
            script = QLatin1String("setLines([") + changes.join(u',') + QLatin1String("]);");
    }
    if (script.isEmpty())
        script = QLatin1String("setItem(") + TVerticalPreviewHtml::scriptString(next.join(QString())) + QLatin1String(");");
    script += QStringLiteral("showLine(%1);").arg(m_current);
    m_shown = next;
    m_page->runJavaScript(script, [this](const QVariant &) { Q_EMIT updated(); });
}
