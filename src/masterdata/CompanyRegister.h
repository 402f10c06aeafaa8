#pragma once

#include "Company.h"
#include "EditSession.h"
#include "ListSnapshot.h"

#include <memory>
#include <QList>
#include <QString>
#include <QWidget>

class BankAccountPanel;
class ExemptionPanel;
class CompanyListModel;
class ChangeWatch;
class Session;
class Dialogs;
class ReportListView;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QToolButton;

// The company register (frmFirma): lists, searches, adds, changes and deletes companies.
class CompanyRegister : public QWidget, private EditableRecords {
    Q_OBJECT
public:
    CompanyRegister(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);
    ~CompanyRegister() override;

    // Refills the company list with all companies, in order of entry, and shows their count.
    void EINLESEN();
    // The company list as it shows now, in display order, with the search text and the count of the
    // status bar, for the company list report.
    ListSnapshot snapshot() const;

signals:
    void printPreviewRequested();
    // The register is closing; the screens opened from it close with it.
    void closing();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildUi();
    // Disables what the login lacks the right for.
    void mirrorRights();
    QWidget* buildEntryFields();
    void fillChoices();
    void search();
    void showCompanies(Reading<QList<Company>> companies);
    void removeSelected();
    void sortByHeading(int column);
    Company companyFromFields() const;
    // The bank accounts and certificates shown are the selected company's.
    void followSelection();
    // Marks the companies whose certificates run out.
    void markCertificates();

    qint64 idAt(int row) const override;
    Reading<std::optional<AsLoaded>> loadIntoFields(qint64 id) override;
    Reading<bool> exists(qint64 id) override;
    Reading<bool> hasNamesake(qint64 id, const QString& newName) override;
    bool sameName(const QString& oldName, const QString& newName) const override;
    QString renameTitle() const override;
    QString renameQuestion(const QString& newName) const override;
    Outcome add() override;
    Outcome store(qint64 id, const QString& oldName, const AsLoaded& loaded) override;
    Outcome remove(qint64 id) override;
    void clearFields() override;
    void refill() override;

    Session& m_session;
    Dialogs& m_dialogs;
    ChangeWatch* m_watch = nullptr;
    CompanyListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QList<QLineEdit*> m_fields;
    QComboBox* m_trade = nullptr;
    QComboBox* m_costGroup = nullptr;
    QLineEdit* m_search = nullptr;
    QRadioButton* m_anywhere = nullptr;
    QRadioButton* m_fromLeft = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QToolButton* m_print = nullptr;
    QToolButton* m_quit = nullptr;
    QStatusBar* m_status = nullptr;
    QLabel* m_count = nullptr;
    BankAccountPanel* m_bankAccounts = nullptr;
    ExemptionPanel* m_exemptions = nullptr;

    EditSession* m_editing = nullptr;

    Qt::SortOrder m_order = Qt::AscendingOrder;
};
