#include "SystemErrorText.h"

#include <cerrno>
#include <cstring>
#include <QCoreApplication>
#include <QFileDevice>

namespace {
struct Known {
    int code;
    const char* text;
};

// The failures a clerk meets when writing or reading files, on the own disk or a shared folder.
constexpr Known kKnown[] = {
    {EACCES, "Zugriff verweigert"},
    {EPERM, "Zugriff verweigert"},
    {ENOENT, "Datei oder Ordner nicht vorhanden"},
    {ENOSPC, "Kein Speicherplatz mehr auf dem Datenträger"},
    {EDQUOT, "Der zugeteilte Speicherplatz ist ausgeschöpft"},
    {EFBIG, "Die Datei ist zu groß"},
    {EROFS, "Der Datenträger ist schreibgeschützt"},
    {EISDIR, "Der Name bezeichnet einen Ordner"},
    {ENOTDIR, "Ein Teil des Pfades ist kein Ordner"},
    {EEXIST, "Die Datei ist bereits vorhanden"},
    {ENAMETOOLONG, "Der Name ist zu lang"},
    {EBUSY, "Die Datei wird gerade verwendet"},
    {ETXTBSY, "Die Datei wird gerade verwendet"},
    {EMFILE, "Zu viele geöffnete Dateien"},
    {ENFILE, "Zu viele geöffnete Dateien"},
    {EIO, "Ein- oder Ausgabefehler des Datenträgers"},
    {EXDEV, "Die Datei kann nicht auf einen anderen Datenträger verschoben werden"},
    {ENOTEMPTY, "Der Ordner ist nicht leer"},
    {ESTALE, "Die Verbindung zum freigegebenen Ordner ist unterbrochen"},
    {EHOSTDOWN, "Die Verbindung zum freigegebenen Ordner ist unterbrochen"},
    {ETIMEDOUT, "Die Verbindung zum freigegebenen Ordner ist unterbrochen"},
};

// Whether the system's words for code, as the C library or Qt says them, stand in text.
bool mentions(const QString& text, int code) {
    const QString qtWords = qt_error_string(code);
    return (!qtWords.isEmpty() && text.contains(qtWords, Qt::CaseInsensitive)) ||
           text.contains(QString::fromLocal8Bit(std::strerror(code)), Qt::CaseInsensitive);
}
} // namespace

QString SystemErrorText::ofErrno(int code) {
    for (const Known& known : kKnown) {
        if (known.code == code)
            return QString::fromUtf8(known.text);
    }
    return QStringLiteral("Fehler %1 des Betriebssystems").arg(code);
}

QString SystemErrorText::of(const std::error_code& error) {
    return ofErrno(error.value());
}

QString SystemErrorText::of(const QFileDevice& file) {
    const QString words = file.errorString();
    for (const Known& known : kKnown) {
        if (mentions(words, known.code))
            return QString::fromUtf8(known.text);
    }
    // Qt's own words, in English or translated.
    for (const char* qtWords : {"Filename refers to a directory", "Is a directory"}) {
        if (words.contains(QString::fromLatin1(qtWords)) ||
            words.contains(QCoreApplication::translate("QSaveFile", qtWords)))
            return ofErrno(EISDIR);
    }
    switch (file.error()) {
    case QFileDevice::NoError:
        return QString();
    case QFileDevice::ReadError:
        return QStringLiteral("Lesefehler");
    case QFileDevice::WriteError:
        // A write cut short by the system reports no reason of its own.
        return QStringLiteral("Schreibfehler – ist der Datenträger voll?");
    case QFileDevice::ResourceError:
        return QStringLiteral("Zu wenig Speicherplatz oder Systemmittel");
    case QFileDevice::PermissionsError:
        return ofErrno(EACCES);
    case QFileDevice::TimeOutError:
        return QStringLiteral("Zeitüberschreitung");
    case QFileDevice::OpenError:
        return QStringLiteral("Die Datei kann nicht geöffnet werden");
    case QFileDevice::AbortError:
        return QStringLiteral("Der Vorgang wurde abgebrochen");
    case QFileDevice::RenameError:
    case QFileDevice::CopyError:
    case QFileDevice::RemoveError:
    case QFileDevice::PositionError:
    case QFileDevice::ResizeError:
    case QFileDevice::UnspecifiedError:
    case QFileDevice::FatalError:
        break;
    }
    return QStringLiteral("Die Datei kann nicht bearbeitet werden");
}
