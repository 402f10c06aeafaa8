#include "QtDialogs.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>

namespace {
constexpr QSize kFileDialogSize(860, 540);
constexpr int kColumnPadding = 24;

// The detail view's columns wide enough for their longest German texts; the name takes the rest.
void fitDetailColumns(QFileDialog& dialog) {
    auto* view = dialog.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view)
        return;
    const QFontMetrics metrics(view->font());
    const QStringList widest = {QStringLiteral("1.023,99 KiB"), QStringLiteral("JET-Datenbank"),
                                QStringLiteral("31.12.99 23:59")};
    QHeaderView* header = view->header();
    for (int column = 1; column <= int(widest.size()); ++column) {
        const int text = metrics.horizontalAdvance(widest.at(column - 1));
        const int heading =
            metrics.horizontalAdvance(view->model()->headerData(column, Qt::Horizontal).toString());
        header->resizeSection(column, qMax(text, heading) + kColumnPadding);
    }
    header->setSectionResizeMode(0, QHeaderView::Stretch);
}

QMessageBox::Icon toQt(Dialogs::Icon icon) {
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// Texts of a message box may quote outside files (a seller's name, an invoice number, a file name): they
// are shown as they are, never as markup that could make a link or hide the question.
void showPlain(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
}

// A message box is as wide as its text; its title, which the window system draws beside the window's
// icon and buttons, may be longer and would be cut. The box is widened to show the whole title.
void fitTitle(QMessageBox& box) {
    constexpr int kTitleBarButtons = 160;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int wanted = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarButtons;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(wanted, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(),
                      0, 1, grid->columnCount());
}

QMessageBox::StandardButton toQt(Dialogs::Answer answer) {
    switch (answer) {
    case Dialogs::Answer::Yes:
        return QMessageBox::Yes;
    case Dialogs::Answer::No:
        return QMessageBox::No;
    case Dialogs::Answer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

// Qt's own file dialog, on every desktop: it speaks the program's German, and it matches the filter
// pattern without regard to case, as a file on disk may be spelled "Zlv.mdb"; native dialogs on some
// desktops do neither. Its first size leaves room for the columns of size, type and date.
// A save dialog adds the chosen filter's extension to a name typed without one, so that it asks before
// replacing the file of that name.
QString runFileDialog(QWidget* parent, const QString& title, const QString& path, const QString& filter,
                      QFileDialog::AcceptMode mode, QString* chosenFilter = nullptr) {
    QFileDialog dialog(parent, title, path, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.resize(kFileDialogSize.boundedTo(dialog.screen()->availableGeometry().size()));
    fitDetailColumns(dialog);
    if (mode == QFileDialog::AcceptSave) {
        const auto useSuffixOf = [&dialog](const QString& nameFilter) {
            dialog.setDefaultSuffix(Dialogs::withFilterExtension(QString(), nameFilter).mid(1));
        };
        useSuffixOf(dialog.selectedNameFilter());
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, useSuffixOf);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (chosenFilter)
        *chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}
} // namespace

Dialogs::Answer QtDialogs::ask(QWidget* parent, const QString& title, const QString& text, Icon icon,
                               Answer defaultButton) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(toQt(defaultButton));
    box.setEscapeButton(QMessageBox::No);
    showPlain(box);
    fitTitle(box);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

Dialogs::Answer QtDialogs::askWithCancel(QWidget* parent, const QString& title, const QString& text,
                                         Icon icon, Answer defaultButton) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent);
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    box.setDefaultButton(toQt(defaultButton));
    box.setEscapeButton(QMessageBox::Cancel);
    showPlain(box);
    fitTitle(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

int QtDialogs::choose(QWidget* parent, const QString& title, const QString& text, Icon icon,
                      const QStringList& buttons) {
    QMessageBox box(toQt(icon), title, text, QMessageBox::NoButton, parent);
    QList<QAbstractButton*> pressable;
    for (const QString& label : buttons)
        pressable += box.addButton(label, QMessageBox::ActionRole);
    if (pressable.isEmpty())
        return -1;
    box.setDefaultButton(qobject_cast<QPushButton*>(pressable.constFirst()));
    box.setEscapeButton(pressable.constLast());
    showPlain(box);
    fitTitle(box);
    box.exec();
    const qsizetype pressed = pressable.indexOf(box.clickedButton());
    return int(pressed < 0 ? pressable.size() - 1 : pressed);
}

bool QtDialogs::askLogin(QWidget* parent, const QString& server, QString& user, QString& password) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmAnmeldung"));
    dialog.setWindowTitle(QStringLiteral("Anmeldung am Datenbankserver"));
    auto* form = new QFormLayout(&dialog);
    auto* serverLabel = new QLabel(QStringLiteral("Server: %1").arg(server), &dialog);
    serverLabel->setTextFormat(Qt::PlainText);
    form->addRow(serverLabel);
    auto* userField = new QLineEdit(user, &dialog);
    userField->setObjectName(QStringLiteral("txtBenutzer"));
    auto* passwordField = new QLineEdit(&dialog);
    passwordField->setObjectName(QStringLiteral("txtPasswort"));
    passwordField->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("&Benutzer:"), userField);
    form->addRow(QStringLiteral("&Passwort:"), passwordField);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(QStringLiteral("Anmelden"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    (user.isEmpty() ? userField : passwordField)->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    user = userField->text().trimmed();
    password = passwordField->text();
    return true;
}

bool QtDialogs::askText(QWidget* parent, const QString& title, const QString& label, QString& text) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setTextValue(text);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.textValue();
    return true;
}

QStringList QtDialogs::chooseFromLists(QWidget* parent, const QString& title, const QString& text,
                                       const QStringList& labels, const QList<QStringList>& lists) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmAuswahl"));
    dialog.setWindowTitle(title);
    auto* form = new QFormLayout(&dialog);
    auto* message = new QLabel(text, &dialog);
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    form->addRow(message);
    QList<QComboBox*> pickers;
    for (qsizetype i = 0; i < labels.size() && i < lists.size(); ++i) {
        auto* picker = new QComboBox(&dialog);
        picker->setObjectName(QStringLiteral("cboAuswahl%1").arg(i + 1));
        picker->addItems(lists.at(i));
        form->addRow(labels.at(i), picker);
        pickers.append(picker);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (!pickers.isEmpty()) {
        const auto needChoice = [ok, first = pickers.constFirst()] {
            ok->setEnabled(!first->currentText().isEmpty());
        };
        QObject::connect(pickers.constFirst(), &QComboBox::currentIndexChanged, &dialog, needChoice);
        needChoice();
        pickers.constFirst()->setFocus();
    }
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList chosen;
    for (const QComboBox* picker : std::as_const(pickers))
        chosen.append(picker->currentText());
    return chosen;
}

void QtDialogs::inform(QWidget* parent, const QString& title, const QString& text, Icon icon) {
    const auto [message, details] = splitDetails(text);
    QMessageBox box(toQt(icon), title, message, QMessageBox::Ok, parent);
    box.setDetailedText(details);
    showPlain(box);
    fitTitle(box);
    box.exec();
}

QString QtDialogs::chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                    const QString& filter) {
    return runFileDialog(parent, title, folder, filter, QFileDialog::AcceptOpen);
}

QString QtDialogs::chooseFolder(QWidget* parent, const QString& title, const QString& folder) {
    QFileDialog dialog(parent, title, folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.resize(kFileDialogSize.boundedTo(dialog.screen()->availableGeometry().size()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::showSaveDialog(QWidget* parent, const QString& title, const QString& suggestedPath,
                                  const QString& filter, QString& chosenFilter) {
    return runFileDialog(parent, title, suggestedPath, filter, QFileDialog::AcceptSave, &chosenFilter);
}
