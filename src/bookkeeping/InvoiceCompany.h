#pragma once

#include "Company.h"
#include "Outcome.h"

class Session;

// Puts the seller of an e-invoice into the company register, so that its invoice can be booked.
class InvoiceCompany {
public:
    explicit InvoiceCompany(Session& session) : m_session(session) {}
    // Adds company; its identity on success.
    Outcome create(const Company& company);

private:
    Session& m_session;
};
