#pragma once

#include "ListSnapshot.h"

#include <functional>
#include <optional>
#include <QDialog>
#include <QPointer>

class Dialogs;
class QCheckBox;
class QLineEdit;
class QRadioButton;

// The export screen (frmExport): writes the list that the workspace shows at the moment of
// "&Exportieren" into a CSV or text file in the Windows code page, with the separator chosen. It is not
// modal; it closes after a written file and stays open after a cancelled dialog or a failed write.
class ExportScreen : public QDialog {
    Q_OBJECT
public:
    // The list shown at the moment of asking, or nothing when no list is shown (the entry tab).
    using SnapshotProvider = std::function<std::optional<ListSnapshot>()>;

    ExportScreen(SnapshotProvider provider, Dialogs& dialogs, QWidget* parent = nullptr);
    // Brings the export screen of owner to the front, made on first asking; it closes and goes with owner.
    static void showFor(QPointer<ExportScreen>& screen, QWidget* owner, SnapshotProvider provider,
                        Dialogs& dialogs);

    // The separator chosen: the text typed beside the first option, or a tab.
    QString separator() const;
    // "&Exportieren": asks for the file, writes it and closes.
    void exportList();

private:
    // Whether the separator chosen can be written; shows why not.
    bool checkSeparator();
    // Writes bytes to path through a temporary file beside it that replaces it only when complete.
    bool writeFile(const QString& path, const QByteArray& bytes);

    SnapshotProvider m_provider;
    Dialogs& m_dialogs;
    QRadioButton* m_typedSeparator = nullptr;
    QLineEdit* m_separatorText = nullptr;
    QRadioButton* m_tabSeparator = nullptr;
    QCheckBox* m_formatting = nullptr;
};
