#pragma once

#include "Money.h"
#include "Reading.h"
#include "Security.h"

#include <optional>
#include <QList>
#include <QString>

class Session;

// Reads the securities of a project per company and kind: what the order agrees, what was retained in
// cash, and each guarantee with its days; which are due back and which are missing.
class SecurityReading {
public:
    struct Line {
        QString company;
        // "Vertragserfüllung" or "Mängelansprüche".
        QString kind;
        // What the main order's terms agree for the kind; 0 where they agree nothing.
        Money agreed;
        // Retained in cash so far, releases taken off.
        Money retained;
        // The recorded security of the line; none on the line of a kind with no security recorded.
        std::optional<Security> security;
        // A recorded security whose day of return has come (on or before today) and that is not back.
        bool returnDue = false;
        // The agreed security is neither received as guarantee nor retained in full (for defects only
        // once the final payment is booked).
        bool missing = false;
    };

    // Every company and kind of the project with terms, retentions or securities, by company name, then
    // performance before defects, then in order of entry.
    static Reading<QList<Line>> ofProject(Session& session, const QString& projectId, int today);
};
