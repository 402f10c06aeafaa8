#include "Settings.h"

#include <QTemporaryDir>
#include <QTest>

// The settings store: declared keys with defaults, section names matched ignoring case.
class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void defaultsAndSectionCase();
    void valuesSurviveReopen();
};

void SettingsTest::defaultsAndSectionCase() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TalbrinZlv.ini"));
    const SettingKey<QString> folder{QStringLiteral("Setting"), QStringLiteral("PfadZurDAtenbank"),
                                     QStringLiteral("leer")};
    const SettingKey<int> width{QStringLiteral("frmAusgabe"), QStringLiteral("PFensterWidth"), 10275};
    {
        Settings settings(file);
        QCOMPARE(settings.value(folder), QStringLiteral("leer"));
        QCOMPARE(settings.value(width), 10275);
        settings.setValue(folder, QStringLiteral("/daten/"));
        settings.setValue(
            SettingKey<QString>{QStringLiteral("FRMAUSGABE"), QStringLiteral("PFensterWidth"), {}},
            QString());
    }
    Settings reopened(file);
    QCOMPARE(reopened.value(folder), QStringLiteral("/daten/"));
    const SettingKey<QString> otherCase{QStringLiteral("setting"), QStringLiteral("PfadZurDAtenbank"), {}};
    QCOMPARE(reopened.value(otherCase), QStringLiteral("/daten/"));
    // An empty stored number reads as the default, and the section found ignoring case is reused.
    QCOMPARE(reopened.value(width), 10275);
    reopened.setValue(width, 9000);
    QCOMPARE(reopened.value(width), 9000);
}

void SettingsTest::valuesSurviveReopen() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TalbrinZlv.ini"));
    const SettingKey<QString> authority{QStringLiteral("frmAusgabe"), QStringLiteral("NameBehörde"), {}};
    {
        Settings settings(file);
        settings.setValue(authority, QStringLiteral("Landratsamt Wernholm, \"Bauamt\"; Zi. 3"));
        QVERIFY(settings.sync());
    }
    Settings reopened(file);
    QCOMPARE(reopened.value(authority), QStringLiteral("Landratsamt Wernholm, \"Bauamt\"; Zi. 3"));
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
