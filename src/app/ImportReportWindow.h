#pragma once

#include <QDialog>
#include <QString>

class Dialogs;

// The report of an import (frmUebernahmeBericht): both sides' figures, the values that could not be
// read and what was left out, to read, print or save as a text file.
class ImportReportWindow : public QDialog {
    Q_OBJECT
public:
    // suggestedName: the file name the save dialog proposes.
    ImportReportWindow(const QString& heading, const QString& report, const QString& suggestedName,
                       Dialogs& dialogs, QWidget* parent = nullptr);

    QString report() const { return m_report; }

private:
    void print();
    void save();

    QString m_report;
    QString m_suggestedName;
    Dialogs& m_dialogs;
};
