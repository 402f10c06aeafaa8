#include "PatternMatcher.h"

#include <QChar>

namespace {

// Pattern elements beyond the Unicode range, so that no character can be mistaken for a wildcard.
constexpr char32_t kAnyRun = 0xFFFFFFFFu;
constexpr char32_t kAnyOne = 0xFFFFFFFEu;

// Walks UTF-16 text code point by code point, folded.
class Utf16Cursor {
public:
    Utf16Cursor() = default;
    explicit Utf16Cursor(QStringView text) : m_pos(text.data()), m_end(text.data() + text.size()) {}
    bool atEnd() const { return m_pos == m_end; }
    char32_t next() {
        const char16_t high = static_cast<char16_t>(m_pos->unicode());
        ++m_pos;
        if (QChar::isHighSurrogate(high) && m_pos != m_end && m_pos->isLowSurrogate()) {
            const char32_t combined = QChar::surrogateToUcs4(high, static_cast<char16_t>(m_pos->unicode()));
            ++m_pos;
            return SameName::foldCodePoint(combined);
        }
        return SameName::foldCodePoint(high);
    }

private:
    const QChar* m_pos = nullptr;
    const QChar* m_end = nullptr;
};

// Walks UTF-8 text code point by code point, folded. A byte that starts no valid sequence stands for
// itself.
class Utf8Cursor {
public:
    Utf8Cursor() = default;
    Utf8Cursor(const unsigned char* text, int length) : m_pos(text), m_end(text + length) {}
    bool atEnd() const { return m_pos == m_end; }
    char32_t nextRaw() {
        const unsigned char lead = *m_pos++;
        if (lead < 0x80)
            return lead;
        int extra = 0;
        char32_t value = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            value = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            value = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            value = lead & 0x07;
        } else {
            return lead;
        }
        if (m_end - m_pos < extra)
            return lead;
        for (int i = 0; i < extra; ++i) {
            if ((m_pos[i] & 0xC0) != 0x80)
                return lead;
            value = (value << 6) | (m_pos[i] & 0x3F);
        }
        m_pos += extra;
        return value;
    }
    char32_t next() { return SameName::foldCodePoint(nextRaw()); }

private:
    const unsigned char* m_pos = nullptr;
    const unsigned char* m_end = nullptr;
};

template <typename Cursor> std::vector<char32_t> compile(Cursor pattern) {
    std::vector<char32_t> compiled;
    while (!pattern.atEnd()) {
        const char32_t c = pattern.next();
        compiled.push_back(c == U'*' ? kAnyRun : c == U'?' ? kAnyOne : c);
    }
    return compiled;
}

// Wildcard match with backtracking to the last '*' seen: linear for patterns with one '*', never
// worse than pattern length times text length.
template <typename Cursor> bool matchCompiled(const std::vector<char32_t>& pattern, Cursor text) {
    const std::size_t count = pattern.size();
    std::size_t p = 0;
    bool haveRun = false;
    std::size_t afterRun = 0;
    Cursor runText;
    while (!text.atEnd()) {
        if (p < count && pattern[p] == kAnyRun) {
            haveRun = true;
            afterRun = ++p;
            runText = text;
            continue;
        }
        if (p < count) {
            const Cursor before = text;
            const char32_t c = text.next();
            if (pattern[p] == kAnyOne || pattern[p] == c) {
                ++p;
                continue;
            }
            text = before;
        }
        if (!haveRun)
            return false;
        p = afterRun;
        runText.next();
        text = runText;
    }
    while (p < count && pattern[p] == kAnyRun)
        ++p;
    return p == count;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

bool PatternMatcher::matches(QStringView pattern, QStringView text) {
    return matchCompiled(compile(Utf16Cursor(pattern)), Utf16Cursor(text));
}

QString PatternMatcher::anywhere(const QString& userText) {
    return QLatin1Char('*') + userText + QLatin1Char('*');
}

QString PatternMatcher::fromLeft(const QString& userText) {
    return userText + QLatin1Char('*');
}

PatternMatcher::Compiled PatternMatcher::compileUtf8(const char* pattern, int length) {
    return compile(Utf8Cursor(reinterpret_cast<const unsigned char*>(pattern), length));
}

bool PatternMatcher::matchesUtf8(const Compiled& pattern, const char* text, int length) {
    return matchCompiled(pattern, Utf8Cursor(reinterpret_cast<const unsigned char*>(text), length));
}

void PatternMatcher::foldUtf8(const char* text, int length, std::string& folded) {
    folded.clear();
    Utf8Cursor cursor(reinterpret_cast<const unsigned char*>(text), length);
    while (!cursor.atEnd())
        appendUtf8(folded, cursor.next());
}
