#include "app/QtTranslation.h"
#include "app/SettingKeys.h"
#include "app/Settings.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestQtTranslation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wanted_data()
    {
        QTest::addColumn<QStringList>("languages");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<bool>("wanted");
        QTest::newRow("Japanese system") << QStringList{"ja-JP"} << false << true;
        QTest::newRow("Japanese without a country") << QStringList{"ja"} << false << true;
        QTest::newRow("English system") << QStringList{"en-US", "ja-JP"} << false << false;
        QTest::newRow("English system, setting on") << QStringList{"en-US"} << true << true;
        QTest::newRow("C locale") << QStringList{"C"} << false << false;
        QTest::newRow("no languages, setting on") << QStringList{} << true << true;
        QTest::newRow("no languages") << QStringList{} << false << false;
    }

    void wanted()
    {
        QFETCH(QStringList, languages);
        QFETCH(bool, setting);
        QFETCH(bool, wanted);
        QCOMPARE(TQtTranslation::wanted(languages, setting), wanted);
    }

    // The tests run with LANG=C.UTF-8: only the setting makes Qt's buttons Japanese.
    void settingMakesQtsButtonsJapanese()
    {
        QVERIFY2(QFile::exists(TQtTranslation::fileName()), qPrintable(TQtTranslation::fileName()));
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("olvek.ini"));
        QVERIFY(!TQtTranslation::install(*QCoreApplication::instance(), TSettings(ini)));
        QDialogButtonBox before(QDialogButtonBox::Cancel);
        QCOMPARE(before.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancel"));

        TSettings(ini).setValue(SettingKeys::FormJapaneseDialogs, true);
        QVERIFY(TQtTranslation::install(*QCoreApplication::instance(), TSettings(ini)));
        QDialogButtonBox after(QDialogButtonBox::Cancel);
        QVERIFY2(after.button(QDialogButtonBox::Cancel)->text().contains(QStringLiteral("キャンセル")),
                 qPrintable(after.button(QDialogButtonBox::Cancel)->text()));
    }
};

QTEST_MAIN(TestQtTranslation)
#include "tst_qttranslation.moc"
