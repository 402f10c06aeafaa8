#include "CompanyRecordPanel.h"

#include "Dialogs.h"
#include "Outcome.h"
#include "ReportListView.h"
#include "Twips.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CompanyRecordPanel::CompanyRecordPanel(Session& session, Dialogs& dialogs, const QString& caption,
                                       const QString& messageTitle, const QString& listName,
                                       const Button& add, const Button& change, const Button& remove,
                                       QWidget* parent)
    : QGroupBox(caption, parent), m_session(session), m_dialogs(dialogs),
      m_messageTitle(messageTitle), m_buttons{add, change, remove} {
    m_list = new ReportListView(listName, this);
}

QLineEdit* CompanyRecordPanel::field(const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    m_fields += edit;
    return edit;
}

void CompanyRecordPanel::arrange(QGridLayout* fields, int fieldsShare) {
    m_list->setAccessibleName(title());
    // Made after the fields, so that the tab key reaches the fields first.
    const auto button = [this](const Button& made, void (CompanyRecordPanel::*clicked)()) {
        auto* pushButton = new QPushButton(made.caption, this);
        pushButton->setObjectName(made.name);
        pushButton->setAccessibleName(made.caption);
        connect(pushButton, &QPushButton::clicked, this, clicked);
        return pushButton;
    };
    m_add = button(m_buttons[0], &CompanyRecordPanel::add);
    m_change = button(m_buttons[1], &CompanyRecordPanel::change);
    m_remove = button(m_buttons[2], &CompanyRecordPanel::remove);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_change);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 4);
    layout->addLayout(fields, fieldsShare);
    layout->addLayout(buttons);
    m_list->setMaximumHeight(Twips::toPixelsY(1300, *this));
}

void CompanyRecordPanel::showCompany(std::optional<qint64> companyId) {
    const bool same = companyId == m_company;
    m_company = companyId;
    setEnabled(companyId.has_value());
    setToolTip(companyId ? QString() : QStringLiteral("Wählen Sie eine Firma in der Liste."));
    if (!same)
        clearFields();
    refill();
}

std::optional<int> CompanyRecordPanel::selected(qsizetype count) const {
    const int row = m_list->selectedRow();
    if (row < 0 || row >= count)
        return std::nullopt;
    return row;
}

void CompanyRecordPanel::finish(const Outcome& outcome) {
    if (!outcome.ok()) {
        warn(outcome.text());
        if (outcome.kind() == Outcome::Kind::Refused)
            return;
    } else {
        clearFields();
    }
    refill();
    written();
}

void CompanyRecordPanel::warn(const QString& text) {
    m_dialogs.inform(this, m_messageTitle, text, Dialogs::Icon::Warning);
}

void CompanyRecordPanel::clearFields() {
    for (QLineEdit* edit : std::as_const(m_fields))
        edit->clear();
}
