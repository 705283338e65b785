// Times the settings file's writes: one key at a time (each replaces the file through a synced
// temporary copy) against the same keys inside one update scope, and the reads that follow.
// Usage: bench_settingsfile [FOLDER]   (default: the current folder)
#include "app/IniFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
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
    return 0;
}
