#include "ApplicationSetup.h"

#include <clocale>
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void ApplicationSetup::prepareEnvironment() {
    // LC_ALL outranks every other locale variable of the desktop. The C library gets the same locale, as
    // on any German desktop.
    qputenv("LC_ALL", "de_DE.UTF-8");
}

void ApplicationSetup::apply(QTranslator& translator) {
    QCoreApplication::setApplicationName(QStringLiteral("TalbrinZlv"));
    // No application display name: the platform would append it to every window title, and the titles
    // must read exactly as given (the updater finds the program by them).
    const QLocale german(QLocale::German, QLocale::Germany);
    QLocale::setDefault(german);
    // Numbers the C library reads and writes keep the point, whatever the desktop's language.
    std::setlocale(LC_NUMERIC, "C");
    // The interface looks the same on every machine: a fresh system may resolve the desktop's "sans-serif"
    // to a monospaced face.
    QFont font(QStringLiteral("Liberation Sans"), kFontPointSize);
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);
    if (translator.load(german, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}
