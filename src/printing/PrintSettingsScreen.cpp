#include "PrintSettingsScreen.h"

#include "Dialogs.h"
#include "PrintSettings.h"
#include "QPainterPrintEngine.h"
#include "Reports.h"
#include "Settings.h"
#include "WindowPlacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kDefaultCaption = QStringLiteral("Ausgabemanager");
const QString kMarginReplacement = QStringLiteral("20");

// Selects the whole text of the font size field whenever it gains the focus, also by a click.
class SelectAllOnFocus : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            auto* field = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, field, &QLineEdit::selectAll);
        }
        return false;
    }
};
} // namespace

PrintSettingsScreen::PrintSettingsScreen(Dialogs& dialogs, Settings& settings, PrinterCatalog printers,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), m_dialogs(dialogs), m_settings(settings), m_dispatch(dialogs, this) {
    setObjectName(QStringLiteral("frmFürExe"));
    setWindowTitle(kDefaultCaption);
    buildUi();
    m_paper->addItem(QStringLiteral("Din A4"));
    fillPrinters(printers);
    readSettings(printers.defaultPrinter);
    WindowPlacement::fitIntoScreen(*this, sizeHint());
}

PrintSettingsScreen::~PrintSettingsScreen() = default;

QString PrintSettingsScreen::captionForTab(int tab) {
    switch (tab) {
    case 1:
        return QStringLiteral("Zelvora drucken");
    case 2:
        return QStringLiteral("Firma drucken");
    case 3:
        return QStringLiteral("Auswertung drucken");
    case 5:
        return QStringLiteral("Diagramme drucken");
    default:
        return kDefaultCaption;
    }
}

QString PrintSettingsScreen::correctedMargin(const QString& text) {
    bool ok = false;
    const double millimetres = QLocale(QLocale::German, QLocale::Germany).toDouble(text.trimmed(), &ok);
    return ok && millimetres >= 1 && millimetres <= 100 ? text : kMarginReplacement;
}

void PrintSettingsScreen::buildUi() {
    auto* frame = new QGroupBox(QStringLiteral("Einstellungen"), this);
    frame->setObjectName(QStringLiteral("fraEinstellungen"));
    m_toPrinter = new QRadioButton(QStringLiteral("Drucker"), frame);
    m_toPrinter->setObjectName(QStringLiteral("optCOpen(3)"));
    m_toPreview = new QRadioButton(QStringLiteral("Druckervorschau"), frame);
    m_toPreview->setObjectName(QStringLiteral("optCOpen(2)"));
    m_toPrinter->setChecked(true);
    m_printer = new QComboBox(frame);
    m_printer->setObjectName(QStringLiteral("comboDrucker(1)"));
    m_printer->setAccessibleName(QStringLiteral("Drucker"));
    m_printer->setToolTip(QStringLiteral("Drucker"));
    m_paper = new QComboBox(frame);
    m_paper->setObjectName(QStringLiteral("ComboSeitengröße(1)"));
    m_topMargin = new QLineEdit(frame);
    m_topMargin->setObjectName(QStringLiteral("Text1"));
    m_leftMargin = new QLineEdit(frame);
    m_leftMargin->setObjectName(QStringLiteral("Text2"));
    m_fontSize = new QLineEdit(frame);
    m_fontSize->setObjectName(QStringLiteral("Text3"));
    m_fontSize->installEventFilter(new SelectAllOnFocus(m_fontSize));
    m_draft = new QCheckBox(QStringLiteral("Entwurfsqualität (Schneller Ausdruck)"), frame);
    m_draft->setObjectName(QStringLiteral("Check3"));

    auto* grid = new QGridLayout(frame);
    int row = 0;
    auto* target = new QLabel(QStringLiteral("Ausgabe mit"), frame);
    target->setBuddy(m_toPrinter);
    grid->addWidget(target, row++, 0, 1, 2);
    grid->addWidget(m_toPrinter, row, 0);
    grid->addWidget(m_printer, row++, 1);
    grid->addWidget(m_toPreview, row++, 0, 1, 2);
    auto addField = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, frame);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    };
    addField(QStringLiteral("Papiergröße"), m_paper);
    addField(QStringLiteral("Rand oben (1-100 mm)"), m_topMargin);
    addField(QStringLiteral("Rand links (1-100 mm)"), m_leftMargin);
    addField(QStringLiteral("Schriftgröße (6-16)"), m_fontSize);
    grid->addWidget(m_draft, row++, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    auto makeButton = [this](const QString& name, const QString& caption) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        return button;
    };
    m_save = makeButton(QStringLiteral("Command2"), QStringLiteral("Einstellungen &speichern"));
    m_cancel = makeButton(QStringLiteral("cmdSchließen"), QStringLiteral("&Abbrechen"));
    m_preview = makeButton(QStringLiteral("tabCommand1"), QStringLiteral("&Vorschau"));
    m_print = makeButton(QStringLiteral("cmdTabDrucken"), QStringLiteral("&Drucken"));
    m_print->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addStretch(1);
    buttons->addWidget(m_preview);
    buttons->addWidget(m_print);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    connect(m_topMargin, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_topMargin->setText(correctedMargin(text)); });
    connect(m_leftMargin, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_leftMargin->setText(correctedMargin(text)); });
    connect(m_save, &QPushButton::clicked, this, &PrintSettingsScreen::SaveMonatTabEinst);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(m_print, &QPushButton::clicked, this, [this] { print(true); });
    connect(m_preview, &QPushButton::clicked, this, [this] { print(false); });
}

void PrintSettingsScreen::fillPrinters(const PrinterCatalog& printers) {
    const QString pdf = QPainterPrintEngine::pdfTargetName();
    for (const QString& name : printers.installed) {
        if (name != pdf)
            m_printer->addItem(name);
    }
    m_printer->addItem(pdf);
}

void PrintSettingsScreen::readSettings(const QString& defaultPrinter) {
    const int paper = m_settings.value(PrintSettings::reportPaper);
    m_paper->setCurrentIndex(paper >= 0 && paper < m_paper->count() ? paper : 0);

    // A stored printer that is no longer installed, or no default printer at all, leaves the PDF file
    // target selected rather than nothing.
    QString printer = m_settings.value(PrintSettings::tablePrinter);
    if (printer.isEmpty())
        printer = defaultPrinter;
    const int index = m_printer->findText(printer, Qt::MatchExactly | Qt::MatchCaseSensitive);
    m_printer->setCurrentIndex(index >= 0 ? index : m_printer->count() - 1);

    m_topMargin->setText(m_settings.value(PrintSettings::topMargin));
    m_leftMargin->setText(m_settings.value(PrintSettings::leftMargin));
    m_fontSize->setText(m_settings.value(PrintSettings::fontSize));
    m_draft->setChecked(m_settings.value(PrintSettings::draftQuality) != 0);
}

void PrintSettingsScreen::setSource(const QString& caption, SnapshotSource source) {
    setWindowTitle(caption);
    m_source = std::move(source);
}

bool PrintSettingsScreen::SaveMonatTabEinst() {
    m_settings.setValue(PrintSettings::reportPaper, m_paper->currentIndex());
    m_settings.setValue(PrintSettings::tablePaper, m_paper->currentIndex());
    m_settings.setValue(PrintSettings::reportPrinter, m_printer->currentText());
    m_settings.setValue(PrintSettings::tablePrinter, m_printer->currentText());
    m_settings.setValue(PrintSettings::topMargin, m_topMargin->text());
    m_settings.setValue(PrintSettings::leftMargin, m_leftMargin->text());
    m_settings.setValue(PrintSettings::fontSize, m_fontSize->text());
    m_settings.setValue(PrintSettings::draftQuality, m_draft->isChecked() ? 1 : 0);
    if (m_settings.sync())
        return true;
    m_dialogs.inform(this, QStringLiteral("Speichern nicht möglich"),
                     QStringLiteral("Die Druckeinstellungen konnten nicht in der Einstellungsdatei \"%1\" "
                                    "gespeichert werden.")
                         .arg(m_settings.filePath()),
                     Dialogs::Icon::Warning);
    return false;
}

void PrintSettingsScreen::print(bool direct) {
    (direct ? m_toPrinter : m_toPreview)->setChecked(true);
    const std::optional<ListSnapshot> snapshot = m_source ? m_source() : std::nullopt;
    if (snapshot && snapshot->unreadable)
        return;
    if (!snapshot) {
        m_dialogs.inform(
            this, windowTitle(),
            QStringLiteral("Hier gibt es keine Liste zu drucken. Bitte wählen Sie im Projektfenster "
                           "eines der Register „Zelvora“, „Firma“, „Auswertung / Filter“ oder "
                           "„Kostenbericht“."),
            Dialogs::Icon::Information);
        return;
    }
    PrintDispatch::Choice choice;
    choice.printer = m_printer->currentText();
    choice.paperIndex = m_paper->currentIndex();
    choice.draft = m_draft->isChecked();
    choice.direct = m_toPrinter->isChecked();
    const QLocale german(QLocale::German, QLocale::Germany);
    choice.topMargin = german.toDouble(m_topMargin->text().trimmed());
    choice.leftMargin = german.toDouble(m_leftMargin->text().trimmed());
    m_dispatch.run(choice, *snapshot, ReportFooter::fromSettings(m_settings));
}
