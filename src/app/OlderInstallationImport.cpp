#include "OlderInstallationImport.h"

#include "Database.h"
#include "DatabaseLocation.h"
#include "Dialogs.h"
#include "ImportReportWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProgressDialog>

namespace {
const QString kTitle = QStringLiteral("Daten einer älteren Installation übernehmen");
}

AccessImport::Result OlderInstallationImport::run(const QString& accessPath, const QString& target,
                                                  Dialogs& dialogs, QWidget* parent) {
    QProgressDialog progress(parent);
    progress.setObjectName(QStringLiteral("frmUebernahme"));
    progress.setWindowTitle(kTitle);
    progress.setCancelButtonText(QStringLiteral("Abbrechen"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(0);
    progress.setLabelText(QStringLiteral("Die Access-Datei wird geöffnet …"));
    progress.setMinimumWidth(420);
    progress.setValue(0);
    const QLocale german(QLocale::German, QLocale::Germany);
    const AccessImport::Result result =
        AccessImport::run(accessPath, target, [&](const QString& step, qint64 done, qint64 total) {
            progress.setLabelText(QStringLiteral("%1\n%2 von %3 Zeilen")
                                      .arg(step, german.toString(done), german.toString(total)));
            progress.setMaximum(int(qMax<qint64>(total, 1)));
            progress.setValue(int(qMin(done, total)));
            // The Access file is read in a process of its own, and this is called while it works, also
            // while it gives nothing: the window answers, and "Abbrechen" ends the reading.
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    progress.reset();
    if (result.outcome != AccessImport::Outcome::Imported) {
        dialogs.inform(parent, kTitle, result.message,
                       result.outcome == AccessImport::Outcome::Cancelled ? Dialogs::Icon::Information
                                                                          : Dialogs::Icon::Critical);
        if (result.report.tables.isEmpty())
            return result;
    }
    QString heading =
        result.outcome == AccessImport::Outcome::Imported
            ? QStringLiteral("Die Daten aus %1 wurden übernommen; alle Zeilen und Summen stimmen "
                             "überein.")
                  .arg(QDir::toNativeSeparators(accessPath))
            : result.message;
    if (!result.movedAside.isEmpty())
        heading += QStringLiteral("\nDie Access-Datei liegt jetzt unter %1.")
                       .arg(QDir::toNativeSeparators(result.movedAside));
    if (!result.reportFile.isEmpty())
        heading += QStringLiteral("\nDer Bericht liegt auch unter %1.")
                       .arg(QDir::toNativeSeparators(result.reportFile));
    auto* window = new ImportReportWindow(
        heading, result.report.text(), AccessImport::reportFileName(QDate::currentDate()), dialogs, parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return result;
}

void OlderInstallationImport::chooseAndRun(const QString& currentLocation, Dialogs& dialogs,
                                           QWidget* parent) {
    const QString accessPath =
        dialogs.chooseFileToOpen(parent, QStringLiteral("Access-Datenbank einer älteren Installation"),
                                 QString(), QStringLiteral("Access-Datenbank (*.mdb *.accdb)"));
    if (accessPath.isEmpty())
        return;
    QString target;
    if (const std::optional<QString> server = DatabaseLocation::serverPlace(currentLocation)) {
        if (dialogs.ask(parent, kTitle,
                        QStringLiteral("Die Daten werden in die Datenbank %1 übernommen; sie muss dazu leer "
                                       "sein. Fortfahren?")
                            .arg(*server),
                        Dialogs::Icon::Question, Dialogs::Answer::No) != Dialogs::Answer::Yes)
            return;
        target = currentLocation;
    } else {
        target =
            dialogs.chooseFileToSave(parent, QStringLiteral("Neue Zelvora-Datenbank"),
                                     QStringLiteral("ZLV.mdb"), QStringLiteral("ZLV- Datenbank (*.mdb)"));
        if (target.isEmpty())
            return;
    }
    run(accessPath, target, dialogs, parent);
}
