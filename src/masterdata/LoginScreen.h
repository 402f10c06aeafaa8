#pragma once

#include "Right.h"

#include <QWidget>

class Dialogs;
class LoginListModel;
class Outcome;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;
class Session;

// "Benutzer und Rechte" (frmBenutzer): the logins of the server's database with their rights and
// whether they are locked, set and cleared as check marks in the list; a new login with its password
// typed twice, which is handed on and then forgotten.
class LoginScreen : public QWidget {
    Q_OBJECT
public:
    LoginScreen(Session& session, Dialogs& dialogs, QWidget* parent = nullptr);
    ~LoginScreen() override;

    // Reads the logins afresh; false, with the user told, when they could not be read.
    bool refill();
    // "Anmeldung hinzufügen": adds the login of the entry fields.
    void addLogin();

private:
    void buildUi();
    void changeRight(const QString& name, Right right, bool held);
    void changeLock(const QString& name, bool locked);
    // Tells a failure and reads the list afresh; true when done.
    bool shown(const Outcome& outcome);

    Session& m_session;
    Dialogs& m_dialogs;
    LoginListModel* m_model = nullptr;
    QTreeView* m_list = nullptr;
    QLabel* m_obstacle = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_password = nullptr;
    QLineEdit* m_repeated = nullptr;
    QPushButton* m_add = nullptr;
};
