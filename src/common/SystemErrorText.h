#pragma once

#include <QString>

#include <system_error>

class QFileDevice;

// A failure the operating system reported, said in German ("Zugriff verweigert" for a refused write):
// the system's own words are English on most machines and never reach the user.
class SystemErrorText {
public:
    // The German text of an errno value.
    static QString ofErrno(int code);
    // The German text of the last failure of file, read from its error and the system's words it keeps.
    static QString of(const QFileDevice& file);
    static QString of(const std::error_code& error);
};
