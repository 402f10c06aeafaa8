#pragma once

// How bookings are signed off, as the database keeps it (tblEinstellung): fourEyes (VierAugen) keeps the
// recorder from confirming and whoever recorded or confirmed from ordering; twoStep (ZweiStufig) confirms
// in two steps, "sachlich richtig" and "rechnerisch richtig", by different persons.
struct SignOffRules {
    bool fourEyes = false;
    bool twoStep = false;
};
