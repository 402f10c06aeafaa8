#pragma once

#include "Exemption.h"

#include <functional>
#include <optional>
#include <QDate>
#include <QGroupBox>

class Dialogs;
class ExemptionListModel;
class Outcome;
class ReportListView;
class Session;
class QLabel;
class QLineEdit;
class QPushButton;

// The exemption certificates from the construction withholding tax (§48b EStG) of the company chosen in the
// company register: a small list, the fields of the certificate selected in it, the buttons to add,
// change and remove one, and how the company stands today: a certificate running out within 30 days in
// orange with its last day, none valid in red.
class ExemptionPanel : public QGroupBox {
    Q_OBJECT
public:
    ExemptionPanel(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    // Shows the certificates of company companyId; none: no company chosen, nothing to edit.
    void showCompany(std::optional<qint64> companyId);
    // Disables adding, changing and removing for a login without the right to record.
    void allowWriting(bool allowed, const QString& rightWord);

signals:
    // A certificate was added, changed or removed.
    void changed();

private:
    void refill();
    void takeSelected();
    std::optional<Exemption> fromFields();
    void add();
    void change();
    void remove();
    void finish(const Outcome& outcome);

    Session& m_session;
    Dialogs& m_dialogs;
    std::optional<qint64> m_company;
    QList<Exemption> m_exemptions;
    ExemptionListModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_taxOffice = nullptr;
    QLineEdit* m_validFrom = nullptr;
    QLineEdit* m_validTo = nullptr;
    QLineEdit* m_checkedOn = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_remove = nullptr;
    bool m_mayWrite = true;
};
