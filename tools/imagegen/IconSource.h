#pragma once

#include <QDir>
#include <QImage>
#include <QString>

// Reads the pictures of an installed icon theme laid out as SIZExSIZE/CONTEXT/NAME.png, and
// scalable/CONTEXT/NAME.svg for sizes beyond the largest drawn one (the 2x pictures).
class TIconSource
{
public:
    explicit TIconSource(const QString &themeDir);

    // The named icon at exactly size x size pixels (ARGB), taken from the nearest size the theme
    // ships; throws std::runtime_error when the theme lacks the icon.
    QImage Icon(const QString &name, int size) const;
    // base with the named icon drawn over the given corner at fraction of base's size.
    QImage WithBadge(const QImage &base, const QString &name, Qt::Corner corner, qreal fraction = 0.6) const;

private:
    QString find(const QString &name, int size) const;
    QString findScalable(const QString &name) const;

    QDir m_dir;
};
