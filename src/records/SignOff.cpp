#include "SignOff.h"

#include <array>

namespace {
struct Word {
    BookingState state;
    const char* word;
};
constexpr std::array<Word, 5> words{{{BookingState::Recorded, "erfasst"},
                                     {BookingState::FactuallyRight, "sachlich richtig"},
                                     {BookingState::Confirmed, "festgestellt"},
                                     {BookingState::Ordered, "angeordnet"},
                                     {BookingState::Paid, "bezahlt"}}};
} // namespace

QString stateWord(BookingState state) {
    for (const Word& each : words) {
        if (each.state == state)
            return QString::fromUtf8(each.word);
    }
    return QString();
}

std::optional<BookingState> stateOfWord(const QString& word) {
    const QString trimmed = word.trimmed();
    for (const Word& each : words) {
        if (trimmed == QLatin1String(each.word))
            return each.state;
    }
    return std::nullopt;
}
