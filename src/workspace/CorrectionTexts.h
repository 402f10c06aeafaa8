#pragma once

#include "AsLoaded.h"

#include <optional>
#include <QString>

// What the entry tab says about a booking taken back for correction, true to what became of the booking
// meanwhile, and the questions before an entry not booked is left.
class CorrectionTexts {
public:
    // The booking corrected as the file holds it now.
    using Original = AsLoaded::State;

    // The banner over "Buchen"; number: the booking's running number as shown.
    static QString banner(Original original, const QString& number);
    // Whether to book the correction before it is left; original: nullopt when it could not be read.
    static QString leaveQuestion(std::optional<Original> original, const QString& number);
    // Whether to book an entry typed or taken from an e-invoice (invoiceFile, else empty) before leaving.
    static QString unbookedQuestion(const QString& invoiceFile);
};
