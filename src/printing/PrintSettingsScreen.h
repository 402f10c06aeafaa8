#pragma once

#include "ListSnapshot.h"
#include "PrintDispatch.h"
#include "PrinterCatalog.h"

#include <functional>
#include <optional>
#include <QWidget>

class Dialogs;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class Settings;

// The print settings screen (frmFuerExe, "frmFürExe"): the printer, the paper, the stored print
// preferences, and the one door to every report. "&Drucken" prints the report of the screen it was
// opened from to the chosen printer or PDF file, "&Vorschau" shows it in the preview.
class PrintSettingsScreen : public QWidget {
    Q_OBJECT
public:
    // What a print run prints: the opener's list as it shows when printing starts; nothing when the
    // opener shows no list to print.
    using SnapshotSource = std::function<std::optional<ListSnapshot>()>;

    PrintSettingsScreen(Dialogs& dialogs, Settings& settings, PrinterCatalog printers,
                        QWidget* parent = nullptr);
    ~PrintSettingsScreen() override;

    // The window caption for the workspace's tab: "Zelvora drucken", "Firma drucken", "Auswertung
    // drucken", else "Ausgabemanager".
    static QString captionForTab(int tab);
    // The margin field's text after a change: an empty or non-numeric text, or a number outside 1 to 100,
    // becomes "20".
    static QString correctedMargin(const QString& text);

    // Sets the caption and what "&Drucken" and "&Vorschau" print.
    void setSource(const QString& caption, SnapshotSource source);
    // Writes the print preferences of the fields to the settings; false (after a message) when the
    // settings file cannot be written.
    bool SaveMonatTabEinst();
    // Replaces the print engine of the next runs.
    void setEngineFactory(PrintDispatch::EngineFactory factory) {
        m_dispatch.setEngineFactory(std::move(factory));
    }

private:
    void buildUi();
    void fillPrinters(const PrinterCatalog& printers);
    void readSettings(const QString& defaultPrinter);
    void print(bool direct);

    Dialogs& m_dialogs;
    Settings& m_settings;
    PrintDispatch m_dispatch;
    SnapshotSource m_source;
    QRadioButton* m_toPrinter = nullptr;
    QRadioButton* m_toPreview = nullptr;
    QComboBox* m_printer = nullptr;
    QComboBox* m_paper = nullptr;
    QLineEdit* m_topMargin = nullptr;
    QLineEdit* m_leftMargin = nullptr;
    QLineEdit* m_fontSize = nullptr;
    QCheckBox* m_draft = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_preview = nullptr;
    QPushButton* m_print = nullptr;
};
