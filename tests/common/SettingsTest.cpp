#include "Settings.h"

#include <QTemporaryDir>
#include <QTest>

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void valuesAreFoundInTheirSectionWhateverItsCase() {
        QTemporaryDir dir;
        const QString file = dir.filePath("TalbrinZlv.ini");
        const SettingKey<QString> authority{"Setting", "NameBehörde", "leer"};
        const SettingKey<int> width{"frmAusgabe", "PFensterWidth", 10275};
        const QString text = "Landratsamt Wernholm, \"Bauamt\"; Zi. 3";
        Settings(file).setValue(SettingKey<QString>{"SETTING", authority.key, {}}, text);
        Settings(file).setValue(SettingKey<QString>{"FRMAUSGABE", width.key, {}}, QString());

        Settings reopened(file);

        QCOMPARE(reopened.value(authority), text);
        QCOMPARE(reopened.value(width), 10275);
        reopened.setValue(width, 9000);
        QCOMPARE(reopened.value(SettingKey<int>{"FrmAusgabe", width.key, 0}), 9000);
    }
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
