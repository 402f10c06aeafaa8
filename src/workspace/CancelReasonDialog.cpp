#include "CancelReasonDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CancelReasonDialog::CancelReasonDialog(const QString& bookingText, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmStornieren"));
    setWindowTitle(QStringLiteral("Buchung stornieren"));
    auto* intro = new QLabel(
        bookingText + QStringLiteral("\n\nDie Buchung wird durch eine Gegenbuchung des negativen Betrags "
                                     "storniert. Die Gegenbuchung wird wie jede Buchung festgestellt und "
                                     "angeordnet."),
        this);
    intro->setWordWrap(true);
    auto* label = new QLabel(QStringLiteral("&Grund der Stornierung:"), this);
    m_reason = new QLineEdit(this);
    m_reason->setObjectName(QStringLiteral("txtGrund"));
    m_reason->setMaxLength(250);
    label->setBuddy(m_reason);
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* ok = m_buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setText(QStringLiteral("&Stornieren"));
    ok->setEnabled(false);
    m_buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdAbbrechen"));
    m_buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(label);
    layout->addWidget(m_reason);
    layout->addWidget(m_buttons);
    connect(m_reason, &QLineEdit::textChanged, this,
            [ok](const QString& text) { ok->setEnabled(!text.trimmed().isEmpty()); });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setMinimumWidth(420);
}

QString CancelReasonDialog::reason() const {
    return m_reason->text().trimmed();
}
