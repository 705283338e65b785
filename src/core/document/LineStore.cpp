#include "LineStore.h"

#include <cstring>
#include <sys/mman.h>

namespace {
constexpr uintptr_t HugePage = 2 << 20;

// Below this a unit can only be a break (CR, LF) if it is one at all.
bool mayBeBreak(char16_t c)
{
    return c <= u'\r';
}

bool isBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

char16_t *alignedUp(char16_t *p)
{
    return reinterpret_cast<char16_t *>((reinterpret_cast<uintptr_t>(p) + HugePage - 1) & ~(HugePage - 1));
}

char16_t *alignedDown(char16_t *p)
{
    return reinterpret_cast<char16_t *>(reinterpret_cast<uintptr_t>(p) & ~(HugePage - 1));
}
} // namespace

// 8 MB and one 4 KB page, less room for the allocator's and Qt's headers: a length that the
// system does not align to a huge page, so that wherever the block lies, three whole huge pages
// lie inside it (an aligned block would hold only two, its first one holding the headers).
const qsizetype TLineStore::DocumentBlockUnits = (4 * HugePage + 4096 - 64) / 2;

TLineStore::TLineStore(qsizetype blockUnits) : m_blockUnits(blockUnits) {}

QStringList TLineStore::split(QStringView text)
{
    const qsizetype n = text.size();
    if (n == 0)
        return {};
    if (n + 1 > m_blockUnits || (m_blockUnits == DocumentBlockUnits && n + 1 > DocumentBlockUnits / 8)) {
        TLineStore own(n + 1);
        return own.split(text);
    }
    const char16_t *source = text.utf16();
    qsizetype count = 0;
    for (qsizetype i = 0; i < n; ++i) {
        if (!mayBeBreak(source[i]) || !isBreak(source[i]))
            continue;
        ++count;
        if (source[i] == u'\r' && i + 1 < n && source[i + 1] == u'\n')
            ++i;
    }
    if (!isBreak(source[n - 1]))
        ++count;

    char16_t *copy = place(n);
    std::memcpy(copy, source, size_t(n) * sizeof(char16_t));
    copy[n] = 0;
    QStringList lines;
    lines.reserve(count);
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = copy[i];
        if (!mayBeBreak(c) || !isBreak(c))
            continue;
        // The line ends with a NUL where its break begins; an LF after a CR stays between lines.
        copy[i] = 0;
        lines.append(share(copy + start, i - start));
        if (c == u'\r' && i + 1 < n && copy[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(share(copy + start, n - start));
    return lines;
}

QString TLineStore::keep(QStringView text)
{
    const qsizetype n = text.size();
    if (n == 0 || n + 1 > m_blockUnits)
        return text.toString();
    char16_t *copy = place(n);
    std::memcpy(copy, text.utf16(), size_t(n) * sizeof(char16_t));
    copy[n] = 0;
    return share(copy, n);
}

char16_t *TLineStore::place(qsizetype units)
{
    if (!m_next || m_end - m_next < units + 1)
        openBlock();
    char16_t *room = m_next;
    m_next += units + 1;
    return room;
}

void TLineStore::openBlock()
{
    m_block = QString(m_blockUnits, Qt::Uninitialized);
    m_next = reinterpret_cast<char16_t *>(m_block.data());
    m_end = m_next + m_blockUnits;
#ifdef MADV_HUGEPAGE
    // The kernel then faults in 2 MB at a time instead of 4 KB. Only the whole huge pages inside
    // the block can be used so: the page that holds the headers has already been touched.
    char16_t *const first = alignedUp(m_next);
    char16_t *const last = alignedDown(m_end);
    if (last > first)
        madvise(first, size_t(last - first) * sizeof(char16_t), MADV_HUGEPAGE);
#endif
}

QString TLineStore::share(const char16_t *begin, qsizetype size) const
{
    // A copy of the block's data pointer is one more reference to the block; only its view is
    // narrowed to the line.
    QString::DataPointer line = m_block.data_ptr();
    line.ptr = const_cast<char16_t *>(begin);
    line.size = size;
    return QString(std::move(line));
}
