#pragma once

#include "OrderTerms.h"

#include <QDialog>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLineEdit;
class Session;

// "Zahlungsbedingungen" (frmZahlungsbedingung) of a company's order: VOB/B, the securities for performance
// and for defects with their form, the years until the security for defects goes back, Skonto and the days
// to pay. Saving stores them through OrderTermsOperation; a refusal is told and the entry stays.
class OrderTermsDialog : public QDialog {
    Q_OBJECT
public:
    OrderTermsDialog(Session& session, Dialogs& dialogs, const QString& projectId, const QString& company,
                     int runningNumber, QWidget* parent = nullptr);

    // Stores the entry; true when it was stored (the dialog then closes).
    bool save();

private:
    void show(const OrderTerms& terms);
    // The entry as terms; nullopt, with the field told, when a figure cannot be read.
    std::optional<OrderTerms> entered();

    Session& m_session;
    Dialogs& m_dialogs;
    QString m_projectId;
    QString m_company;
    int m_runningNumber;
    QCheckBox* m_vob = nullptr;
    QLineEdit* m_performance = nullptr;
    QComboBox* m_performanceForm = nullptr;
    QLineEdit* m_defects = nullptr;
    QComboBox* m_defectsForm = nullptr;
    QLineEdit* m_years = nullptr;
    QLineEdit* m_discount = nullptr;
    QLineEdit* m_discountDays = nullptr;
    QComboBox* m_daysToPay = nullptr;
};
