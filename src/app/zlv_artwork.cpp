// Build tool: draws the toolbar icons and traces the logo's word, and writes them as C++ data into the
// file given as the argument (see ArtworkData.h).

#include "ArtworkData.h"
#include "LogoWordOutline.h"
#include "ToolbarIconPainter.h"

#include <cstdio>
#include <QGuiApplication>
#include <QSaveFile>
#include <QTextStream>

namespace {
QString number(qreal value) {
    return QString::number(static_cast<float>(value), 'g', 7) + QLatin1Char('f');
}

void writeIcons(QTextStream& out) {
    out << "const quint32 kToolbarIconPixels[ToolbarIcons::kKindCount]"
           "[ToolbarIcons::kIconSize * ToolbarIcons::kIconSize] = {\n";
    for (int kind = 0; kind < ToolbarIcons::kKindCount; ++kind) {
        const QImage image = ToolbarIconPainter::image(static_cast<ToolbarIcons::Kind>(kind));
        out << "    {\n";
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
            out << "        ";
            for (int x = 0; x < image.width(); ++x)
                out << QStringLiteral("0x%1,").arg(row[x], 8, 16, QLatin1Char('0'));
            out << '\n';
        }
        out << "    },\n";
    }
    out << "};\n\n";
}

void writeOutline(QTextStream& out, const QPainterPath& outline) {
    out << "const OutlineElement kLogoWordOutline[] = {\n";
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element element = outline.elementAt(i);
        out << "    {QPainterPath::ElementType(" << int(element.type) << "), " << number(element.x) << ", "
            << number(element.y) << "},\n";
    }
    out << "};\n";
    out << "const int kLogoWordOutlineLength = " << outline.elementCount() << ";\n";
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: zlv_artwork <ArtworkData.cpp to write>\n");
        return 2;
    }
    QString error;
    const QPainterPath outline = LogoWordOutline::trace(&error);
    if (outline.isEmpty()) {
        std::fprintf(stderr, "zlv_artwork: %s\n", qPrintable(error));
        return 1;
    }
    QSaveFile file(args.at(1));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        std::fprintf(stderr, "zlv_artwork: %s: %s\n", qPrintable(args.at(1)), qPrintable(file.errorString()));
        return 1;
    }
    QTextStream out(&file);
    out << "// Written by zlv_artwork when the program is built; not to be edited.\n\n"
           "#include \"ArtworkData.h\"\n\n"
           "namespace ArtworkData {\n\n";
    writeIcons(out);
    writeOutline(out, outline);
    out << "\n} // namespace ArtworkData\n";
    out.flush();
    if (!file.commit()) {
        std::fprintf(stderr, "zlv_artwork: %s: %s\n", qPrintable(args.at(1)), qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
