#pragma once

class Dialogs;
class QWidget;

// The question when the correction of a booking or estimate row cannot replace its original, because
// another workstation deleted or replaced that row meanwhile: book the entry as a new one?
class OriginalGoneQuestion {
public:
    enum class Kind { Booking, EstimateRow };
    // True when the user wants the entry booked as new; "Nein" is preselected, so that Enter never
    // books a payment twice that the other workstation may have corrected already.
    static bool bookAsNew(Dialogs& dialogs, QWidget* parent, Kind kind);
    // When another workstation changed the original meanwhile, nothing was stored: true when the user
    // wants its current state loaded into the entry fields in place of what was typed.
    static bool loadCurrent(Dialogs& dialogs, QWidget* parent, Kind kind);
};
