#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringConverter>
#include <QXmlStreamReader>
#include <QtTest>

// The files that are installed beside the programs: nothing reads them in the build, so a broken
// line or tag would only show once the program is installed.
namespace {
QString sourceFile(const QString &relative)
{
    // OLVEK_TEST_DATA is <source>/tests/data.
    return QDir(QStringLiteral(OLVEK_TEST_DATA "/../..")).filePath(relative);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

QString decodeUtf8(const QByteArray &bytes)
{
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    const QString text = decoder(bytes);
    if (decoder.hasError())
        return QString();
    return text;
}
} // namespace

class TestPackaging : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void desktopEntry();
    void mimeTypes();
    void wellFormedXml_data();
    void wellFormedXml();
    void manualLinksStayInside();
};

void TestPackaging::desktopEntry()
{
    const QString text = decodeUtf8(readAll(sourceFile(QStringLiteral("packaging/olvek.desktop"))));
    QVERIFY2(!text.isEmpty(), "not UTF-8");
    static const QRegularExpression group(QStringLiteral("^\\[([^\\[\\]]+)\\]$"));
    static const QRegularExpression entry(QStringLiteral("^([A-Za-z0-9-]+(?:\\[[^\\]]+\\])?) *= *(.*)$"));
    QString currentGroup;
    QHash<QString, QString> main;
    QSet<QString> seen;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString where = QStringLiteral("line %1: %2").arg(i + 1).arg(line);
        if (const auto m = group.match(line); m.hasMatch()) {
            QVERIFY2(!currentGroup.isEmpty() || m.captured(1) == QLatin1String("Desktop Entry"),
                     qPrintable(where + QStringLiteral(" (the first group must be Desktop Entry)")));
            currentGroup = m.captured(1);
            continue;
        }
        const auto m = entry.match(line);
        QVERIFY2(m.hasMatch(), qPrintable(where + QStringLiteral(" (neither a group nor key=value)")));
        QVERIFY2(!currentGroup.isEmpty(), qPrintable(where + QStringLiteral(" (a key before any group)")));
        const QString key = currentGroup + u'/' + m.captured(1);
        QVERIFY2(!seen.contains(key), qPrintable(where + QStringLiteral(" (a key given twice)")));
        seen.insert(key);
        if (currentGroup == QLatin1String("Desktop Entry"))
            main.insert(m.captured(1), m.captured(2));
    }

    for (const char *required : {"Type", "Name", "Name[ja]", "Comment", "Comment[ja]", "Exec", "Icon",
                                 "Categories", "MimeType"})
        QVERIFY2(!main.value(QLatin1String(required)).isEmpty(), required);
    QCOMPARE(main.value(QStringLiteral("Type")), QStringLiteral("Application"));
    QCOMPARE(main.value(QStringLiteral("Exec")).split(u' ').first(), QStringLiteral("olvek"));
    QCOMPARE(main.value(QStringLiteral("Icon")), QStringLiteral("olvek"));
    // Lists end with a semicolon.
    QVERIFY(main.value(QStringLiteral("Categories")).endsWith(u';'));
    QVERIFY(main.value(QStringLiteral("MimeType")).endsWith(u';'));
    const QStringList types = main.value(QStringLiteral("MimeType")).split(u';', Qt::SkipEmptyParts);
    QCOMPARE(QSet<QString>(types.begin(), types.end()),
             (QSet<QString>{QStringLiteral("application/x-olvek"), QStringLiteral("application/x-olvek-legacy")}));
}

void TestPackaging::mimeTypes()
{
    QXmlStreamReader xml(readAll(sourceFile(QStringLiteral("packaging/olvek-mime.xml"))));
    QHash<QString, QString> globs;
    QString type;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("mime-type"))
            type = xml.attributes().value(QLatin1String("type")).toString();
        else if (xml.name() == QLatin1String("glob"))
            globs.insert(type, xml.attributes().value(QLatin1String("pattern")).toString());
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    const QHash<QString, QString> expected{{QStringLiteral("application/x-olvek"), QStringLiteral("*.olvx")},
                                           {QStringLiteral("application/x-olvek-legacy"), QStringLiteral("*.olv")}};
    QCOMPARE(globs, expected);
}

void TestPackaging::wellFormedXml_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("root");
    QTest::newRow("manual") << QStringLiteral("docs/manual.html") << QStringLiteral("html");
    QTest::newRow("icon") << QStringLiteral("packaging/olvek.svg") << QStringLiteral("svg");
    QTest::newRow("document types") << QStringLiteral("packaging/olvek-mime.xml") << QStringLiteral("mime-info");
}

void TestPackaging::wellFormedXml()
{
    QFETCH(QString, file);
    QFETCH(QString, root);
    const QByteArray bytes = readAll(sourceFile(file));
    QVERIFY2(!decodeUtf8(bytes).isEmpty(), "not UTF-8");
    QXmlStreamReader xml(bytes);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name().toString(), root);
    while (!xml.atEnd())
        xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString())));
}

// The manual is opened from disk, often without a network: it links only to its own sections and
// loads nothing from outside.
void TestPackaging::manualLinksStayInside()
{
    QXmlStreamReader xml(readAll(sourceFile(QStringLiteral("docs/manual.html"))));
    QSet<QString> ids;
    QStringList targets;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (attributes.hasAttribute(QLatin1String("id")))
            ids.insert(attributes.value(QLatin1String("id")).toString());
        QVERIFY2(!attributes.hasAttribute(QLatin1String("src")), qPrintable(xml.name().toString()));
        if (attributes.hasAttribute(QLatin1String("href"))) {
            const QString href = attributes.value(QLatin1String("href")).toString();
            QVERIFY2(href.startsWith(u'#'), qPrintable(href));
            targets << href.mid(1);
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(!targets.isEmpty());
    for (const QString &target : targets)
        QVERIFY2(ids.contains(target), qPrintable(QStringLiteral("no section #") + target));
}

QTEST_MAIN(TestPackaging)
#include "tst_packaging.moc"
