#include "AuditIndex.h"

#include <QFile>

namespace {
QString escaped(const QString& text) {
    return text.toHtmlEscaped();
}

QString element(const QString& name, const QString& text, int indent) {
    return QString(indent, QLatin1Char(' ')) + QStringLiteral("<%1>%2</%1>\n").arg(name, escaped(text));
}

QString typeOf(AuditTableReader::Kind kind) {
    switch (kind) {
    case AuditTableReader::Kind::Amount:
        return QStringLiteral("<Numeric><Accuracy>2</Accuracy></Numeric>");
    case AuditTableReader::Kind::Key:
    case AuditTableReader::Kind::Count:
        return QStringLiteral("<Numeric><Accuracy>0</Accuracy></Numeric>");
    case AuditTableReader::Kind::Day:
        return QStringLiteral("<Date><Format>dd.mm.yyyy</Format></Date>");
    case AuditTableReader::Kind::Text:
        break;
    }
    return QStringLiteral("<AlphaNumeric/>");
}
} // namespace

QByteArray AuditIndex::text(const Supplier& supplier, const QString& mediaName, const QString& from,
                            const QString& to, const QList<Table>& tables) {
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<!DOCTYPE DataSet SYSTEM \"%1\">\n<DataSet>\n")
                      .arg(QLatin1String(kDtdName));
    xml += element(QStringLiteral("Version"), QStringLiteral("1.0"), 2);
    xml += QStringLiteral("  <DataSupplier>\n") + element(QStringLiteral("Name"), supplier.name, 4) +
           element(QStringLiteral("Location"), supplier.location, 4) +
           element(QStringLiteral("Comment"), supplier.comment, 4) + QStringLiteral("  </DataSupplier>\n");
    xml += QStringLiteral("  <Media>\n") + element(QStringLiteral("Name"), mediaName, 4);
    for (const Table& table : tables) {
        xml += QStringLiteral("    <Table>\n") + element(QStringLiteral("URL"), table.url, 6) +
               element(QStringLiteral("Name"), table.name, 6) +
               element(QStringLiteral("Description"), table.description, 6);
        xml += QStringLiteral("      <Validity>\n        <Range>\n") +
               element(QStringLiteral("From"), from, 10) + element(QStringLiteral("To"), to, 10) +
               QStringLiteral("        </Range>\n") +
               element(QStringLiteral("Format"), QStringLiteral("dd.mm.yyyy"), 8) +
               QStringLiteral("      </Validity>\n");
        xml += QStringLiteral("      <UTF8/>\n") +
               element(QStringLiteral("DecimalSymbol"), QStringLiteral(","), 6) +
               element(QStringLiteral("DigitGroupingSymbol"), QStringLiteral("."), 6);
        xml += QStringLiteral("      <VariableLength>\n") +
               element(QStringLiteral("ColumnDelimiter"), QStringLiteral(";"), 8) +
               QStringLiteral("        <RecordDelimiter>&#13;&#10;</RecordDelimiter>\n") +
               element(QStringLiteral("TextEncapsulator"), QStringLiteral("\""), 8);
        for (const AuditTableReader::Column& column : table.columns) {
            const QString kind = column.kind == AuditTableReader::Kind::Key
                                     ? QStringLiteral("VariablePrimaryKey")
                                     : QStringLiteral("VariableColumn");
            xml += QStringLiteral("        <%1>\n").arg(kind) +
                   element(QStringLiteral("Name"), column.name, 10) +
                   QStringLiteral("          %1\n").arg(typeOf(column.kind)) +
                   QStringLiteral("        </%1>\n").arg(kind);
        }
        for (const Link& link : table.links) {
            xml += QStringLiteral("        <ForeignKey>\n") +
                   element(QStringLiteral("Name"), link.column, 10) +
                   element(QStringLiteral("References"), link.table, 10) +
                   QStringLiteral("          <Alias>\n") + element(QStringLiteral("From"), link.column, 12) +
                   element(QStringLiteral("To"), link.key, 12) + QStringLiteral("          </Alias>\n") +
                   QStringLiteral("        </ForeignKey>\n");
        }
        xml += QStringLiteral("      </VariableLength>\n    </Table>\n");
    }
    xml += QStringLiteral("  </Media>\n</DataSet>\n");
    return xml.toUtf8();
}

QByteArray AuditIndex::dtd() {
    // The Federal Ministry of Finance's public DTD of the description standard, version 1.5 of 01.09.2004,
    // unchanged (resource file beside this one).
    QFile file(QStringLiteral(":/audit/gdpdu-01-09-2004.dtd"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
