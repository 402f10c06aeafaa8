#include "QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

// Qt's message boxes as the program shows them: wide enough for their title, the three-way question
// with "Abbrechen" as its escape.
class QtDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void messageBoxShowsItsTitle_data() {
        QTest::addColumn<bool>("withCancel");
        QTest::addColumn<QString>("buttons");
        QTest::newRow("question") << false << "";
        QTest::newRow("question with Abbrechen") << true << "Abbrechen";
    }
    void messageBoxShowsItsTitle() {
        QFETCH(bool, withCancel);
        QFETCH(QString, buttons);
        const QString title = QStringLiteral("Buchung bearbeiten oder ändern");
        int width = 0;
        int titleWidth = 0;
        QString cancel;
        QTimer poll;
        poll.setInterval(0);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            QFont bold = box->font();
            bold.setBold(true);
            titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
            width = box->width();
            if (QAbstractButton* button = box->button(QMessageBox::Cancel))
                cancel = button->text();
            box->reject();
        });
        poll.start();
        QtDialogs dialogs;
        const Dialogs::Answer answer =
            withCancel ? dialogs.askWithCancel(nullptr, title, "Nr. '1' bearbeiten?", Dialogs::Icon::Question,
                                               Dialogs::Answer::Yes)
                       : dialogs.ask(nullptr, title, "Nr. '1' bearbeiten?", Dialogs::Icon::Question,
                                     Dialogs::Answer::Yes);
        QCOMPARE(answer, withCancel ? Dialogs::Answer::Cancel : Dialogs::Answer::No);
        QCOMPARE(cancel, buttons);
        // The window system draws the title beside the window's icon and its buttons.
        QVERIFY2(width > titleWidth + 100, qPrintable(QStringLiteral("%1 <= %2").arg(width).arg(titleWidth)));
    }
};

QTEST_MAIN(QtDialogsTest)
#include "QtDialogsTest.moc"
