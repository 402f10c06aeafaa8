#pragma once

#include "ToolbarIcons.h"

#include <QMainWindow>
#include <QString>

class ProductLogo;
class QPushButton;
class QHBoxLayout;

// The start menu (frmMenü): the toolbar to presets, company register, backup, about box, help and the
// end of the program, the product logo and the ways into the project manager, the change journal and the
// bookings waiting for sign-off, and the invoices falling due.
class StartMenu : public QMainWindow {
    Q_OBJECT
public:
    // Makes the window without measuring a text, so that it can be made while the fonts are still being
    // found.
    explicit StartMenu(QWidget* parent = nullptr);
    // Sizes the window to its texts: the project button half as tall again as its text needs, the window as
    // wide as its toolbar and a margin. Once the fonts can be measured, before the window shows (showing
    // calls it, too). The logo, placed with the size it then has, is drawn while the window is shown.
    void fitToTexts();

    // "Talbrin Zelvora V1.0.1  -  Startmenü": the title at the program's start.
    static QString versionTitle();
    // The title the start menu has when it is shown again later.
    static QString plainTitle();
    // Offers "Benutzer und Rechte" when obstacle is empty; otherwise it stays disabled, obstacle its
    // tooltip.
    void offerLogins(const QString& obstacle);

signals:
    void presetsRequested();
    void companyRegisterRequested();
    void backupRequested();
    void auditExportRequested();
    void aboutRequested();
    void helpRequested();
    void quitRequested();
    void projectManagerRequested();
    void loginsRequested();
    void journalRequested();
    void signOffsRequested();
    void withholdingsRequested();
    void dueRequested();
    // The window is closing (by its close button, by the end of the program or by opening the project
    // manager).
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void addToolButton(const QString& key, const QString& caption, const QString& tooltip,
                       ToolbarIcons::Kind icon, void (StartMenu::*signal)());
    void fitWidthToToolbar();

    QWidget* m_toolbar = nullptr;
    QHBoxLayout* m_toolbarLayout = nullptr;
    ProductLogo* m_logo = nullptr;
    QPushButton* m_project = nullptr;
    QPushButton* m_logins = nullptr;
    QPushButton* m_journal = nullptr;
    QPushButton* m_signOffs = nullptr;
    QPushButton* m_withholdings = nullptr;
    QPushButton* m_due = nullptr;
    bool m_fitted = false;
};
