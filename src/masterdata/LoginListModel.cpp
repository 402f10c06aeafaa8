#include "LoginListModel.h"

LoginListModel::LoginListModel(QObject* parent) : QAbstractTableModel(parent) {}

void LoginListModel::setLogins(const QList<LoginAdministration::Login>& logins) {
    beginResetModel();
    m_logins = logins;
    endResetModel();
}

void LoginListModel::setEditable(bool editable) {
    beginResetModel();
    m_editable = editable;
    endResetModel();
}

QString LoginListModel::nameAt(int row) const {
    return row >= 0 && row < m_logins.size() ? m_logins.at(row).name : QString();
}

std::optional<Right> LoginListModel::rightOf(Column column) {
    switch (column) {
    case Column::Read:
        return Right::Read;
    case Column::Record:
        return Right::Record;
    case Column::Confirm:
        return Right::Confirm;
    case Column::Order:
        return Right::Order;
    case Column::Administer:
        return Right::Administer;
    case Column::Name:
    case Column::Locked:
    case Column::Count:
        break;
    }
    return std::nullopt;
}

int LoginListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_logins.size());
}

int LoginListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(Column::Count);
}

bool LoginListModel::checked(const LoginAdministration::Login& login, Column column) const {
    if (column == Column::Locked)
        return login.locked;
    const std::optional<Right> right = rightOf(column);
    return right && login.rights.contains(*right);
}

QVariant LoginListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_logins.size())
        return {};
    const LoginAdministration::Login& login = m_logins.at(index.row());
    const auto column = Column(index.column());
    if (column == Column::Name)
        return role == Qt::DisplayRole || role == Qt::AccessibleTextRole ? QVariant(login.name) : QVariant();
    const bool on = checked(login, column);
    if (role == Qt::CheckStateRole)
        return on ? Qt::Checked : Qt::Unchecked;
    // Screen readers and the list's text read "ja" or "nein" beside the check mark.
    if (role == Qt::AccessibleTextRole)
        return on ? QStringLiteral("ja") : QStringLiteral("nein");
    return {};
}

QVariant LoginListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    const auto column = Column(section);
    if (column == Column::Name)
        return QStringLiteral("Anmeldung");
    if (column == Column::Locked)
        return QStringLiteral("gesperrt");
    const std::optional<Right> right = rightOf(column);
    return right ? rightWord(*right) : QString();
}

Qt::ItemFlags LoginListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid() && Column(index.column()) != Column::Name)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

bool LoginListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!m_editable || role != Qt::CheckStateRole || !index.isValid() || index.row() >= m_logins.size())
        return false;
    const QString name = m_logins.at(index.row()).name;
    const bool on = value.toInt() == Qt::Checked;
    const auto column = Column(index.column());
    if (column == Column::Locked)
        emit lockRequested(name, on);
    else if (const std::optional<Right> right = rightOf(column))
        emit rightChangeRequested(name, *right, on);
    return false;
}
