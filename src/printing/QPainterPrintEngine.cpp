#include "QPainterPrintEngine.h"

#include "PrinterAccess.h"
#include "RecordedDocument.h"
#include "SystemErrorText.h"
#include "TextMeasurements.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTransform>

namespace {

// Texts are measured at the resolution of the PDF writer, so the heights the reports ask for match
// what is painted.
constexpr int kMeasureDpi = 1200;
constexpr qreal kTenthsPerInch = 254.0;
constexpr int kDraftDpi = 300;

QColor fromBgr(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

void substituteArial() {
    static const bool done = [] {
        QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(done);
}

} // namespace

struct QPainterPrintEngine::State {
    QWidget* previewParent = nullptr;
    QString printerName;
    qreal topMargin = defaultMargin();
    qreal leftMargin = defaultMargin();
    QPageLayout::Orientation orientation = QPageLayout::Landscape;
    bool draft = false;
    bool direct = false;
    QString pdfPath;
    ProgressHook progress;
    PreviewPresenter presenter;
    QString failure;

    RecordedDocument document;
    bool ended = false;
    QFont font;
    mutable QHash<QString, int> textHeights;
    // The text height of font, once asked for; -1 until then.
    mutable int fontTextHeight = -1;

    QColor tableColour1 = Qt::white;
    QColor tableColour2 = Qt::black;
    bool tableFrame = false;

    // The open table: its columns, its top and the bottom of its last row.
    bool tableOpen = false;
    QList<int> columnWidths;
    qreal tableLeft = 0;
    qreal tableTop = 0;
    qreal tableBottom = 0;

    // A call that builds the document after it was shown starts the next one.
    void beginBuilding() {
        if (!ended)
            return;
        document = RecordedDocument();
        ended = false;
        tableOpen = false;
    }

    QSizeF pageSize() const {
        const QSizeF a4(2100, 2970);
        return orientation == QPageLayout::Portrait ? a4 : a4.transposed();
    }

    QPageLayout pageLayout() const {
        return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(0, 0, 0, 0));
    }

    void addRow(const QString& text, qreal height, quint32 fill, bool shadow, bool frame, bool lines,
                bool heading) {
        RecordedDocument::Row row;
        row.cells = TableCell::parseRow(text);
        row.columnWidths = columnWidths;
        row.font = font;
        qreal width = 0;
        for (int w : columnWidths)
            width += w;
        row.rect = QRectF(tableLeft, tableBottom, width, height);
        row.fill = fromBgr(fill);
        row.lineColour = tableColour2;
        row.shadowColour = tableColour1;
        row.heading = heading;
        row.shadow = shadow;
        row.outline = frame;
        row.cellLines = lines;
        tableBottom += height;
        document.add(std::move(row));
    }

    void closeTable() {
        if (!tableOpen)
            return;
        tableOpen = false;
        if (!tableFrame)
            return;
        qreal width = 0;
        for (int w : columnWidths)
            width += w;
        document.add(RecordedDocument::Frame{QRectF(tableLeft, tableTop, width, tableBottom - tableTop),
                                             tableColour2});
    }

    // Where the content of every page goes, in device pixels: its top left corner at the margins, scaled
    // down to keep the least margin at the right and bottom.
    QTransform placement(const QPaintDevice& device) const {
        const QRectF content = document.contentBounds();
        const QSizeF paper = pageSize();
        const qreal top = topMargin * 10;
        const qreal left = leftMargin * 10;
        const qreal least = leastMargin() * 10;
        qreal scale = 1;
        if (content.width() > 0 && content.height() > 0)
            scale = std::min({scale, (paper.width() - left - least) / content.width(),
                              (paper.height() - top - least) / content.height()});
        const qreal pixelsX = device.logicalDpiX() / kTenthsPerInch;
        const qreal pixelsY = device.logicalDpiY() / kTenthsPerInch;
        QTransform transform;
        transform.translate((left - content.left() * scale) * pixelsX,
                            (top - content.top() * scale) * pixelsY);
        transform.scale(scale, scale);
        return transform;
    }

    // Paints every page on the device; false when the progress hook cancels.
    bool paint(QPainter& painter, QPagedPaintDevice& device) {
        const int pages = document.pageCount();
        const QTransform transform = placement(device);
        TextMeasurements measurements(&device);
        for (int index = 0; index < pages; ++index) {
            if (progress && !progress(index + 1, pages))
                return false;
            if (index > 0)
                device.newPage();
            painter.save();
            painter.setTransform(transform, true);
            document.paintPage(painter, index, measurements);
            painter.restore();
        }
        return true;
    }

    Outcome writePdf();
    Outcome print();
    Outcome preview();
};

QString QPainterPrintEngine::pdfTargetName() {
    return QStringLiteral("PDF-Datei");
}

QStringList QPainterPrintEngine::printerNames() {
    const PrinterAccess* printers = PrinterAccess::module(nullptr);
    QStringList names = printers ? printers->installed() : QStringList();
    names.append(pdfTargetName());
    return names;
}

QString QPainterPrintEngine::defaultPrinterName() {
    const PrinterAccess* printers = PrinterAccess::module(nullptr);
    const QString name = printers ? printers->defaultPrinter() : QString();
    return name.isEmpty() ? pdfTargetName() : name;
}

QPainterPrintEngine::QPainterPrintEngine(QWidget* previewParent) : m_state(std::make_unique<State>()) {
    substituteArial();
    m_state->previewParent = previewParent;
    m_state->font = QFont(QStringLiteral("Arial"), 10);
}

QPainterPrintEngine::~QPainterPrintEngine() = default;

void QPainterPrintEngine::setMargins(qreal top, qreal left) {
    m_state->topMargin = top;
    m_state->leftMargin = left;
}

void QPainterPrintEngine::setPdfFilePath(const QString& path) {
    m_state->pdfPath = path;
}

QString QPainterPrintEngine::pdfFilePath() const {
    return m_state->pdfPath;
}

bool QPainterPrintEngine::printsToPdfFile() const {
    return m_state->printerName == pdfTargetName();
}

void QPainterPrintEngine::setProgressHook(ProgressHook hook) {
    m_state->progress = std::move(hook);
}

void QPainterPrintEngine::setPreviewPresenter(PreviewPresenter presenter) {
    m_state->presenter = std::move(presenter);
}

int QPainterPrintEngine::pageCount() const {
    return m_state->document.pageCount();
}

QString QPainterPrintEngine::SelectPrinter(const QString& name) {
    if (!printerNames().contains(name))
        return QString();
    m_state->printerName = name;
    return name;
}

void QPainterPrintEngine::SetOrientation(int orientation) {
    m_state->orientation = orientation == Portrait ? QPageLayout::Portrait : QPageLayout::Landscape;
}

void QPainterPrintEngine::SetDraftQuality(int draft) {
    m_state->draft = draft == -1;
}

int QPainterPrintEngine::SetPaperSize(int) {
    return PaperA4;
}

void QPainterPrintEngine::SetPrintDirect(bool direct) {
    m_state->direct = direct;
}

PrintEngine::PageSize QPainterPrintEngine::GetPageSize() const {
    const QSizeF size = m_state->pageSize();
    return PageSize{0, 0, float(size.height()), float(size.width())};
}

int QPainterPrintEngine::GetTextHeight() const {
    if (m_state->fontTextHeight >= 0)
        return m_state->fontTextHeight;
    const QString key = m_state->font.key();
    const auto found = m_state->textHeights.constFind(key);
    if (found != m_state->textHeights.constEnd())
        return m_state->fontTextHeight = *found;
    QImage device(1, 1, QImage::Format_Mono);
    const int dotsPerMeter = qRound(kMeasureDpi / 0.0254);
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    const QFontMetricsF metrics(m_state->font, &device);
    const int height = qRound(metrics.height() * kTenthsPerInch / kMeasureDpi);
    m_state->textHeights.insert(key, height);
    return m_state->fontTextHeight = height;
}

void QPainterPrintEngine::SetFont(const QString& name, int size, bool bold, bool italic, bool underline) {
    QFont font(name, size, bold ? QFont::Bold : QFont::Normal, italic);
    font.setUnderline(underline);
    m_state->font = font;
    m_state->fontTextHeight = -1;
}

void QPainterPrintEngine::PrintText(const QString& text, int x, int y, int) {
    m_state->beginBuilding();
    m_state->document.add(RecordedDocument::Text{text, m_state->font, qreal(x), qreal(y)});
}

void QPainterPrintEngine::PrintPicture(const QPicture& picture, int left, int top, int width, int height) {
    m_state->beginBuilding();
    m_state->document.add(RecordedDocument::Picture{picture, QRectF(left, top, width, height)});
}

// Options 1 and 2 and the table style have no effect: the engine knows one style of table.
void QPainterPrintEngine::SetTableOption1(bool) {}

void QPainterPrintEngine::SetTableOption2(bool) {}

void QPainterPrintEngine::SetTableColor1(quint32 bgr) {
    m_state->tableColour1 = fromBgr(bgr);
}

void QPainterPrintEngine::SetTableColor2(quint32 bgr) {
    m_state->tableColour2 = fromBgr(bgr);
}

void QPainterPrintEngine::SetTableStyle(int) {}

void QPainterPrintEngine::SetTableFrame(bool framed) {
    m_state->tableFrame = framed;
}

void QPainterPrintEngine::StartTable(const QString& heading, int left, int top, int headingHeight, int,
                                     quint32 headingFill, const QList<int>& columnWidths, bool shadow,
                                     bool frame, bool lines) {
    m_state->beginBuilding();
    m_state->closeTable();
    m_state->tableOpen = true;
    m_state->columnWidths = columnWidths;
    m_state->tableLeft = left;
    m_state->tableTop = top;
    m_state->tableBottom = top;
    m_state->addRow(heading, headingHeight, headingFill, shadow, frame, lines, true);
}

void QPainterPrintEngine::AddTableRow(const QString& row, int height, quint32 fill, bool shadow, bool frame,
                                      bool lines) {
    m_state->beginBuilding();
    if (!m_state->tableOpen)
        return;
    m_state->addRow(row, height, fill, shadow, frame, lines, false);
}

void QPainterPrintEngine::EndTable() {
    m_state->beginBuilding();
    m_state->closeTable();
}

void QPainterPrintEngine::NewPage() {
    m_state->beginBuilding();
    m_state->closeTable();
    m_state->document.newPage();
}

void QPainterPrintEngine::EndDocument() {
    m_state->closeTable();
}

PrintEngine::Outcome QPainterPrintEngine::ShowDocument() {
    m_state->closeTable();
    m_state->ended = true;
    m_state->failure.clear();
    if (!m_state->direct)
        return m_state->preview();
    if (printsToPdfFile())
        return m_state->writePdf();
    return m_state->print();
}

void QPainterPrintEngine::CloseEngine() {
    m_state->ended = true;
    m_state->beginBuilding();
}

QString QPainterPrintEngine::failureText() const {
    return m_state->failure;
}

PrintEngine::Outcome QPainterPrintEngine::State::writePdf() {
    const QString shown = QDir::toNativeSeparators(pdfPath);
    if (pdfPath.isEmpty()) {
        failure = QStringLiteral("Es wurde keine PDF-Datei angegeben.");
        return Outcome::Failed;
    }
    QSaveFile file(pdfPath);
    if (!file.open(QIODevice::WriteOnly)) {
        failure = QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden (%2).")
                      .arg(shown, SystemErrorText::of(file));
        return Outcome::Failed;
    }
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Zelvora"));
    writer.setTitle(QFileInfo(pdfPath).completeBaseName());
    writer.setPageLayout(pageLayout());
    QPainter painter;
    if (!painter.begin(&writer)) {
        failure = QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden.").arg(shown);
        return Outcome::Failed;
    }
    const bool complete = paint(painter, writer);
    painter.end();
    if (!complete) {
        file.cancelWriting();
        return Outcome::Cancelled;
    }
    if (!file.commit()) {
        failure = QStringLiteral("Die Datei „%1“ konnte nicht vollständig geschrieben werden (%2). Sie "
                                 "wurde nicht angelegt.")
                      .arg(shown, SystemErrorText::of(file));
        return Outcome::Failed;
    }
    return Outcome::Done;
}

PrintEngine::Outcome QPainterPrintEngine::State::print() {
    const PrinterAccess* printers = PrinterAccess::module(&failure);
    if (!printers)
        return Outcome::Failed;
    const Outcome outcome = printers->print(
        printerName, draft ? kDraftDpi : 0, pageLayout(),
        [this](QPainter& painter, QPagedPaintDevice& printer) { return paint(painter, printer); });
    if (outcome == Outcome::Failed)
        failure = QStringLiteral("Der Drucker „%1“ kann nicht drucken.").arg(printerName);
    return outcome;
}

PrintEngine::Outcome QPainterPrintEngine::State::preview() {
    const PrinterAccess* printers = PrinterAccess::module(&failure);
    if (!printers)
        return Outcome::Failed;
    // Its own print button proposes the report's file name (as a PDF file where that is the target).
    return printers->preview(
        printerName, pageLayout(), QFileInfo(pdfPath).completeBaseName(),
        printerName == pdfTargetName() ? pdfPath : QString(), previewParent,
        [this](QPainter& painter, QPagedPaintDevice& printer) { return paint(painter, printer); }, presenter);
}
