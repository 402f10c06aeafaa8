#pragma once

#include "AccessImport.h"

class Dialogs;
class QWidget;

// Imports an older installation's Access file for the clerk: a progress dialog that shows the table and
// the rows done and can be cancelled, then the report window, or the reason why nothing was imported.
class OlderInstallationImport {
public:
    static AccessImport::Result run(const QString& accessPath, const QString& target, Dialogs& dialogs,
                                    QWidget* parent);
    // Asks for an Access file and for a new database file (or, when the program works on a server, for
    // leave to fill the server's empty database) and imports it.
    static void chooseAndRun(const QString& currentLocation, Dialogs& dialogs, QWidget* parent);
};
