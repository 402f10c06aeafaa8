#pragma once

#include "CompanyRecordPanel.h"
#include "Exemption.h"

class ExemptionListModel;
class QLabel;
class QLineEdit;

// The exemption certificates from the construction withholding tax (§48b EStG) of the company chosen in the
// company register: a small list, the fields of the certificate selected in it, the buttons to add,
// change and remove one, and how the company stands today: a certificate running out within 30 days in
// orange with its last day, none valid in red.
class ExemptionPanel : public CompanyRecordPanel {
    Q_OBJECT
public:
    ExemptionPanel(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);

    // Disables adding, changing and removing for a login without the right to record.
    void allowWriting(bool allowed, const QString& rightWord);

signals:
    // A certificate was added, changed or removed.
    void changed();

private:
    void refill() override;
    void takeSelected();
    std::optional<Exemption> fromFields();
    void add() override;
    void change() override;
    void remove() override;
    void written() override { emit changed(); }

    QList<Exemption> m_exemptions;
    ExemptionListModel* m_model = nullptr;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_taxOffice = nullptr;
    QLineEdit* m_validFrom = nullptr;
    QLineEdit* m_validTo = nullptr;
    QLineEdit* m_checkedOn = nullptr;
    QLabel* m_status = nullptr;
    bool m_mayWrite = true;
};
