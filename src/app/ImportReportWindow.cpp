#include "ImportReportWindow.h"

#include "Dialogs.h"
#include "PrinterAccess.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

ImportReportWindow::ImportReportWindow(const QString& heading, const QString& report,
                                       const QString& suggestedName, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_report(report), m_suggestedName(suggestedName), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmUebernahmeBericht"));
    setWindowTitle(QStringLiteral("Übernahme der Daten einer älteren Installation"));
    // The heading names the file and may name its tables: outside text, shown as it is.
    auto* label = new QLabel(heading, this);
    label->setObjectName(QStringLiteral("lblUeberschrift"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    auto* text = new QPlainTextEdit(report, this);
    text->setObjectName(QStringLiteral("txtBericht"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setAccessibleName(QStringLiteral("Bericht"));
    label->setBuddy(text);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* print = buttons->addButton(QStringLiteral("&Drucken …"), QDialogButtonBox::ActionRole);
    print->setObjectName(QStringLiteral("cmdDrucken"));
    QPushButton* save =
        buttons->addButton(QStringLiteral("Als &Text speichern …"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("cmdSpeichern"));
    QPushButton* close = buttons->addButton(QStringLiteral("&Schließen"), QDialogButtonBox::AcceptRole);
    close->setObjectName(QStringLiteral("cmdSchliessen"));
    close->setDefault(true);
    connect(print, &QPushButton::clicked, this, &ImportReportWindow::print);
    connect(save, &QPushButton::clicked, this, &ImportReportWindow::save);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    resize(760, 520);
}

void ImportReportWindow::print() {
    QString words;
    if (const PrinterAccess* printers = PrinterAccess::module(&words))
        printers->printText(*findChild<QPlainTextEdit*>(), this);
    else
        m_dialogs.inform(this, QStringLiteral("Bericht drucken"), words, Dialogs::Icon::Critical);
}

void ImportReportWindow::save() {
    const QString path = m_dialogs.chooseFileToSave(this, QStringLiteral("Bericht speichern"),
                                                    m_suggestedName, QStringLiteral("Textdateien (*.txt)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    const QByteArray bytes = m_report.toUtf8() + '\n';
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        m_dialogs.inform(this, QStringLiteral("Bericht speichern"),
                         QStringLiteral("Die Datei %1 konnte nicht geschrieben werden.").arg(path),
                         Dialogs::Icon::Critical);
}
