#include "Settings.h"

#include <QTemporaryDir>
#include <QTest>

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void valuesAreFoundInTheirSectionWhateverItsCase();
};

void SettingsTest::valuesAreFoundInTheirSectionWhateverItsCase() {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("TalbrinZlv.ini"));
    const SettingKey<QString> authority{QStringLiteral("Setting"), QStringLiteral("NameBehörde"),
                                        QStringLiteral("leer")};
    const SettingKey<int> width{QStringLiteral("frmAusgabe"), QStringLiteral("PFensterWidth"), 10275};
    const QString text = QStringLiteral("Landratsamt Wernholm, \"Bauamt\"; Zi. 3");
    {
        Settings settings(file);
        QCOMPARE(settings.value(authority), QStringLiteral("leer"));
        settings.setValue(SettingKey<QString>{QStringLiteral("SETTING"), authority.key, {}}, text);
        settings.setValue(SettingKey<QString>{QStringLiteral("FRMAUSGABE"), width.key, {}}, QString());
    }

    Settings reopened(file);

    QCOMPARE(reopened.value(authority), text);
    QCOMPARE(reopened.value(width), 10275);
    reopened.setValue(width, 9000);
    QCOMPARE(reopened.value(SettingKey<int>{QStringLiteral("FrmAusgabe"), width.key, 0}), 9000);
}

QTEST_GUILESS_MAIN(SettingsTest)
#include "SettingsTest.moc"
