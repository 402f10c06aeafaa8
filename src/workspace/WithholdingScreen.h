#pragma once

#include "ListSnapshot.h"
#include "WithheldPayment.h"

#include <QPointer>
#include <QWidget>

class ChangeWatch;
class Dialogs;
class ExportScreen;
class QLabel;
class QPushButton;
class QSpinBox;
class ReportListView;
class Session;
class Settings;
class WithholdingListModel;

// "Bauabzugsteuer" (frmBauabzugsteuer): the construction withholding tax kept back from the payments of a
// year, per month and tax office with the day each sum is due (§48a Abs. 1 EStG) and the payments under it;
// printed and exported like the other lists, and for the payments chosen the statement each company
// receives (§48a Abs. 2 EStG). Follows the changes of other workstations.
class WithholdingScreen : public QWidget {
    Q_OBJECT
public:
    WithholdingScreen(Session& session, Dialogs& dialogs, Settings& settings, QWidget* parent = nullptr);
    ~WithholdingScreen() override;

    // Reads the year's payments afresh; false when they could not be read (the user was told).
    bool refill();
    ListSnapshot snapshot() const;

signals:
    void printRequested();
    void statementPrintRequested(const ListSnapshot& statements);

private:
    void buildUi();
    QList<WithheldPayment> chosenPayments() const;
    void updateButtons();
    void openExport();
    void printStatements();

    Session& m_session;
    Dialogs& m_dialogs;
    Settings& m_settings;
    ChangeWatch* m_watch = nullptr;
    WithholdingListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QSpinBox* m_year = nullptr;
    QLabel* m_sum = nullptr;
    QPushButton* m_statement = nullptr;
    QPushButton* m_refresh = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_close = nullptr;
    QPointer<ExportScreen> m_exportScreen;
};
