#include "AboutBox.h"

#include "ProductLogo.h"
#include "ProgramVersion.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

AboutBox::AboutBox(const QString& dataPlace, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Info"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* logo = new ProductLogo(this);
    logo->setFixedSize(180, 118);

    auto* text = new QVBoxLayout;
    const QStringList texts = lines() << QStringLiteral("Daten: ") + dataPlace;
    for (qsizetype i = 0; i < texts.size(); ++i) {
        auto* label = new QLabel(texts.at(i), this);
        label->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        if (i == 0) {
            QFont bold = label->font();
            bold.setBold(true);
            bold.setPointSizeF(bold.pointSizeF() * 1.3);
            label->setFont(bold);
        }
        text->addWidget(label);
    }

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    ok->setFocus();
}

QStringList AboutBox::lines() {
    return {
        QStringLiteral("Talbrin Zelvora"),
        QStringLiteral("Version %1").arg(ProgramVersion::shortText()),
        QStringLiteral("Überwachung der Baukosten öffentlicher Bauvorhaben"),
        QStringLiteral("Talbrin Software GmbH"),
        QStringLiteral("Musterweg 12, 01234 Beispielstadt"),
        QStringLiteral("Telefon: 01234 567890"),
        QStringLiteral("E-Mail: info@talbrin.example"),
        QStringLiteral("Internet: www.talbrin.example"),
        QStringLiteral("Lizenz: GNU General Public License, Version 3 oder später (GPL-3.0-or-later)"),
    };
}
