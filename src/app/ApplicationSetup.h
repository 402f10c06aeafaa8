#pragma once

class QTranslator;

// What every start of the program sets up before its first window: the application name under which
// the settings are kept, the German locale and Qt's German texts ("Ja", "Nein", "Abbrechen").
class ApplicationSetup {
public:
    // translator must live as long as the application.
    static void apply(QTranslator& translator);
};
