#include "EInvoiceBenchmarks.h"

#include "InvoiceLineModel.h"
#include "InvoicePresentation.h"
#include "InvoiceReader.h"
#include "Measurement.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextDocument>
#include <QXmlStreamReader>

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A CII invoice with count lines: the first line of the template repeated.
QByteArray withLines(const QByteArray& invoice, int count) {
    const QByteArray open = "<ram:IncludedSupplyChainTradeLineItem>";
    const QByteArray close = "</ram:IncludedSupplyChainTradeLineItem>";
    const qsizetype first = invoice.indexOf(open);
    const qsizetype end = invoice.indexOf(close, first) + close.size();
    const qsizetype last = invoice.lastIndexOf(close) + close.size();
    QByteArray lines;
    for (int i = 1; i <= count; ++i)
        lines += QByteArray(invoice.mid(first, end - first))
                     .replace("<ram:LineID>", "<ram:LineID>" + QByteArray::number(i) + " ");
    return invoice.left(first) + lines + invoice.mid(last);
}

} // namespace

EInvoiceBenchmarks::EInvoiceBenchmarks(QString fixtures, QString workFolder, int runs)
    : m_fixtures(std::move(fixtures)), m_workFolder(std::move(workFolder)), m_runs(runs) {}

BenchTable::Row EInvoiceBenchmarks::compare(const QString& name, const QString& path) {
    BenchTable::Row row{name, 0, 0, kLimit, false, {}, {}};
    int lines = 0;
    int pages = 0;
    qsizetype htmlSize = 0;
    qint64 elements = 0;
    // Ours: the file read, the invoice taken from it, its checks, the view's text laid out as the view
    // lays it out on its first paint, and its list of lines filled.
    const auto openAndShow = [&] {
        const InvoiceReader::Result read = InvoiceReader::read(contentOf(path));
        if (!read.invoice)
            return false;
        const QString html =
            InvoicePresentation::html(*read.invoice, InvoicePresentation::checksOf(*read.invoice), false);
        InvoiceLineModel lineModel;
        lineModel.setInvoice(*read.invoice);
        QTextDocument document;
        document.setPageSize(QSizeF(800, 1100));
        document.setHtml(html);
        pages = document.pageCount();
        lines = int(read.invoice->lines.size());
        htmlSize = html.size();
        return true;
    };
    const auto plainPass = [&] {
        QXmlStreamReader xml(contentOf(path));
        elements = 0;
        while (!xml.atEnd())
            elements += xml.readNext() == QXmlStreamReader::StartElement;
        return !xml.hasError();
    };
    const Measurement::Outcome outcome =
        Measurement::compare(m_runs, {{}, [&] { return Measurement::timed(openAndShow); }},
                             {{}, [&] { return Measurement::timed(plainPass); }});
    row.oursMs = outcome.oursMs;
    row.baselineMs = outcome.baselineMs;
    row.error = outcome.error;
    QElapsedTimer layout;
    layout.start();
    const InvoiceReader::Result read = InvoiceReader::read(contentOf(path));
    const double readMs = double(layout.nsecsElapsed()) / 1e6;
    row.note =
        QStringLiteral("%1 KB, %2 lines read, %3 elements in the plain pass; the view's text %4 characters "
                       "on %5 pages; reading alone %6 ms")
            .arg(QFile(path).size() / 1024)
            .arg(lines)
            .arg(elements)
            .arg(htmlSize)
            .arg(pages)
            .arg(readMs, 0, 'f', 2);
    return row;
}

QList<BenchTable::Row> EInvoiceBenchmarks::openAndShow() {
    const QString largest = QDir(m_fixtures).filePath(QStringLiteral("02.01a-INVOICE_uncefact.xml"));
    if (!QFile::exists(largest))
        return {{QStringLiteral("x. e-invoice"),
                 0,
                 0,
                 kLimit,
                 false,
                 QStringLiteral("the test invoices are not in ") + m_fixtures,
                 {}}};
    const QString generated = QDir(m_workFolder).filePath(QStringLiteral("500-lines.xml"));
    QFile out(generated);
    if (out.open(QIODevice::WriteOnly))
        out.write(withLines(
            contentOf(QDir(m_fixtures).filePath(QStringLiteral("01.01a-INVOICE_uncefact.xml"))), 500));
    out.close();
    return {compare(QStringLiteral("x. e-invoice 02.01a (largest test invoice): open and show"), largest),
            compare(QStringLiteral("x. e-invoice of 500 lines: open and show"), generated)};
}

BenchTable::Row EInvoiceBenchmarks::hostileFiles() {
    QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY l0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        laughs += QByteArrayLiteral("<!ENTITY l") + QByteArray::number(i) + " \"" +
                  (QByteArrayLiteral("&l") + QByteArray::number(i - 1) + ';').repeated(10) + "\">";
    laughs += "]><r>&l9;</r>";
    const QByteArray invoice =
        contentOf(QDir(m_fixtures).filePath(QStringLiteral("01.01a-INVOICE_uncefact.xml")));
    const QList<QPair<QString, QByteArray>> files = {
        {QStringLiteral("entity bomb"), laughs},
        {QStringLiteral("external entity"),
         "<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r>&x;</r>"},
        {QStringLiteral("50 MB of nesting"), QByteArray("<a>").repeated(50 * 1024 * 1024 / 3)},
        {QStringLiteral("19 MB of nesting in an invoice"),
         invoice.left(invoice.indexOf("<rsm:ExchangedDocumentContext>")) +
             QByteArray("<a>").repeated(19 * 1024 * 1024 / 3)},
        {QStringLiteral("truncated"), invoice.left(invoice.size() / 2)},
    };
    QStringList notes;
    double slowest = 0;
    double mostMemory = 0;
    for (const auto& [name, bytes] : files) {
        QElapsedTimer timer;
        InvoiceReader::Refusal refusal = InvoiceReader::Refusal::None;
        timer.start();
        const double memory = Measurement::peakMb([&] {
            refusal = InvoiceReader::read(bytes).refusal;
            return true;
        });
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        slowest = qMax(slowest, ms);
        mostMemory = qMax(mostMemory, memory);
        notes.append(QStringLiteral("%1: refused (%2) in %3 ms, +%4 MB")
                         .arg(name)
                         .arg(int(refusal))
                         .arg(ms, 0, 'f', 2)
                         .arg(memory, 0, 'f', 1));
    }
    return {QStringLiteral("x. e-invoice: hostile files refused (the slowest)"),
            slowest,
            0,
            0,
            true,
            {},
            notes.join(QStringLiteral("; ")) +
                QStringLiteral("; peak memory at most +%1 MB").arg(mostMemory, 0, 'f', 1)};
}
