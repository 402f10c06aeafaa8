#pragma once

#include "Outcome.h"
#include "PaymentRules.h"

class Session;

// Saves the base rate of interest and the day it applies from for every workstation, in one journaled
// transaction; on the server only a login with the right "verwalten" may.
class BaseRateOperation {
public:
    explicit BaseRateOperation(Session& session) : m_session(session) {}

    Outcome save(const BaseRate& rate);

private:
    Session& m_session;
};
