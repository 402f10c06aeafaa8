#pragma once

#include <QComboBox>
#include <QStringList>

class QLabel;
class QStringListModel;

// The company picker of the entry and company tabs: the names listed, the one chosen found by its exact
// spelling, and a company no longer in the register shown first when a row of it is corrected.
class CompanyPicker : public QComboBox {
    Q_OBJECT
public:
    CompanyPicker(const QString& objectName, QWidget* parent);

    // A label for field, set as its buddy, so that the field's accessible name is the label's text.
    static QLabel* labelFor(QWidget* field, const QString& caption, QWidget* parent);

    QStringList names() const;
    // Lists names with the one at current chosen (-1: none).
    void setNames(const QStringList& names, int current);
    // Chooses name as listed; false when it is not listed.
    bool choose(const QString& name);
    // Lists name first and chooses it.
    void chooseUnlisted(const QString& name);

    // The combo box's own hint, fitted to the widest name, with the names measured once for both pickers.
    QSize sizeHint() const override;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QStringListModel* m_names = nullptr;
    mutable QSize m_sizeHint;
    bool m_shownOnce = false;
};
