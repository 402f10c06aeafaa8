#pragma once

#include <QDialog>
#include <QStringList>

// The about box (frmInfo): the product logo, the program's name and version and the maker's address.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    // dataPlace: where the data live (the database folder, or the database on its server).
    explicit AboutBox(const QString& dataPlace, QWidget* parent = nullptr);

    // The eight lines of text shown beside the logo.
    static QStringList lines();
};
