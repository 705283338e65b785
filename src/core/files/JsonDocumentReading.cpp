// Reading of the JSON document format (TJsonDocumentFormat::read).
#include "JsonDocumentFormat.h"

#include "DocumentFileReading.h"
#include "JsonStringDecoding.h"
#include "document/DocumentTree.h"
#include "document/LineStore.h"

#include <QFile>
#include <simdjson.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <sys/mman.h>
#include <thread>
#include <vector>

namespace ondemand = simdjson::ondemand;

namespace {

struct TReadError
{
    QString message;
};

QString damaged(const QString &what)
{
    return QStringLiteral("文書ファイルが壊れています: %1").arg(what);
}

[[noreturn]] void failJson(simdjson::error_code code)
{
    throw TReadError{damaged(QStringLiteral("JSON として正しくありません (%1)")
                                 .arg(QString::fromUtf8(simdjson::error_message(code))))};
}

[[noreturn]] void failStructure(const QString &what)
{
    throw TReadError{damaged(what)};
}

// Gives the pages of the file buffer that decoding has left behind back to the system: the bodies
// are decoded last, each once, in file order, so the whole buffer and the whole tree need not be
// held at the same time. One object per thread, each releasing only whole pages inside the
// stretch of bodies its thread decodes; the walk over the rest of the text is over by then.
class TConsumedPages
{
public:
    explicit TConsumedPages(const char *begin) : m_released(alignedUp(begin)) {}

    // Nothing before p will be read again.
    void readUpTo(const char *p)
    {
        const char *end = alignedDown(p);
        if (end - m_released < ReleaseStep)
            return;
        madvise(const_cast<char *>(m_released), size_t(end - m_released), MADV_DONTNEED);
        m_released = end;
    }

private:
    // Whole huge pages, since the buffer asks for them.
    static constexpr uintptr_t Page = 2 << 20;
    static constexpr ptrdiff_t ReleaseStep = 8 << 20;

    static const char *alignedUp(const char *p)
    {
        return reinterpret_cast<const char *>((reinterpret_cast<uintptr_t>(p) + Page - 1) & ~(Page - 1));
    }
    static const char *alignedDown(const char *p)
    {
        return reinterpret_cast<const char *>(reinterpret_cast<uintptr_t>(p) & ~(Page - 1));
    }

    const char *m_released;
};

// Builds the items of a document from the parsed text. Strings are decoded here rather than by
// the parser so that a lone surrogate escape becomes U+FFFD instead of failing the whole file.
class TJsonTreeBuilder
{
public:
    TJsonTreeBuilder(TDocumentTree &tree, const char *text, const char *textEnd)
        : m_tree(tree), m_end(textEnd),
          m_titles(std::min(qsizetype(textEnd - text) + 1, TLineStore::DocumentBlockUnits))
    {
    }

    void readDocument(ondemand::document &doc)
    {
        ondemand::object root;
        if (const auto error = doc.get_object().get(root))
            error == simdjson::INCORRECT_TYPE ? failStructure(QStringLiteral("JSON オブジェクトではありません"))
                                              : failJson(error);
        bool haveContent = false;
        for (auto fieldResult : root) {
            ondemand::field field;
            if (const auto error = std::move(fieldResult).get(field))
                failJson(error);
            if (!keyIs(field, "content"))
                continue;
            ondemand::array content;
            if (const auto error = field.value().get_array().get(content))
                error == simdjson::INCORRECT_TYPE ? failStructure(QStringLiteral("\"content\" が配列ではありません"))
                                                  : failJson(error);
            // A later "content" replaces an earlier one, with the bodies found in it.
            m_tree.clear();
            m_bodies.clear();
            readItems(content, nullptr, 1, QStringLiteral("\"content\""));
            haveContent = true;
        }
        const char *trailing = nullptr;
        if (!doc.current_location().get(trailing))
            failJson(simdjson::TRAILING_CONTENT);
        if (!haveContent)
            failStructure(QStringLiteral("\"content\" がありません"));
        decodeBodies();
    }

private:
    void readItems(ondemand::array &items, TTreeNode *parent, int depth, const QString &arrayName)
    {
        if (depth > TJsonDocumentFormat::MaxDepth)
            throw TReadError{DocumentFileReading::tooDeepError(TJsonDocumentFormat::MaxDepth)};
        for (auto element : items) {
            ondemand::value value;
            if (const auto error = std::move(element).get(value))
                failJson(error);
            ondemand::object item;
            if (const auto error = value.get_object().get(item))
                error == simdjson::INCORRECT_TYPE
                    ? failStructure(QStringLiteral("%1 の要素がオブジェクトではありません").arg(arrayName))
                    : failJson(error);
            readItem(item, parent, depth);
        }
    }

    void readItem(ondemand::object &item, TTreeNode *parent, int depth)
    {
        // The node exists before its members are read because "children" may come first.
        auto ownedData = std::make_unique<TNodeData>();
        TNodeData *data = ownedData.get();
        TTreeNode *node = m_tree.addChild(parent, QString(), std::move(ownedData));
        bool haveTitle = false;
        bool haveText = false;
        for (auto fieldResult : item) {
            ondemand::field field;
            if (const auto error = std::move(fieldResult).get(field))
                failJson(error);
            if (keyIs(field, "title")) {
                node->setTitle(m_titles.keep(stringValue(field, "title")));
                haveTitle = true;
            } else if (keyIs(field, "text")) {
                m_bodies.push_back({data, rawString(field, "text")});
                haveText = true;
            } else if (keyIs(field, "expand")) {
                bool expand = false;
                if (const auto error = field.value().get_bool().get(expand))
                    error == simdjson::INCORRECT_TYPE
                        ? failStructure(QStringLiteral("項目の \"expand\" が true でも false でもありません"))
                        : failJson(error);
                data->Expand = expand;
            } else if (keyIs(field, "children")) {
                ondemand::array children;
                if (const auto error = field.value().get_array().get(children))
                    error == simdjson::INCORRECT_TYPE
                        ? failStructure(QStringLiteral("項目の \"children\" が配列ではありません"))
                        : failJson(error);
                readItems(children, node, depth + 1, QStringLiteral("\"children\""));
            }
        }
        if (!haveTitle)
            failStructure(QStringLiteral("項目に \"title\" がありません"));
        if (!haveText)
            failStructure(QStringLiteral("項目「%1」に \"text\" がありません").arg(node->title()));
    }

    bool keyIs(ondemand::field &field, const char *name) const
    {
        const char *begin = field.key().raw();
        const char *end = JsonStringDecoding::findStringEnd(begin, m_end);
        const size_t length = std::strlen(name);
        if (!std::memchr(begin, '\\', size_t(end - begin)))
            return size_t(end - begin) == length && std::memcmp(begin, name, length) == 0;
        QString key;
        return JsonStringDecoding::decodeString(begin, end, key) && key == QLatin1String(name);
    }

    // The escaped contents of a string member: from after its opening quote to its closing one.
    struct TRawString
    {
        const char *begin;
        const char *end;
    };

    TRawString rawString(ondemand::field &field, const char *name)
    {
        ondemand::raw_json_string raw;
        if (const auto error = field.value().get_raw_json_string().get(raw))
            error == simdjson::INCORRECT_TYPE
                ? failStructure(QStringLiteral("項目の \"%1\" が文字列ではありません").arg(QLatin1String(name)))
                : failJson(error);
        const char *begin = raw.raw();
        const char *end = JsonStringDecoding::findStringEnd(begin, m_end);
        if (end == m_end)
            failJson(simdjson::STRING_ERROR);
        return {begin, end};
    }

    // The decoded string, valid until the next call.
    QStringView stringValue(ondemand::field &field, const char *name)
    {
        const TRawString raw = rawString(field, name);
        const qsizetype length = decodeInto(raw, m_scratch);
        if (length < 0)
            failJson(simdjson::STRING_ERROR);
        return QStringView(m_scratch.data(), length);
    }

    static qsizetype decodeInto(const TRawString &raw, std::vector<char16_t> &scratch)
    {
        if (scratch.size() < size_t(raw.end - raw.begin))
            scratch.resize(size_t(raw.end - raw.begin));
        return JsonStringDecoding::decodeString(raw.begin, raw.end, scratch.data());
    }

    // Below this many bytes of bodies a second thread costs more than it saves.
    static constexpr size_t ParallelDecodeBytes = 1 << 20;

    // Decodes and splits the bodies found by the walk, half of them on a second thread: each body
    // goes into its own item's payload, so the two halves share nothing but the read-only text.
    void decodeBodies()
    {
        std::atomic<bool> failed = false;
        auto decodeRange = [this, &failed](size_t first, size_t last) {
            // A decoded text takes no more UTF-16 units than its escaped form takes bytes.
            size_t units = 0;
            for (size_t i = first; i < last; ++i)
                units += size_t(m_bodies[i].text.end - m_bodies[i].text.begin) + 1;
            TLineStore store(qsizetype(std::min(units, size_t(TLineStore::DocumentBlockUnits))));
            std::vector<char16_t> scratch;
            TConsumedPages consumed(first < last ? m_bodies[first].text.begin : nullptr);
            for (size_t i = first; i < last && !failed; ++i) {
                const qsizetype length = decodeInto(m_bodies[i].text, scratch);
                if (length < 0)
                    failed = true;
                else
                    m_bodies[i].data->setBodyFromText(QStringView(scratch.data(), length), store);
                consumed.readUpTo(m_bodies[i].text.end);
            }
        };
        size_t bytes = 0;
        for (const TPendingBody &body : m_bodies)
            bytes += size_t(body.text.end - body.text.begin);
        if (bytes < ParallelDecodeBytes) {
            decodeRange(0, m_bodies.size());
        } else {
            const size_t half = m_bodies.size() / 2;
            std::thread helper(decodeRange, half, m_bodies.size());
            decodeRange(0, half);
            helper.join();
        }
        if (failed)
            failJson(simdjson::STRING_ERROR);
    }

    struct TPendingBody
    {
        TNodeData *data;
        TRawString text;
    };

    TDocumentTree &m_tree;
    const char *m_end;
    // Titles are decoded here, then kept in m_titles: together rather than one allocation each.
    std::vector<char16_t> m_scratch;
    TLineStore m_titles;
    // Bodies are decoded once the walk has found them all.
    std::vector<TPendingBody> m_bodies;
};

// The buffer of a large file is filled once and scanned once: huge pages spare the kernel a page
// fault for every 4 KB of it.
void adviseHugePages(char *data, size_t size)
{
#ifdef MADV_HUGEPAGE
    constexpr uintptr_t hugePage = 2 << 20;
    const uintptr_t begin = (reinterpret_cast<uintptr_t>(data) + hugePage - 1) & ~(hugePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(data) + size) & ~(hugePage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
#else
    Q_UNUSED(data);
    Q_UNUSED(size);
#endif
}

static_assert(DocumentFileReading::MaxFileSize <= simdjson::SIMDJSON_MAXSIZE_BYTES);

// Reads the whole file into a buffer with the padding the parser needs.
simdjson::padded_string readPadded(const QString &path)
{
    QFile file(path);
    const QString openError = DocumentFileReading::open(file);
    if (!openError.isEmpty())
        throw TReadError{openError};
    const qint64 size = file.size();
    if (size == 0)
        throw TReadError{damaged(QStringLiteral("ファイルが空です"))};
    simdjson::padded_string buffer(static_cast<size_t>(size));
    if (buffer.size() != size_t(size))
        throw TReadError{DocumentFileReading::tooLargeError(path)};
    adviseHugePages(buffer.data(), buffer.size());
    qint64 done = 0;
    while (done < size) {
        const qint64 n = file.read(buffer.data() + done, size - done);
        if (n <= 0)
            throw TReadError{QStringLiteral("ファイルを読み込めません: %1 (%2)").arg(path, file.errorString())};
        done += n;
    }
    return buffer;
}

void buildTree(const QString &path, TDocumentTree &tree)
{
    simdjson::padded_string buffer = readPadded(path);
    size_t offset = 0;
    if (buffer.size() >= 3 && std::memcmp(buffer.data(), "\xEF\xBB\xBF", 3) == 0)
        offset = 3;
    if (!simdjson::validate_utf8(buffer.data() + offset, buffer.size() - offset)) {
        const std::string repaired = JsonStringDecoding::repairUtf8(buffer.data() + offset, buffer.size() - offset);
        buffer = simdjson::padded_string(); // release the original before the copy is made
        buffer = simdjson::padded_string(repaired);
        offset = 0;
    }
    const char *text = buffer.data() + offset;
    const size_t length = buffer.size() - offset;
    ondemand::parser parser;
    ondemand::document doc;
    if (const auto error = parser.iterate(text, length, length + simdjson::SIMDJSON_PADDING).get(doc))
        failJson(error);
    TJsonTreeBuilder(tree, text, text + length).readDocument(doc);
}

} // namespace

TFileResult TJsonDocumentFormat::read(const QString &path, TDocumentTree &target)
{
    TDocumentTree tree;
    tree.deferSerialIndex();
    try {
        buildTree(path, tree);
    } catch (const TReadError &error) {
        return TFileResult::failure(error.message);
    } catch (const std::bad_alloc &) {
        return TFileResult::failure(QStringLiteral("メモリが足りないため読み込めません: %1").arg(path));
    }
    if (tree.topLevelCount() < 3)
        return TFileResult::failure(DocumentFileReading::tooFewRootsError());
    for (TTreeNode *node = tree.first(); node; node = node->next())
        node->setExpanded(node->data()->Expand);
    target.replaceContents(tree);
    return TFileResult::success(FormatVersion);
}
