#pragma once

#include "LoginAdministration.h"

#include <QAbstractTableModel>
#include <QList>

// The list of "Benutzer und Rechte": each login with its rights and whether it is locked as check
// marks, which the administering login sets and clears in the list itself.
class LoginListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Column { Name, Read, Record, Confirm, Order, Administer, Locked, Count };

    explicit LoginListModel(QObject* parent = nullptr);

    void setLogins(const QList<LoginAdministration::Login>& logins);
    // Whether the check marks can be changed (the login may administer logins).
    void setEditable(bool editable);
    QString nameAt(int row) const;
    static std::optional<Right> rightOf(Column column);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A check mark changed by the user is not stored here: it is asked for by the signals.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    void rightChangeRequested(const QString& name, Right right, bool held);
    void lockRequested(const QString& name, bool locked);

private:
    bool checked(const LoginAdministration::Login& login, Column column) const;

    QList<LoginAdministration::Login> m_logins;
    bool m_editable = false;
};
