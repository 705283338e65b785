// Times the settings file's writes: one key at a time (each replaces the file through a synced
// temporary copy) against the same keys inside one update scope, and the reads that follow.
// Then the reads of a start-up on a large file (a long search history): 47 keys read through
// one object, as a use site reads them, against a new object for every key, which reads and
// parses the file for each key. Last, every key of a search history of 5,000 entries read as the
// find dialog reads its history: the section's key names, then each key's value.
// Usage: bench_settingsfile [FOLDER] [HISTORY-ENTRIES]   (defaults: the current folder, 200000)
#include "app/IniFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    const int historyEntries = argc > 2 ? QByteArray(argv[2]).toInt() : 200000;
    QTemporaryDir dir(folder + QStringLiteral("/bench_settingsfile-XXXXXX"));
    if (!dir.isValid())
        return 1;
    constexpr int Keys = 40;
    const QString section = QStringLiteral("EDITOR");
    TIniFile ini(dir.filePath(QStringLiteral("olvek.ini")));

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < Keys; ++i)
        ini.WriteInteger(section, QStringLiteral("Key%1").arg(i), i);
    std::printf("%d writes, one save each: %lld ms\n", Keys, timer.elapsed());

    timer.restart();
    {
        TIniFile::UpdateScope update(ini);
        for (int i = 0; i < Keys; ++i)
            ini.WriteInteger(section, QStringLiteral("Key%1").arg(i), i + 1);
    }
    std::printf("%d writes in one update scope: %lld ms\n", Keys, timer.elapsed());

    timer.restart();
    for (int i = 0; i < Keys; ++i)
        ini.ReadInteger(section, QStringLiteral("Key%1").arg(i), 0);
    std::printf("%d reads: %lld ms\n", Keys, timer.elapsed());

    // The keys a start-up reads, after a search history that makes the file large.
    const QString large = dir.filePath(QStringLiteral("large.ini"));
    {
        QFile file(large);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray text = "[Form]\r\nRestore=1\r\nWidth=900\r\n[FILE]\r\nAutoSaveTime=5\r\n[EDITOR]\r\nFontSize=12\r\n"
                          "[FindRireki]\r\n";
        for (int i = 0; i < historyEntries; ++i)
            text += QByteArray::number(i) + "=検索した言葉その" + QByteArray::number(i) + "\r\n";
        file.write(text);
        std::printf("large file: %lld bytes, %d history entries\n", file.size(), historyEntries);
    }
    constexpr int StartupReads = 47;
    const QString keySections[] = {QStringLiteral("Form"), QStringLiteral("FILE"), QStringLiteral("EDITOR")};
    const auto readStartupKeys = [&](const auto &iniFor) {
        QElapsedTimer elapsed;
        elapsed.start();
        for (int i = 0; i < StartupReads; ++i)
            iniFor().ReadInteger(keySections[i % 3], QStringLiteral("Key%1").arg(i), 0);
        return elapsed.elapsed();
    };
    TIniFile useSite(large);
    std::printf("%d reads through one object: %lld ms\n", StartupReads,
                readStartupKeys([&]() -> const TIniFile & { return useSite; }));
    std::printf("%d reads, a new object (a read of the file) each: %lld ms\n", StartupReads,
                readStartupKeys([&] { return TIniFile(large); }));

    const QString history = dir.filePath(QStringLiteral("history.ini"));
    {
        QFile file(history);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QByteArray text = "[FindRireki]\r\n";
        for (int i = 0; i < 5000; ++i)
            text += QByteArray::number(i) + "=検索した言葉その" + QByteArray::number(i) + "\r\n";
        file.write(text);
    }
    timer.restart();
    const TIniFile historyFile(history);
    qsizetype characters = 0;
    for (const QString &key : historyFile.ReadSection(QStringLiteral("FindRireki")))
        characters += historyFile.ReadString(QStringLiteral("FindRireki"), key, QString()).size();
    std::printf("every key of a 5,000-entry history (%lld characters): %lld ms\n", qint64(characters),
                timer.elapsed());
    return 0;
}
