#pragma once

#include <QByteArray>
#include <QList>
#include <zlib.h>

// Small PDF files written byte by byte, with embedded files whose streams and dictionaries the test
// chooses (filters, declared sizes), to be read back by the PDF reader.
namespace PdfBytes {

struct Attachment {
    QByteArray name;
    // The stream as stored, and what its dictionary says besides its length.
    QByteArray stream;
    QByteArray dictionary;
};

inline QByteArray flate(const QByteArray& data) {
    return qCompress(data).mid(4); // qCompress puts the length before the zlib stream
}

// A zlib stream that unpacks to megabytes times 1 MB of zeros, written without compressing them:
// each megabyte compressed on its own gives the same block.
inline QByteArray zerosFlate(int megabytes) {
    const QByteArray zeros(1024 * 1024, '\0');
    z_stream stream{};
    deflateInit(&stream, Z_BEST_COMPRESSION);
    const auto block = [&](int flush) {
        QByteArray out(64 * 1024, '\0');
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.constData()));
        stream.avail_in = uInt(zeros.size());
        stream.next_out = reinterpret_cast<Bytef*>(out.data());
        stream.avail_out = uInt(out.size());
        deflate(&stream, flush);
        out.truncate(out.size() - qsizetype(stream.avail_out));
        return out;
    };
    QByteArray result = block(Z_FULL_FLUSH);
    const QByteArray repeated = block(Z_FULL_FLUSH);
    for (int i = 2; i < megabytes; ++i)
        result += repeated;
    result += block(Z_FINISH);
    deflateEnd(&stream);
    return result;
}

inline QByteArray withAttachments(const QList<Attachment>& files) {
    QList<QByteArray> objects;
    QByteArray names;
    for (qsizetype i = 0; i < files.size(); ++i)
        names += '(' + files.at(i).name + ") " + QByteArray::number(3 + 2 * i) + " 0 R ";
    objects.append("<< /Type /Catalog /Pages 2 0 R /Names << /EmbeddedFiles << /Names [" + names +
                   "] >> >> >>");
    objects.append("<< /Type /Pages /Kids [] /Count 0 >>");
    for (qsizetype i = 0; i < files.size(); ++i) {
        const Attachment& file = files.at(i);
        objects.append("<< /Type /Filespec /F (" + file.name + ") /UF (" + file.name + ") /EF << /F " +
                       QByteArray::number(4 + 2 * i) + " 0 R >> >>");
        objects.append("<< /Type /EmbeddedFile /Length " + QByteArray::number(file.stream.size()) + ' ' +
                       file.dictionary + " >>\nstream\n" + file.stream + "\nendstream");
    }
    QByteArray pdf = "%PDF-1.7\n";
    QByteArray offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const QByteArray count = QByteArray::number(objects.size() + 1);
    const QByteArray xref = QByteArray::number(pdf.size());
    return pdf + "xref\n0 " + count + "\n0000000000 65535 f \n" + offsets + "trailer\n<< /Size " + count +
           " /Root 1 0 R >>\nstartxref\n" + xref + "\n%%EOF\n";
}

} // namespace PdfBytes
