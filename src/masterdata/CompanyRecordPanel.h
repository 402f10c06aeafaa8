#pragma once

#include <array>
#include <optional>
#include <QGroupBox>

class Dialogs;
class Outcome;
class ReportListView;
class Session;
class QGridLayout;
class QLineEdit;
class QPushButton;

// A panel of the company register for records the chosen company has several of: a small list, the fields
// of the record selected in it, and the buttons to add, change and remove one, side by side.
class CompanyRecordPanel : public QGroupBox {
public:
    // Shows the records of company companyId; none: no company chosen, nothing to edit.
    void showCompany(std::optional<qint64> companyId);

protected:
    struct Button {
        QString name;
        QString caption;
    };
    // messageTitle: the title of the panel's messages. Each button calls add(), change() or remove().
    CompanyRecordPanel(Session& session, Dialogs& dialogs, const QString& caption,
                       const QString& messageTitle, const QString& listName, const Button& add,
                       const Button& change, const Button& remove, QWidget* parent);

    // A field of the panel, its entries cleared when another company is chosen and after a write.
    QLineEdit* field(const QString& name);
    // Makes the buttons and lays out the list, the fields and the buttons beside each other; the list and
    // the fields share the width as 4 to fieldsShare. Once the fields are made.
    void arrange(QGridLayout* fields, int fieldsShare);
    // The row selected in the list when it shows one of count records; nullopt otherwise.
    std::optional<int> selected(qsizetype count) const;
    // After a write: one that failed is told, and a refused entry is kept to be mended; otherwise the
    // fields are cleared. The list is refilled either way, unless refused.
    void finish(const Outcome& outcome);
    void warn(const QString& text);

    // Fills the list with the chosen company's records.
    virtual void refill() = 0;
    virtual void add() = 0;
    virtual void change() = 0;
    virtual void remove() = 0;
    // After a write that was not refused, the list refilled.
    virtual void written() {}

    Session& m_session;
    Dialogs& m_dialogs;
    std::optional<qint64> m_company;
    ReportListView* m_list = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_change = nullptr;
    QPushButton* m_remove = nullptr;

private:
    void clearFields();

    QString m_messageTitle;
    std::array<Button, 3> m_buttons;
    QList<QLineEdit*> m_fields;
};
