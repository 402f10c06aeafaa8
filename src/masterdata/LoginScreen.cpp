#include "LoginScreen.h"

#include "Dialogs.h"
#include "LoginAdministration.h"
#include "LoginListModel.h"
#include "Twips.h"
#include "WindowPlacement.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Benutzer und Rechte");
} // namespace

LoginScreen::LoginScreen(Session& session, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), m_session(session), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmBenutzer"));
    setWindowTitle(kTitle);
    buildUi();
    WindowPlacement::fitIntoScreen(*this, Twips::toPixels(11000, 7500, *this));
    const QString obstacle = LoginAdministration(m_session).obstacle();
    m_obstacle->setText(obstacle);
    m_obstacle->setVisible(!obstacle.isEmpty());
    m_model->setEditable(obstacle.isEmpty());
    for (QWidget* field : {static_cast<QWidget*>(m_name), static_cast<QWidget*>(m_password),
                           static_cast<QWidget*>(m_repeated), static_cast<QWidget*>(m_add)})
        field->setEnabled(obstacle.isEmpty());
    refill();
}

LoginScreen::~LoginScreen() = default;

void LoginScreen::buildUi() {
    m_obstacle = new QLabel(this);
    m_obstacle->setObjectName(QStringLiteral("lblHinweis"));
    m_obstacle->setWordWrap(true);

    m_model = new LoginListModel(this);
    m_list = new QTreeView(this);
    m_list->setObjectName(QStringLiteral("lvwBenutzer"));
    m_list->setAccessibleName(QStringLiteral("Anmeldungen und ihre Rechte"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setModel(m_model);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->header()->setStretchLastSection(false);
    connect(m_model, &LoginListModel::rightChangeRequested, this, &LoginScreen::changeRight);
    connect(m_model, &LoginListModel::lockRequested, this, &LoginScreen::changeLock);

    auto* addBox = new QGroupBox(QStringLiteral("Neue Anmeldung"), this);
    auto* form = new QFormLayout(addBox);
    const auto field = [addBox](const QString& name, bool secret) {
        auto* edit = new QLineEdit(addBox);
        edit->setObjectName(name);
        if (secret)
            edit->setEchoMode(QLineEdit::Password);
        return edit;
    };
    m_name = field(QStringLiteral("txtName"), false);
    m_password = field(QStringLiteral("txtPasswort"), true);
    m_repeated = field(QStringLiteral("txtPasswortWiederholung"), true);
    form->addRow(QStringLiteral("&Name:"), m_name);
    form->addRow(QStringLiteral("&Passwort:"), m_password);
    form->addRow(QStringLiteral("Passwort &wiederholen:"), m_repeated);
    m_add = new QPushButton(QStringLiteral("Anmeldung &hinzufügen"), addBox);
    m_add->setObjectName(QStringLiteral("cmdHinzufuegen"));
    m_add->setToolTip(QStringLiteral("Legt die Anmeldung mit dem Recht „lesen“ an"));
    form->addRow(m_add);
    connect(m_add, &QPushButton::clicked, this, &LoginScreen::addLogin);
    connect(m_repeated, &QLineEdit::returnPressed, this, &LoginScreen::addLogin);

    auto* close = new QPushButton(QStringLiteral("S&chließen"), this);
    close->setObjectName(QStringLiteral("cmdSchliessen"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_obstacle);
    layout->addWidget(m_list, 1);
    layout->addWidget(addBox);
    layout->addWidget(close, 0, Qt::AlignRight);
}

bool LoginScreen::refill() {
    const Reading<QList<LoginAdministration::Login>> logins = LoginAdministration(m_session).logins();
    if (!logins.ok) {
        m_dialogs.inform(this, kTitle, logins.failure, Dialogs::Icon::Warning);
        return false;
    }
    m_model->setLogins(logins.value);
    return true;
}

bool LoginScreen::shown(const Outcome& outcome) {
    if (!outcome.ok())
        m_dialogs.inform(this, kTitle, outcome.text(), Dialogs::Icon::Warning);
    refill();
    return outcome.ok();
}

void LoginScreen::addLogin() {
    const Outcome added =
        LoginAdministration(m_session).add(m_name->text(), m_password->text(), m_repeated->text());
    // The password is forgotten whatever came of it; the name stays for a second try.
    m_password->clear();
    m_repeated->clear();
    if (shown(added))
        m_name->clear();
}

void LoginScreen::changeRight(const QString& name, Right right, bool held) {
    shown(LoginAdministration(m_session).setRight(name, right, held));
}

void LoginScreen::changeLock(const QString& name, bool locked) {
    shown(LoginAdministration(m_session).setLocked(name, locked));
}
