#pragma once

class Dialogs;
class Outcome;
class QWidget;

// Tells that a booking or an estimate row was not saved, with the store's reason; or, when the connection
// broke while it was being saved and the outcome cannot be found out yet, that it may not be saved. The
// entry stays in the fields either way.
class NotSavedNotice {
public:
    static void show(Dialogs& dialogs, QWidget* parent, const Outcome& outcome);
};
