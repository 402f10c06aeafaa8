#pragma once

#include <QDialog>
#include <QStringList>

// The about box (frmInfo): the product logo, the program's name and version and the maker's address.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // The eight lines of text shown beside the logo.
    static QStringList lines();
};
