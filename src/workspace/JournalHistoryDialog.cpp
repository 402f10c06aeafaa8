#include "JournalHistoryDialog.h"

#include "Dialogs.h"
#include "JournalHistoryModel.h"
#include "JournalReading.h"
#include "ReportListView.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

JournalHistoryDialog::JournalHistoryDialog(Session& session, const QString& table, qint64 row,
                                           const QString& caption, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmVerlauf"));
    setWindowTitle(QStringLiteral("Verlauf - ") + caption);
    m_list = new ReportListView(QStringLiteral("lvwVerlauf"), this);
    m_model = new JournalHistoryModel(this);
    m_list->setModel(m_model);
    m_list->setAccessibleName(windowTitle());
    m_list->setColumnWidthsInTwips({2000, 1300, 1800, 1500, 2500, 2500});
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setObjectName(QStringLiteral("cmdSchliessen"));
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("S&chließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(m_list->widthOfColumns() + 40, 360);

    const auto entries = JournalReading(session).forRow(table, row);
    m_ok = entries.ok;
    m_failure = entries.failure;
    m_model->setEntries(entries.value);
}

void JournalHistoryDialog::show(Session& session, Dialogs& dialogs, const QString& table, qint64 row,
                                const QString& caption, QWidget* parent) {
    JournalHistoryDialog dialog(session, table, row, caption, parent);
    if (!dialog.readOk()) {
        dialogs.inform(parent, QStringLiteral("Verlauf"), dialog.failure(), Dialogs::Icon::Critical);
        return;
    }
    dialog.exec();
}
