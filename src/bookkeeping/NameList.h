#pragma once

#include "NameEntryRepository.h"

// The two name lists of the presets: the trades and the cost groups.
enum class NameList { Trades, CostGroups };

// Where the store keeps list; for the operations and readings of this layer.
inline NameEntryRepository::Table tableOf(NameList list) {
    return list == NameList::Trades ? NameEntryRepository::Table::Trades
                                    : NameEntryRepository::Table::CostGroups;
}
