#pragma once

#include "Money.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QStringListModel;
struct WorkspaceContext;

// The workspace's tab " Firma   ": the choice of one company, either from the whole register or, with
// "Alle Firmen anzeigen" off, from the companies booked in the project, with its trade, cost group and
// the project's total of payments.
class CompanyTab : public QWidget {
    Q_OBJECT
public:
    CompanyTab(WorkspaceContext& context, QWidget* parent = nullptr);

    bool showsAllCompanies() const;
    void setShowsAllCompanies(bool all);
    // Lists the companies offered, selecting the first.
    void setCompanies(const QStringList& names);
    QStringList companies() const;
    QString company() const;
    // Selects the company when it is listed, showing its trade and cost group.
    bool chooseCompany(const QString& name);
    void setProjectTotal(Money total);

    // Refills the company's estimate rows; the estimate list lives on this tab.
    void List2Fuellen();

signals:
    // "Alle Firmen anzeigen" was switched by the user.
    void showAllToggled(bool all);
    void companyChosen(const QString& company);

private:
    void showCompany(const QString& name);

    WorkspaceContext& m_context;
    QComboBox* m_company = nullptr;
    QStringListModel* m_names = nullptr;
    QCheckBox* m_all = nullptr;
    QLineEdit* m_trade = nullptr;
    QLineEdit* m_costGroup = nullptr;
    QLineEdit* m_projectTotal = nullptr;
};
