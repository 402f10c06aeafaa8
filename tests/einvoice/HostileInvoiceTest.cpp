#include "BoundedRun.h"
#include "InvoiceReader.h"
#include "PdfBytes.h"

#include <QFile>
#include <QTest>

// Hostile e-invoices, generated here: each is refused with a German reason in a child process that may
// not grow by more than a few megabytes, or its invoice is read beside the parts that cannot be.
class HostileInvoiceTest : public QObject {
    Q_OBJECT

    static constexpr qint64 kMb = 1024 * 1024;
    const QString m_fixtures = QStringLiteral(ZLV_XRECHNUNG_FIXTURES);

    QByteArray invoice() const {
        QFile file(m_fixtures + QStringLiteral("/01.01a-INVOICE_uncefact.xml"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Thousands of references to a parameter entity of 4,000 characters between the declarations.
    static QString parameterEntityBomb(const QString& beforeDoctype = QString()) {
        return QStringLiteral("<?xml version=\"1.0\"?>\n") + beforeDoctype +
               QStringLiteral("<!DOCTYPE r [\n<!ENTITY % a \"<!--") + QString(4000, u'x') +
               QStringLiteral("-->\">\n") + QStringLiteral("%a;").repeated(100000) +
               QStringLiteral("\n]>\n<r/>");
    }
    static QByteArray utf16(const QString& text, QSysInfo::Endian order, bool withMark) {
        QByteArray bytes =
            withMark ? QByteArray(order == QSysInfo::LittleEndian ? "\xFF\xFE" : "\xFE\xFF") : QByteArray();
        for (const QChar c : text) {
            const char high = char(c.unicode() >> 8);
            const char low = char(c.unicode() & 0xFF);
            bytes +=
                order == QSysInfo::LittleEndian ? QByteArray{&low, 1} + high : QByteArray{&high, 1} + low;
        }
        return bytes;
    }
    static QByteArray xmlAttachment(const QByteArray& name, const QByteArray& xml) {
        return PdfBytes::withAttachments({{name, PdfBytes::flate(xml), "/Filter /FlateDecode"}});
    }

private slots:
    void initTestCase() {
        if (invoice().isEmpty()) {
            if (qgetenv("CI") == "true")
                QFAIL("the XRechnung test invoices are missing");
            QSKIP("the XRechnung test invoices are not there");
        }
    }

    void refusesWithinBoundsOrReadsTheInvoice_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<qint64>("bound");
        const QString dtd = QStringLiteral("eine DTD („<!DOCTYPE …“) oder Entity-Deklaration. Solche Dateien "
                                           "werden aus Sicherheitsgründen nicht gelesen.");
        const QString bomb = parameterEntityBomb();
        QTest::newRow("parameter-entity bomb, UTF-8") << bomb.toUtf8() << "Zeile 2 " + dtd << 256 * kMb;
        QTest::newRow("parameter-entity bomb, UTF-16LE with BOM")
            << utf16(bomb, QSysInfo::LittleEndian, true) << "Zeile 2 " + dtd << 256 * kMb;
        QTest::newRow("parameter-entity bomb, UTF-16BE without BOM")
            << utf16(bomb, QSysInfo::BigEndian, false) << "Zeile 2 " + dtd << 256 * kMb;
        QTest::newRow("parameter-entity bomb after a comment and an instruction")
            << parameterEntityBomb(QStringLiteral("<!-- Rechnung -->\n<?style x?>\n")).toUtf8()
            << "Zeile 4 " + dtd << 256 * kMb;
        QTest::newRow("parameter-entity bomb in a PDF")
            << xmlAttachment("factur-x.xml", bomb.toUtf8()) << "Zeile 2 " + dtd << 256 * kMb;
        QTest::newRow("nested parameter entity")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE r [<!ENTITY % a \"%a;\"> %a;]><r/>")
            << "Zeile 1 " + dtd << 256 * kMb;
        QByteArray undeclared = invoice();
        undeclared.replace("[Seller name]", "&seller;");
        QTest::newRow("undeclared entity in an invoice")
            << undeclared << "Die Datei verweist in Zeile 100 auf ein Entity, das nicht deklariert ist."
            << 256 * kMb;
        QByteArray invalid = invoice();
        invalid.replace("[Seller name]", "[Seller \xC3\x28name]");
        QTest::newRow("invalid UTF-8")
            << invalid
            << "Die Datei ist nicht gültig in UTF-8 kodiert: In Zeile 100 (Byte 5561 der Datei) steht eine "
               "Bytefolge, die kein Zeichen ergibt."
            << 256 * kMb;
        QTest::newRow("declared size lies, 1 GB decoded")
            << PdfBytes::withAttachments({{"factur-x.xml", PdfBytes::flate(PdfBytes::zerosFlate(1024)),
                                           "/Filter [/FlateDecode /FlateDecode] /Params << /Size 100 >>"}})
            << "Die eingebettete Datei „factur-x.xml“ kann nicht gelesen werden: Der Anhang ist entpackt "
               "größer als 20 MB."
            << 256 * kMb;
        QList<PdfBytes::Attachment> many;
        const QByteArray nineteenMb = PdfBytes::flate(PdfBytes::zerosFlate(19));
        for (int i = 0; i < 100; ++i)
            many.append({"anlage-" + QByteArray::number(i) + ".xml", nineteenMb,
                         "/Filter [/FlateDecode /FlateDecode]"});
        QTest::newRow("100 attachments of 19 MB")
            << PdfBytes::withAttachments(many)
            << "Die PDF-Datei enthält keine E-Rechnung in den Anhängen, die gelesen werden (höchstens 20, "
               "zusammen entpackt höchstens 20 MB); 98 weitere Anhänge werden nicht gelesen."
            << 256 * kMb;
        const PdfBytes::Attachment sound{"factur-x.xml", PdfBytes::flate(invoice()), "/Filter /FlateDecode"};
        const QString utf16Invoice =
            QString::fromUtf8(invoice()).replace("encoding=\"UTF-8\"", "encoding=\"UTF-16\"");
        QTest::newRow("invoice in UTF-16BE")
            << utf16(utf16Invoice, QSysInfo::BigEndian, false) << "gelesen: 123456XX" << 256 * kMb;
        QTest::newRow("UTF-8 that says it is UTF-16")
            << utf16Invoice.toUtf8()
            << "Die Datei gibt die Zeichenkodierung „UTF-16“ an, ist aber nicht so kodiert." << 256 * kMb;
        QByteArray longNote = invoice();
        longNote.replace("[Seller name]", QByteArray(18 * kMb, 'x'));
        QTest::newRow("memory runs out")
            << longNote << "Der Arbeitsspeicher reicht nicht aus, um die Datei zu lesen." << 20 * kMb;
        QTest::newRow("broken JPEG beside factur-x.xml")
            << PdfBytes::withAttachments({{"foto.jpg", "\xFF\xD8 kaputt", "/Filter /DCTDecode"}, sound})
            << "gelesen: 123456XX" << 256 * kMb;
        QTest::newRow("undecodable XML beside factur-x.xml")
            << PdfBytes::withAttachments(
                   {{"anlage.xml", "x\x9C kaputt", "/Filter [/FlateDecode /DCTDecode]"}, sound})
            << "gelesen: 123456XX" << 256 * kMb;
        QTest::newRow("undecodable factur-x.xml")
            << PdfBytes::withAttachments({{"factur-x.xml", "kaputt", "/Filter /DCTDecode"}})
            << "Die eingebettete Datei „factur-x.xml“ kann nicht gelesen werden: Der Anhang kann nicht "
               "entpackt werden."
            << 256 * kMb;
    }
    void refusesWithinBoundsOrReadsTheInvoice() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QFETCH(qint64, bound);
        const QString outcome = boundedRun(bound, [&bytes] {
            const InvoiceReader::Result result = InvoiceReader::read(bytes);
            return result.invoice ? QStringLiteral("gelesen: ") + result.invoice->number : result.reason;
        });
        QVERIFY2(outcome.contains(expected), qPrintable(outcome));
    }
};

QTEST_MAIN(HostileInvoiceTest)
#include "HostileInvoiceTest.moc"
