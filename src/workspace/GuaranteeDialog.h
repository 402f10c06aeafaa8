#pragma once

#include "Security.h"

#include <optional>
#include <QDialog>

class Dialogs;
class QComboBox;
class QLineEdit;
class AmountField;
class Session;

// "Sicherheit" (frmSicherheit): a security a company gave, new or as recorded: company, kind, form, amount,
// guarantor, document number, received on, to be returned on and returned on. Typing the day of acceptance
// proposes the day of return (for defects: acceptance plus the years the order agrees). Saving stores it
// through SecurityOperation; a refusal is told and the entry stays.
class GuaranteeDialog : public QDialog {
    Q_OBJECT
public:
    // companies: the project's companies to choose from for a new security; before: the security as
    // recorded, to change it.
    GuaranteeDialog(Session& session, Dialogs& dialogs, const QString& projectId,
                    const QStringList& companies, const std::optional<Security>& before,
                    const QString& company, QWidget* parent = nullptr);

    bool save();

private:
    std::optional<Security> entered();
    void proposeReturnDay();

    Session& m_session;
    Dialogs& m_dialogs;
    QString m_projectId;
    std::optional<Security> m_before;
    QComboBox* m_company = nullptr;
    QComboBox* m_kind = nullptr;
    QComboBox* m_form = nullptr;
    AmountField* m_amount = nullptr;
    QLineEdit* m_guarantor = nullptr;
    QLineEdit* m_document = nullptr;
    QLineEdit* m_received = nullptr;
    QLineEdit* m_accepted = nullptr;
    QLineEdit* m_returnDue = nullptr;
    QLineEdit* m_returned = nullptr;
};
