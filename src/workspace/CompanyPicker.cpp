#include "CompanyPicker.h"

#include <QLabel>
#include <QStringListModel>

CompanyPicker::CompanyPicker(const QString& objectName, QWidget* parent)
    : QComboBox(parent), m_names(new QStringListModel(this)) {
    setObjectName(objectName);
    setModel(m_names);
    setMinimumContentsLength(30);
}

QLabel* CompanyPicker::labelFor(QWidget* field, const QString& caption, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(field);
    return label;
}

QStringList CompanyPicker::names() const {
    return m_names->stringList();
}

void CompanyPicker::setNames(const QStringList& names, int current) {
    m_names->setStringList(names);
    setCurrentIndex(current);
}

bool CompanyPicker::choose(const QString& name) {
    const int index = findText(name, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (index < 0)
        return false;
    setCurrentIndex(index);
    return true;
}

void CompanyPicker::chooseUnlisted(const QString& name) {
    setCurrentIndex(-1);
    m_names->insertRows(0, 1);
    m_names->setData(m_names->index(0), name);
    setCurrentIndex(0);
}
