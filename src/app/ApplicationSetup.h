#pragma once

class QTranslator;

// What every start of the program sets up before its first window: the German locale, both as the
// program's default and as the system locale that Qt's own dialogs format dates and sizes with, the
// application name under which the settings are kept, Qt's German texts ("Ja", "Nein", "Abbrechen"), and
// the interface's font, Liberation Sans 9 pt (DejaVu Sans where it is missing).
class ApplicationSetup {
public:
    static constexpr int kFontPointSize = 9;

    // Call before the QApplication is made: Qt reads the system locale from the environment once, while
    // the application starts, whatever language the desktop speaks.
    static void prepareEnvironment();
    // Call once the QApplication exists; translator must live as long as the application.
    static void apply(QTranslator& translator);
};
